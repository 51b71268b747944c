#include "compression/MaskedTile.h"

#include "base/ByteOrder.h"

#include <array>

namespace drovak {

namespace {

constexpr size_t TILE_SIZE = 32;
constexpr int END_MARKER_MIN = 0x80;
constexpr size_t MASK_ENTRY_SIZE = 5; // value byte, then a 32-bit big-endian mask

// Reads exactly count bytes; false when the source ends first.
bool ReadAll(Stream& source, uint8_t* buffer, size_t count) {
    size_t got = 0;
    while (got < count) {
        size_t n = source.Read(buffer + got, count - got);
        if (n == 0) return false;
        got += n;
    }
    return true;
}

} // namespace

void MaskedTileDecode(Stream& source, Stream& destination, uint32_t offset) {
    // Seeking a memory stream past its end would grow it; there is nothing to decode there.
    if (offset >= source.Size()) return;
    source.Seek(offset, SeekOrigin::Begin);

    std::array<uint8_t, TILE_SIZE> tile{};
    std::array<uint8_t, 0x7F * MASK_ENTRY_SIZE> entries{};
    std::array<uint8_t, TILE_SIZE> literals{};
    for (;;) {
        int count = source.ReadByte();
        if (count < 0 || count >= END_MARKER_MIN) return;

        size_t entryBytes = size_t(count) * MASK_ENTRY_SIZE;
        if (!ReadAll(source, entries.data(), entryBytes)) return;
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
        if (!ReadAll(source, literals.data(), literalCount)) return;
        size_t next = 0;
        for (size_t k = 0; k < TILE_SIZE; ++k) {
            if (!(coverage & (0x80000000u >> k))) tile[k] = literals[next++];
        }
        destination.Write(tile.data(), tile.size());
    }
}

} // namespace drovak
