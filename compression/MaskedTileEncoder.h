#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace drovak {

// Encodes data as a masked-tile stream: one record per 32-byte tile (a last, shorter tile is
// padded with zero bytes), then the end marker 0x80. A byte value that fills more than five
// places of a tile gets a mask entry (5 bytes); the other bytes follow as literals, so no
// record is longer than the tile itself plus its count byte.
std::vector<uint8_t> MaskedTileEncode(std::span<const uint8_t> data);

} // namespace drovak
