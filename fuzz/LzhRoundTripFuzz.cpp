// LZHUF round trip: any data encodes to a stream that decodes to exactly that data, long runs
// and long varied data included (up to 48 KiB, past the model's rebuilds, yet fast).
#include "compression/Lzh.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/RunsInput.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> input = drovak::fuzz::RunsInput(data, size, 48 * 1024);
    const std::vector<uint8_t> packed = drovak::LzhEncode(input);
    if (input.empty()) {
        FUZZ_CHECK(packed.empty());
        return 0;
    }
    // A literal takes at most 9 bits after a few symbols; every item at least one bit.
    FUZZ_CHECK(packed.size() <= input.size() * 2 + 8);

    // The encoder cuts its last match to the bytes that remain: nothing past the input.
    FUZZ_CHECK(drovak::LzhDecode(packed, uint32_t(input.size())).bytes == input);
    return 0;
}
