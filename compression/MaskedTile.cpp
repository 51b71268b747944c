#include "compression/MaskedTile.h"

#include "base/ByteOrder.h"

#include <array>

namespace drovak {

namespace {

constexpr size_t TILE_SIZE = 32;
constexpr int END_MARKER_MIN = 0x80;
constexpr size_t MASK_ENTRY_SIZE = 5; // value byte, then a 32-bit big-endian mask

// The bytes of a source from a position on.
struct Reader {
    std::span<const uint8_t> source;
    size_t at = 0;

    // The next byte, or -1 at the end.
    int Byte() { return at < source.size() ? source[at++] : -1; }
    // The next count bytes, or nullptr (and nothing taken) when the source ends first.
    const uint8_t* Take(size_t count) {
        if (source.size() - at < count) return nullptr;
        at += count;
        return source.data() + at - count;
    }
};

} // namespace

std::vector<uint8_t> MaskedTileDecode(std::span<const uint8_t> source, uint32_t offset) {
    std::vector<uint8_t> tiles;
    if (offset >= source.size()) return tiles;
    Reader in{source, offset};
    std::array<uint8_t, TILE_SIZE> tile{};
    for (;;) {
        int count = in.Byte();
        if (count < 0 || count >= END_MARKER_MIN) return tiles;

        const size_t entryBytes = size_t(count) * MASK_ENTRY_SIZE;
        const uint8_t* entries = in.Take(entryBytes);
        if (entries == nullptr) return tiles;
        uint32_t coverage = 0;
        for (size_t e = 0; e < entryBytes; e += MASK_ENTRY_SIZE) {
            uint8_t value = entries[e];
            uint32_t mask = LoadBigEndian32(&entries[e + 1]);
            coverage |= mask;
            // Bit 31 stands for tile byte 0; a later entry overwrites an earlier one.
            for (size_t k = 0; k < TILE_SIZE; ++k) {
                if (mask & (0x80000000u >> k)) tile[k] = value;
            }
        }

        // The uncovered bytes follow as literals, in tile order.
        size_t literalCount = 0;
        for (size_t k = 0; k < TILE_SIZE; ++k) {
            if (!(coverage & (0x80000000u >> k))) ++literalCount;
        }
        const uint8_t* literals = in.Take(literalCount);
        if (literals == nullptr) return tiles;
        size_t next = 0;
        for (size_t k = 0; k < TILE_SIZE; ++k) {
            if (!(coverage & (0x80000000u >> k))) tile[k] = literals[next++];
        }
        tiles.insert(tiles.end(), tile.begin(), tile.end());
    }
}

} // namespace drovak
