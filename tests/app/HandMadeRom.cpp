#include "HandMadeRom.h"

#include "compression/ByteOrder.h"
#include "compression/Lzh.h"
#include "compression/Rle.h"
#include "compression/Stream.h"
#include "rom/PointerTable.h"

#include <algorithm>

namespace handmade {

Bytes LzhPacked(const Bytes& data) {
    drovak::MemoryStream source(data);
    drovak::MemoryStream packed;
    drovak::LzhEncode(source, packed, static_cast<uint32_t>(data.size()));
    return packed.Take();
}

Bytes RlePacked(const Bytes& data) {
    drovak::MemoryStream source(data);
    drovak::MemoryStream packed;
    drovak::RleEncode(source, packed, static_cast<uint32_t>(data.size()));
    return packed.Take();
}

Bytes RomWithTable(uint32_t size, uint32_t table, const std::vector<Bytes>& contents) {
    Bytes rom(size, 0);
    uint32_t offset = drovak::TABLE_LEADING_WORD_SIZE +
                      drovak::TABLE_ENTRY_SIZE * static_cast<uint32_t>(contents.size());
    for (size_t i = 0; i < contents.size(); ++i) {
        const Bytes packed = LzhPacked(contents[i]);
        const uint32_t field = drovak::EntryPosition(table, static_cast<uint32_t>(i));
        drovak::StoreBigEndian32(&rom[field], offset);
        drovak::StoreBigEndian32(&rom[field + 4], static_cast<uint32_t>(contents[i].size()));
        drovak::StoreBigEndian32(&rom[field + 8], static_cast<uint32_t>(packed.size()));
        PutBytes(rom, table + offset, packed);
        offset += static_cast<uint32_t>(packed.size());
    }
    return rom;
}

void PutPalette(Bytes& rom, uint32_t offset, const std::vector<uint16_t>& words) {
    for (size_t i = 0; i < 64; ++i) {
        drovak::StoreBigEndian16(&rom[offset + 2 * i], i < words.size() ? words[i] : 0);
    }
}

void PutBytes(Bytes& rom, uint32_t offset, const Bytes& bytes) {
    if (rom.size() < offset + bytes.size()) rom.resize(offset + bytes.size());
    std::copy(bytes.begin(), bytes.end(), rom.begin() + offset);
}

Bytes TwoColourTiles(unsigned topTiles, unsigned tileCount) {
    Bytes tiles(size_t(tileCount) * 32);
    for (unsigned tile = 0; tile < tileCount; ++tile) {
        std::fill_n(tiles.begin() + tile * 32, 32, tile < topTiles ? 0x11 : 0x22);
    }
    return tiles;
}

Bytes Pattern(size_t length, uint8_t seed) {
    Bytes bytes(length);
    uint32_t state = seed * 2654435761u + 1;
    for (size_t i = 0; i < length; ++i) {
        state = state * 1103515245u + 12345u;
        // Runs and repeats mixed with noise, as real data has.
        bytes[i] = (i / 7) % 3 == 0 ? uint8_t(state >> 24) : uint8_t((i / 5) * seed);
    }
    return bytes;
}

Bytes Noise(size_t length, uint8_t seed) {
    Bytes bytes(length);
    uint32_t state = seed + 17u;
    for (uint8_t& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = uint8_t(state >> 24);
    }
    return bytes;
}

} // namespace handmade
