#pragma once

#include "graphics/Level.h"
#include "graphics/Renderer.h"

#include <cstdint>
#include <vector>

namespace drovak {

// The drawings a level's maps take as their tilesets.

// Plane A's or Plane B's 256 blocks, 16 a row (512 x 512 pixels), each block drawn as the level
// viewer draws it (its 4 x 4 words masked as the viewer masks them, with the level's palette;
// words past the block data drawn as zero words).
constexpr unsigned BLOCKS_PER_PLANE = 256;
constexpr unsigned BLOCK_TILESET_COLUMNS = 16;
PreviewImage DrawPlaneBlocks(const LevelData& level, bool planeB);

// Name-table indices 0 to 511 of the level's tile art, 32 a row (256 x 128 pixels), each drawn
// as the renderer draws a word of that index on palette line `line` (indices 496 to 511 taking
// the tile 16 further on; tiles past the art's end black).
constexpr unsigned ART_TILESET_TILES = 512;
constexpr unsigned ART_TILESET_COLUMNS = 32;
PreviewImage DrawArtLine(const LevelData& level, unsigned line);

// A drawing as an 8-bit RGBA PNG file's bytes: alpha 255 everywhere or, with blackClear, alpha
// 0 where the colour is pure black, as level-png writes it.
std::vector<uint8_t> DrawingPng(const PreviewImage& image, bool blackClear);

} // namespace drovak
