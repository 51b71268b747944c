// RLE round trip: any data encodes to a block that decodes to the data padded with zero bytes to
// a multiple of 4, and the decoder takes exactly the block's bytes. The encoder refuses exactly
// the data that holds a run of more than 131,072 equal nibbles (the runs form reaches them).
#include "compression/Rle.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/RunsInput.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// The longest run of equal nibbles, high nibble of each byte first (a byte of two equal nibbles
// that go on the run adds two at once).
size_t LongestNibbleRun(const std::vector<uint8_t>& bytes) {
    size_t longest = 0, run = 0;
    int last = -1;
    for (uint8_t byte : bytes) {
        if (byte == last * 0x11) {
            run += 2;
        } else {
            for (int nibble : {byte >> 4, byte & 0x0F}) {
                run = nibble == last ? run + 1 : 1;
                last = nibble;
                longest = std::max(longest, run);
            }
        }
        longest = std::max(longest, run);
    }
    return longest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> input = drovak::fuzz::RunsInput(data, size, 80 * 1024);
    std::vector<uint8_t> padded = input;
    padded.resize((input.size() + 3) / 4 * 4, 0);

    const drovak::RleEncodeResult result = drovak::RleEncode(input);
    FUZZ_CHECK(result.unsupportedRepeatCount.has_value() == (LongestNibbleRun(input) > 131072));
    if (result.unsupportedRepeatCount) return 0;

    const drovak::RleDecodeResult decoded = drovak::RleDecode(result.bytes, 0);
    FUZZ_CHECK(decoded.consumed == result.bytes.size());
    FUZZ_CHECK(decoded.bytes == padded);
    return 0;
}
