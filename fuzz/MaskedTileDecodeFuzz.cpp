// MaskedTileDecode on arbitrary bytes: the first byte is the offset to decode from, the rest is
// the source. The output is bounded by the input (each record takes at least its count byte).
#include "base/Stream.h"
#include "compression/MaskedTile.h"
#include "compression/MaskedTileEncoder.h"
#include "fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint32_t offset = data[0];
    const std::span<const uint8_t> bytes(data + 1, size - 1);

    drovak::ViewStream source(bytes, "fuzz");
    drovak::MemoryStream tiles;
    drovak::MaskedTileDecode(source, tiles, offset);
    FUZZ_CHECK(tiles.Size() % 32 == 0);
    const size_t left = offset < bytes.size() ? bytes.size() - offset : 0;
    FUZZ_CHECK(tiles.Size() / 32 <= left);
    FUZZ_CHECK(source.Size() == bytes.size()); // the source is not grown

    // The encoder's stream of those tiles decodes back to them, ending at its marker.
    const std::vector<uint8_t> encoded = drovak::MaskedTileEncode(tiles.Data());
    FUZZ_CHECK(encoded.size() <= tiles.Size() / 32 * 33 + 1);
    drovak::ViewStream again(encoded, "encoded");
    drovak::MemoryStream redecoded;
    drovak::MaskedTileDecode(again, redecoded, 0);
    FUZZ_CHECK(redecoded.Data() == tiles.Data());
    FUZZ_CHECK(again.Position() == encoded.size());
    return 0;
}
