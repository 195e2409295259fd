// libFuzzer target: any bytes read as a project text, written and read again.
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    vesk::fuzz::RequireClean(
        vesk::fuzz::CheckResourceText(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
