// libFuzzer entry for one property check, chosen at build time by FUZZ_CHECK. A failed
// property aborts, so the fuzzer keeps the input that shows it.
#include <cstdio>
#include <cstdlib>

#include "NumberTextProperties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, std::size_t Size)
{
    const std::string Fault = FUZZ_CHECK(Data, Size);
    if (!Fault.empty()) {
        std::fprintf(stderr, "property failed: %s\n", Fault.c_str());
        std::abort();
    }
    return 0;
}
