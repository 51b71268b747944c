#pragma once

#include "mod/TmxMap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace drovak {

// A level's layout as a map: 512 x 16 cells of 32 x 32 pixels, the layers "Plane A" (column k,
// row r: the block number at 0x4000 + 16k + r of the level's block data) and "Plane B" (rows 0
// to 7 from 0x6000 + 8k + r; rows 8 to 15 empty), the tilesets Plane A's 256 blocks, then
// Plane B's. And its blocks as a map: 64 x 128 cells of 8 x 8 pixels, Plane A's block n over
// cells 4(n mod 16) to +3, 4(n div 16) to +3 (its 4 x 4 words, top row first), Plane B's 64
// rows lower; a word in the layer "Low" when its priority bit is clear, "High" when set; the
// tilesets the tile art on palette lines 0 to 3, 512 tiles each; a word's gid is
// firstgid(line) + index (bits 0-8) with the flags of its flips.

// The folder's names: "levels/level01.tmx", "levels/level01-blocks.tmx" for level 0, and the
// drawings its tilesets show, beside them: "level01-planeA.png", "level01-planeB.png",
// "level01-line0.png" to "level01-line3.png".
constexpr const char* LEVELS_FOLDER = "levels";
std::string LevelMapName(unsigned level);
std::string BlockMapName(unsigned level);
std::string PlaneDrawingName(unsigned level, bool planeB);
std::string LineDrawingName(unsigned level, unsigned line);

// The maps of a level's block data as the unpack writes them. Cells past the data are empty.
TmxMap LevelTmx(const std::vector<uint8_t>& blockData, unsigned level);
TmxMap BlockTmx(const std::vector<uint8_t>& blockData, unsigned level);

// Puts into `data` what the map `read` (from `path`) changed against the map of `unpacked`: a
// changed level-map cell its block number, a changed block-map cell its word (index, line,
// flips, priority; bits 9-10 clear); an unchanged cell leaves its bytes as they are. Returns the
// cells changed. RefusedError naming the file, the layer and the cell (nothing changed) for: a
// map not of the unpack's shape (CheckMapShape), a cell of the other plane's tileset or of none,
// a block in Plane B's rows 8 to 15, a flipped or rotated level-map cell, a rotated block-map
// cell, a block-map cell in both or neither of the layers, a changed cell past the data's end.
size_t ApplyLevelTmx(const TmxMap& read, const std::vector<uint8_t>& unpacked,
                     std::vector<uint8_t>& data, unsigned level, const std::string& path);
size_t ApplyBlockTmx(const TmxMap& read, const std::vector<uint8_t>& unpacked,
                     std::vector<uint8_t>& data, unsigned level, const std::string& path);

} // namespace drovak
