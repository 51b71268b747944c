// LzhDecode on arbitrary bytes: the first two bytes are the decoded size (so at most 64 KiB is
// asked for), the rest is the stream.
#include "compression/Lzh.h"
#include "fuzz/FuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

std::vector<uint8_t> Decode(std::span<const uint8_t> stream, uint32_t decodedSize) {
    drovak::LzhDecodeResult decoded = drovak::LzhDecode(stream, decodedSize, "fuzz");
    // What the decoder reads lies within the source, however far past its end it reads on.
    FUZZ_CHECK(decoded.consumed <= stream.size());
    return std::move(decoded.bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint32_t decodedSize = uint32_t(data[0]) << 8 | data[1];
    const std::span<const uint8_t> stream(data + 2, size - 2);

    const std::vector<uint8_t> decoded = Decode(stream, decodedSize);
    // Nothing for size 0; otherwise whole items up to the first boundary at or past the size.
    if (decodedSize == 0) {
        FUZZ_CHECK(decoded.empty());
        return 0;
    }
    FUZZ_CHECK(decoded.size() >= decodedSize && decoded.size() <= decodedSize + 59);

    // Decoding less gives a beginning of the same bytes: items don't depend on the size asked.
    const std::vector<uint8_t> half = Decode(stream, decodedSize / 2);
    FUZZ_CHECK(half.size() <= decoded.size());
    FUZZ_CHECK(std::equal(half.begin(), half.end(), decoded.begin()));
    return 0;
}
