#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace drovak {

// What a ROM image unpacks to: which data becomes which file, and which of it is drawn as a
// tile sheet beside its data file.

// How a sheet lays its tiles and which palette draws them: line `paletteLine` of the palette at
// `paletteOffset`, `columns` cells a row, each cell cellWidth x cellHeight tiles (TileSheet.h).
struct SheetLayout {
    uint32_t paletteOffset = 0;
    unsigned paletteLine = 0;
    unsigned columns = 0;
    unsigned cellWidth = 1;
    unsigned cellHeight = 1;
    bool operator==(const SheetLayout&) const = default;
};

// The file names without ".bin" or ".png": "20000_1F" for entry 0x1F of the table at 0x20000,
// "48120" for the RLE block at 0x48120 (upper-case hexadecimal, no leading zeros).
std::string LzhFileStem(uint32_t table, uint32_t index);
std::string RleFileStem(uint32_t offset);

// The RLE blocks the game's layout knows: the sprite sheet and the title art.
std::vector<uint32_t> KnownRleBlocks();

// The sheet of an entry the layout knows as tiles (a level's tile art in the game's table: that
// level's palette, line 0; laid out as the LZH page's preview, 64 tiles a row); nothing for any
// other entry.
std::optional<SheetLayout> LzhSheetLayout(uint32_t table, uint32_t index);

// The sheet of a known RLE block: the tile sheets' palette, laid out as the RLE page's preview
// (64 cells of 1 x 4 tiles a row).
SheetLayout RleSheetLayout();

} // namespace drovak
