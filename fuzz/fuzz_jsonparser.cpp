// libFuzzer target: any bytes through the JSON parser and its cursor queries.
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    vesk::fuzz::RequireClean(vesk::fuzz::CheckJsonParser(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
