// MaskedTileDecode on arbitrary bytes: the first byte is the offset to decode from, the rest is
// the source. The output is bounded by the input (each record takes at least its count byte).
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

    const std::vector<uint8_t> tiles = drovak::MaskedTileDecode(bytes, offset);
    FUZZ_CHECK(tiles.size() % 32 == 0);
    const size_t left = offset < bytes.size() ? bytes.size() - offset : 0;
    FUZZ_CHECK(tiles.size() / 32 <= left);

    // The encoder's stream of those tiles decodes back to them, ending at its marker: what
    // follows the marker is not read.
    std::vector<uint8_t> encoded = drovak::MaskedTileEncode(tiles);
    FUZZ_CHECK(encoded.size() <= tiles.size() / 32 * 33 + 1);
    encoded.push_back(0x01);
    FUZZ_CHECK(drovak::MaskedTileDecode(encoded, 0) == tiles);
    return 0;
}
