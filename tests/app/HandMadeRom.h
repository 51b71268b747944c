#pragma once
// Small ROM images made for the window tests.
#include "compression/ByteOrder.h"
#include "compression/Lzh.h"
#include "compression/Rle.h"
#include "compression/Stream.h"
#include "rom/PointerTable.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace handmade {

using Bytes = std::vector<uint8_t>;

template <class Encoder> Bytes Packed(Encoder encode, const Bytes& data) {
    drovak::MemoryStream source(data), packed;
    encode(source, packed, static_cast<uint32_t>(data.size()));
    return packed.Take();
}
inline Bytes LzhPacked(const Bytes& data) {
    return Packed(drovak::LzhEncode, data);
}
inline Bytes RlePacked(const Bytes& data) {
    return Packed(drovak::RleEncode, data);
}

inline void PutBytes(Bytes& rom, uint32_t offset, const Bytes& bytes) {
    if (rom.size() < offset + bytes.size()) rom.resize(offset + bytes.size());
    std::copy(bytes.begin(), bytes.end(), rom.begin() + offset);
}

// `size` zero bytes with a pointer table at `table` whose entries hold the LZHUF streams of
// `contents`, one right behind the other after the table; colours 1 and 2 of the preview
// palette at `palette` red and blue.
inline Bytes RomWithTable(uint32_t size, uint32_t table, const std::vector<Bytes>& contents,
                          uint32_t palette) {
    Bytes rom(size, 0);
    uint32_t offset = drovak::TABLE_LEADING_WORD_SIZE +
                      drovak::TABLE_ENTRY_SIZE * static_cast<uint32_t>(contents.size());
    for (uint32_t i = 0; i < contents.size(); ++i) {
        const Bytes packed = LzhPacked(contents[i]);
        uint8_t* field = &rom[drovak::EntryPosition(table, i)];
        drovak::StoreBigEndian32(field, offset);
        drovak::StoreBigEndian32(field + 4, static_cast<uint32_t>(contents[i].size()));
        drovak::StoreBigEndian32(field + 8, static_cast<uint32_t>(packed.size()));
        PutBytes(rom, table + offset, packed);
        offset += static_cast<uint32_t>(packed.size());
    }
    drovak::StoreBigEndian16(&rom[palette + 2], 0x000E);
    drovak::StoreBigEndian16(&rom[palette + 4], 0x0E00);
    return rom;
}

// A 512 x 224 tile sheet (1792 tiles): the first `topTiles` all pixel value 1, the others 2.
inline Bytes TwoColourTiles(unsigned topTiles) {
    Bytes tiles(1792 * 32, 0x22);
    std::fill_n(tiles.begin(), topTiles * 32, 0x11);
    return tiles;
}

// Bytes from a seed: with `repeats`, runs and repeats mixed with noise as real data has;
// without, noise that packs larger than the same length with repeats.
inline Bytes Pattern(size_t length, uint8_t seed, bool repeats = true) {
    Bytes bytes(length);
    uint32_t state = seed * 2654435761u + 1;
    for (size_t i = 0; i < length; ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = repeats && (i / 7) % 3 != 0 ? uint8_t((i / 5) * seed) : uint8_t(state >> 24);
    }
    return bytes;
}

} // namespace handmade
