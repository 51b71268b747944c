#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace drovak::demo {

// The tiles of a level's art: 528, so that name-table indices 496..511 reach tiles 512..527.
constexpr size_t LEVEL_TILE_COUNT = 528;

// Where the demo level tiles lie: name-table indices (the data of indices 496..511 is 16 tiles
// further on).
namespace level_tile {
constexpr uint16_t EMPTY = 0;
// Tiles 1..15 are solid tiles of pixel value 1..15.
constexpr uint16_t BRICK = 16, GRASS = 17, DIRT = 18, GROUND_SLOPE = 19, MOUNTAIN_SLOPE = 20;
// The top-left quarter of a 32 x 32 disc (2 x 2 tiles); the rest is drawn with flips.
constexpr uint16_t DISC = 21;
// A 16 x 16 arrow pointing left (2 x 2 tiles); drawn flipped it points right.
constexpr uint16_t ARROW = 25;
// The top-left quarter of a round cloud end (2 x 2 tiles) on the second sky band, and the top
// edge of a cloud's straight middle part (flipped vertically, its bottom edge).
constexpr uint16_t CLOUD = 29, CLOUD_EDGE = 33;
// A bevelled 16 x 16 square (2 x 2 tiles), the pixel of the big lettering.
constexpr uint16_t LETTER = 34;
// 16 x 16 characters (2 x 2 tiles each) "SCRNLV0123456789".
constexpr uint16_t CHARACTERS = 38;
// The characters "DEMO", at the indices that take their data 16 tiles further on.
constexpr uint16_t SHIFTED_CHARACTERS = 496;
} // namespace level_tile

// The first of the four tiles of a 16 x 16 character (top-left, top-right, bottom-left,
// bottom-right); 0 for a character the level font lacks.
uint16_t CharacterTile(char c);

// The 528 tiles of a level's art; tile data 496..511, which no name-table index reaches, is a
// red and yellow hatch that shows up when that rule is broken.
std::vector<uint8_t> MakeLevelTileArt(unsigned level);

} // namespace drovak::demo
