// RleDecode on arbitrary bytes. The header's length is taken modulo 64 KiB so that runs stay
// fast; everything else is as the fuzzer made it.
#include "base/Errors.h"
#include "compression/Rle.h"
#include "fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> block(data, data + size);
    if (block.size() >= 2) block[0] = block[1] = 0;
    const uint32_t announced = block.size() >= 4 ? uint32_t(block[2]) << 8 | block[3] : uint32_t(0);

    drovak::RleDecodeResult decoded;
    try {
        decoded = drovak::RleDecode(block, 0, "fuzz");
    } catch (const drovak::FileError&) {
        return 0; // the block ends before the output is complete
    }
    const uint32_t consumed = decoded.consumed;
    FUZZ_CHECK(block.size() >= 4 && consumed >= 4 && consumed <= block.size());
    FUZZ_CHECK(decoded.bytes.size() == announced / 4 * 4);

    // The block's own bytes are all the decoder reads: cut there, it decodes the same; placed
    // further on in a source, too.
    {
        const std::vector<uint8_t> cut(block.begin(), block.begin() + consumed);
        const drovak::RleDecodeResult again = drovak::RleDecode(cut, 0, "fuzz");
        FUZZ_CHECK(again.consumed == consumed && again.bytes == decoded.bytes);
        std::vector<uint8_t> later(3, 0xAB);
        later.insert(later.end(), cut.begin(), cut.end());
        const drovak::RleDecodeResult moved = drovak::RleDecode(later, 3, "fuzz");
        FUZZ_CHECK(moved.consumed == consumed && moved.bytes == decoded.bytes);
    }

    // Encoding the output gives it back, and in no more bytes than the block took: every run
    // is written in its shortest form, and neighbouring runs of one value are joined.
    const drovak::RleEncodeResult result = drovak::RleEncode(decoded.bytes);
    FUZZ_CHECK(!result.unsupportedRepeatCount);
    FUZZ_CHECK(result.bytes.size() <= consumed);
    const drovak::RleDecodeResult redecoded = drovak::RleDecode(result.bytes, 0);
    FUZZ_CHECK(redecoded.consumed == result.bytes.size());
    FUZZ_CHECK(redecoded.bytes == decoded.bytes);
    return 0;
}
