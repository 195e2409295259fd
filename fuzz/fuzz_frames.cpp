// libFuzzer target: any bytes, in pieces, through the frame scanner and a command connection.
#include "link_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    vesk::fuzz::RequireCleanLink(
        vesk::fuzz::CheckCommandBytes(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
