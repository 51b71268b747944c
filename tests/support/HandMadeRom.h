#pragma once
// Small ROM images made for the window and command-line tests.
#include "base/ByteOrder.h"
#include "base/Stream.h"
#include "compression/Lzh.h"
#include "compression/Rle.h"
#include "rom/PointerTable.h"
#include "rom/RomLayout.h"
#include "support/TestSupport.h"

#include <algorithm>

namespace handmade {

using drovak::test::Bytes;
using drovak::test::Put;

inline Bytes Packed(const Bytes& data, bool rle) {
    return rle ? drovak::RleEncode(data).bytes : drovak::LzhEncode(data);
}

// An image of `size` bytes (0x5A080 by default), zero but for colours 1 (red) and 2 (blue) of
// the preview palette (when it reaches that far) and a pointer table at `table` whose entries
// hold the LZHUF streams of `contents`, one right behind the other after the table.
inline Bytes MakeRom(uint32_t table = 0, const std::vector<Bytes>& contents = {},
                     size_t size = 0x5A080) {
    Bytes rom(size, 0);
    if (size >= drovak::PREVIEW_PALETTE_OFFSET + 6) {
        drovak::StoreBigEndian16(&rom[drovak::PREVIEW_PALETTE_OFFSET + 2], 0x000E);
        drovak::StoreBigEndian16(&rom[drovak::PREVIEW_PALETTE_OFFSET + 4], 0x0E00);
    }
    uint32_t offset = drovak::TABLE_LEADING_WORD_SIZE +
                      drovak::TABLE_ENTRY_SIZE * static_cast<uint32_t>(contents.size());
    for (uint32_t i = 0; i < contents.size(); ++i) {
        const Bytes packed = Packed(contents[i], false);
        uint8_t* field = &rom[drovak::EntryPosition(table, i)];
        drovak::StoreBigEndian32(field, offset);
        drovak::StoreBigEndian32(field + 4, static_cast<uint32_t>(contents[i].size()));
        drovak::StoreBigEndian32(field + 8, static_cast<uint32_t>(packed.size()));
        Put(rom, table + offset, packed);
        offset += static_cast<uint32_t>(packed.size());
    }
    return rom;
}

// A 512 x 224 tile sheet (1792 tiles): the first `topTiles` all pixel value 1, the others 2.
inline Bytes TwoColourTiles(unsigned topTiles) {
    Bytes tiles(1792 * 32, 0x22);
    std::fill_n(tiles.begin(), topTiles * 32, 0x11);
    return tiles;
}

// Bytes with no repeats to speak of: they pack larger than any data with runs.
inline Bytes Noise(size_t length, uint32_t seed) {
    Bytes bytes(length);
    for (uint8_t& byte : bytes) byte = uint8_t((seed = seed * 1103515245u + 12345u) >> 24);
    return bytes;
}

} // namespace handmade
