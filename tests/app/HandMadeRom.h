#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Small ROM images made for the window tests.
namespace handmade {

using Bytes = std::vector<uint8_t>;

Bytes LzhPacked(const Bytes& data);
Bytes RlePacked(const Bytes& data);

// `size` zero bytes with a pointer table at `table` whose entries hold the LZHUF streams of
// `contents`, one right behind the other after the table.
Bytes RomWithTable(uint32_t size, uint32_t table, const std::vector<Bytes>& contents);

// Puts 64 colour words at `offset`: colour i is words[i] (the rest 0).
void PutPalette(Bytes& rom, uint32_t offset, const std::vector<uint16_t>& words);
void PutBytes(Bytes& rom, uint32_t offset, const Bytes& bytes);

// A 512 x 224 tile sheet (1792 tiles): tiles of the first `topTiles` all pixel value 1, the
// others all pixel value 2.
Bytes TwoColourTiles(unsigned topTiles, unsigned tileCount = 1792);

// Bytes that are not all alike, of the given length (a pattern from the seed).
Bytes Pattern(size_t length, uint8_t seed);
// Bytes with no repeats to speak of: they pack larger than Pattern of the same length.
Bytes Noise(size_t length, uint8_t seed);

} // namespace handmade
