// RleDecode on arbitrary bytes. The header's length is taken modulo 64 KiB so that runs stay
// fast; everything else is as the fuzzer made it.
#include "base/Errors.h"
#include "base/Stream.h"
#include "compression/Rle.h"
#include "fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> block(data, data + size);
    if (block.size() >= 2) block[0] = block[1] = 0;
    const uint32_t announced = block.size() >= 4 ? uint32_t(block[2]) << 8 | block[3] : uint32_t(0);

    drovak::MemoryStream decoded;
    int32_t consumed = 0;
    {
        drovak::ViewStream source(block, "fuzz");
        try {
            consumed = drovak::RleDecode(source, decoded);
        } catch (const drovak::FileError&) {
            // The block ends before the output is complete: nothing is written.
            FUZZ_CHECK(decoded.Size() == 0);
            return 0;
        }
        FUZZ_CHECK(source.Position() == uint64_t(consumed));
    }
    FUZZ_CHECK(block.size() >= 4 && consumed >= 4 && uint64_t(consumed) <= block.size());
    FUZZ_CHECK(decoded.Size() == announced / 4 * 4);

    // The block's own bytes are all the decoder reads: cut there, it decodes the same.
    {
        std::vector<uint8_t> cut(block.begin(), block.begin() + consumed);
        drovak::ViewStream source(cut, "fuzz");
        drovak::MemoryStream again;
        FUZZ_CHECK(drovak::RleDecode(source, again) == consumed);
        FUZZ_CHECK(again.Data() == decoded.Data());
    }

    // Encoding the output gives it back, and in no more bytes than the block took: every run
    // is written in its shortest form, and neighbouring runs of one value are joined.
    drovak::MemoryStream source(decoded.Data());
    drovak::MemoryStream encoded;
    const drovak::RleEncodeResult result =
        drovak::RleEncode(source, encoded, uint32_t(decoded.Size()));
    FUZZ_CHECK(!result.unsupportedRepeatCount);
    FUZZ_CHECK(result.size <= consumed);
    encoded.Seek(0, drovak::SeekOrigin::Begin);
    drovak::MemoryStream redecoded;
    FUZZ_CHECK(drovak::RleDecode(encoded, redecoded) == result.size);
    FUZZ_CHECK(redecoded.Data() == decoded.Data());
    return 0;
}
