// LZHUF round trip: any data encodes to a stream that decodes to exactly that data, long runs
// and long varied data included (up to 48 KiB, past the model's rebuilds, yet fast).
#include "base/Stream.h"
#include "compression/Lzh.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/RunsInput.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> input = drovak::fuzz::RunsInput(data, size, 48 * 1024);
    drovak::MemoryStream source(input);
    drovak::MemoryStream packed;
    drovak::LzhEncode(source, packed, uint32_t(input.size()));
    if (input.empty()) {
        FUZZ_CHECK(packed.Size() == 0);
        return 0;
    }
    // A literal takes at most 9 bits after a few symbols; every item at least one bit.
    FUZZ_CHECK(packed.Size() <= input.size() * 2 + 8);

    packed.Seek(0, drovak::SeekOrigin::Begin);
    drovak::MemoryStream decoded;
    drovak::LzhDecode(packed, decoded, uint32_t(input.size()));
    // The encoder cuts its last match to the bytes that remain: nothing past the input.
    FUZZ_CHECK(decoded.Data() == input);
    return 0;
}
