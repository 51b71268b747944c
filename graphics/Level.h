#pragma once

#include "graphics/Renderer.h"
#include "rom/RomLayout.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace drovak {

constexpr uint16_t LEVEL_LAST_SCROLL_COLUMN = 496;
constexpr unsigned LEVEL_SCREENS = 32;
constexpr uint16_t LEVEL_NAME_MASK = 0x39FF;

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

// The 64 x 64 name table (big-endian words, masked with 0x39FF) of 16 block columns from
// firstColumn. Plane B fills rows 0..31 only. Layout bytes past the decoded block data leave
// their words zero.
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
