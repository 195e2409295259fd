// libFuzzer target: any bytes, in pieces, through an HTTP connection serving a project folder.
#include "link_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    vesk::fuzz::RequireCleanLink(
        vesk::fuzz::CheckHttpBytes(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
