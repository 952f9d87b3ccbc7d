// Feeds arbitrary bytes to the code-signature reader as an executable's contents.
#include "platform/CodeSignature.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    (void)platform::CodeSignature::entitlementsIn(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
