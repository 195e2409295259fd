// libFuzzer target: any bytes pasted into a project as the clipboard's text.
#include "document_targets.h"
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    vesk::fuzz::RequireClean(vesk::fuzz::CheckPasteText(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
