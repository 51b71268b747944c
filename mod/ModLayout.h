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

// The sheet of a known RLE block, laid out as the RLE page's preview (64 cells of 1 x 4 tiles a
// row): the title art with the title palette, the sprites with the tile sheets' palette.
SheetLayout RleSheetLayout(uint32_t offset);

// The other palette lines the program draws a sheet's data with (its palette's four lines, and
// line 0 of the tile sheets' palette that the pages' previews use), as pairs of the palette's
// offset and the line: a picture drawn with any of them keeps its values.
std::vector<std::pair<uint32_t, unsigned>> SheetDrawingLines(const SheetLayout& layout);

// The palettes an unpack writes as palette files, in palettes/: the levels' ("level01.gpl" to
// "level08.gpl", 64 colours), the tile sheets' ("sheets.gpl", 64) and the title's ("title.gpl",
// the 17 colours before its name table). `level` is LEVEL_COUNT for the last two.
constexpr const char* PALETTES_FOLDER = "palettes";
struct KnownPalette {
    std::string name;
    uint32_t offset = 0;
    unsigned colours = 0;
    unsigned level = 0;
};
std::vector<KnownPalette> KnownPalettes();

} // namespace drovak
