#pragma once

#include "graphics/Renderer.h"
#include "graphics/TilePlane.h"
#include "rom/LevelLayout.h"
#include "rom/RomLayout.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace drovak {

constexpr uint16_t LEVEL_LAST_SCROLL_COLUMN = 496;
constexpr unsigned LEVEL_SCREENS = 32;
constexpr uint16_t LEVEL_NAME_MASK = 0x39FF;
// A level plane is 64 cells (512 pixels) high; Plane B's blocks fill its upper half only.
constexpr unsigned LEVEL_PLANE_ROWS = 64;

// The decoded data of one level: block data and tile art from the pointer table, and the level
// palette (where they lie: rom/RomLayout.h).
struct LevelData {
    std::vector<uint8_t> blockData;
    std::vector<uint8_t> tileArt;
    PaletteTable palette{};
};

// Decodes a level of a ROM image held in memory, named `name` in messages.
LevelData DecodeLevel(std::span<const uint8_t> rom, const std::string& name, unsigned level);
// Reads and decodes a level from an open ROM image. Throws FileError when the ROM can't be read,
// its table is short or an entry's data would begin past the end of the file; RefusedError for
// a level of 8 or more or a decoded size over the limit.
LevelData DecodeLevel(Stream& rom, unsigned level);
// The same from the ROM image at romPath (FileError when it can't be opened).
LevelData DecodeLevel(const std::string& romPath, unsigned level);

// The plane of `columns` block columns from firstColumn: 4 cells a column, 64 high, each cell the
// block's name-table word masked with 0x39FF. Plane B fills rows 0..31 only; the rest, like the
// cells of layout bytes or block words past the decoded block data, show tile 0 on line 0.
// The whole plane (512 columns from 0) is 2048 x 64 cells.
TilePlane BuildLevelPlane(const LevelData& level, bool planeB, unsigned firstColumn = 0,
                          unsigned columns = LEVEL_BLOCK_COLUMNS);

// The 64 x 64 name table (big-endian words) of the plane of 16 block columns from firstColumn.
std::vector<uint8_t> BuildLevelNameTable(const LevelData& level, bool planeB, unsigned firstColumn);

// The viewer's picture: 512 x 512 pixels of 16 block columns from firstColumn (0..496), drawn
// from the decoded level as it is (a scroll step decodes nothing).
PreviewImage AssembleLevel(const LevelData& level, bool planeB, unsigned firstColumn);

// The export's step: screen 0..31 of the plane, that is block columns 16 x screen to
// 16 x screen + 15.
PreviewImage AssembleLevelScreen(const LevelData& level, bool planeB, unsigned screen);

// "LEVEL 01" .. "LEVEL 08".
std::string LevelListItem(unsigned level);
// "Level_" + two digits + "_PlaneA.png" / "_PlaneB.png", without folder.
std::string DefaultLevelPngName(unsigned level, bool planeB);

} // namespace drovak
