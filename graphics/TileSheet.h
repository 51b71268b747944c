#pragma once

#include "png/PngReader.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace drovak {

// A tile sheet is the picture of tile data: 8 x 8 tiles of 4 bits per pixel (32 bytes each, two
// pixels a byte, the left one in the high half, top row first) laid left to right and top to
// bottom, `columns` tiles to a row. A last tile cut short counts as a tile padded with zeros;
// the places after the last tile are index 0.
//
// Tiles may also be laid in cells of W x H tiles, `columns` cells to a row, as the preview lays
// them: a cell takes the next W x H x 32 bytes as one picture of 8W x 8H pixels, top row first
// (4W bytes a row). Cells one tile wide hold their tiles stacked top to bottom, the order of the
// tiles of a sprite; cells of 1 x 1 are the plain sheet.

constexpr size_t TILE_DATA_BYTES = 32;
constexpr unsigned TILE_SIDE = 8;
constexpr unsigned DEFAULT_SHEET_COLUMNS = 16;
// As many tiles as a row of the widest picture the reader takes.
constexpr unsigned MAX_SHEET_COLUMNS = PNG_READ_MAX_SIDE / TILE_SIDE;
// The most tile data one sheet holds (a picture the reader takes, PNG_READ_MAX_PIXELS).
constexpr size_t MAX_SHEET_DATA = PNG_READ_MAX_PIXELS / 2;

// The tEXt keyword under which a sheet records the length of its data, as TileDataText writes
// it: "2 tiles, 33 bytes". The tile count is the bytes divided by 32, rounded up.
constexpr const char* TILE_DATA_KEYWORD = "Drovak tile data";

constexpr uint64_t TileCount(uint64_t bytes) {
    return (bytes + TILE_DATA_BYTES - 1) / TILE_DATA_BYTES;
}

// The tEXt keyword under which a sheet records its cell, as TileCellText writes it: "1x4".
constexpr const char* TILE_CELL_KEYWORD = "Drovak tile cell";
constexpr unsigned MAX_CELL_SIDE = 16; // tiles

struct TileCell {
    unsigned width = 1; // tiles
    unsigned height = 1;
    constexpr uint64_t Bytes() const { return uint64_t(width) * height * TILE_DATA_BYTES; }
    bool operator==(const TileCell&) const = default;
};

std::string TileDataText(uint64_t bytes);
// The byte count of a text TileDataText wrote; nothing for any other text, or when its two
// numbers disagree.
std::optional<uint64_t> ParseTileDataText(std::string_view text);

// "1x4"; and the cell of such a text (sides 1 to MAX_CELL_SIDE), nothing for any other text.
std::string TileCellText(TileCell cell);
std::optional<TileCell> ParseTileCellText(std::string_view text);

// The size in cells of the sheet of dataSize bytes: `columns` wide and as many rows as the
// cells need, at least one (an empty sheet is one row of index 0). RefusedError when columns is
// not 1 to MAX_SHEET_COLUMNS, the cell's sides not 1 to MAX_CELL_SIDE, or the data or the
// picture is larger than the reader takes.
struct TileSheetSize {
    uint32_t columns = 0;
    uint32_t rows = 0;
};
TileSheetSize SheetSizeFor(size_t dataSize, unsigned columns, TileCell cell = {});

// Where the pixels of byte `at` of the data lie in a sheet `columns` cells wide: the left one
// (the byte's high half) at x, y and the right one at x + 1.
struct SheetPixel {
    uint64_t x = 0;
    uint64_t y = 0;
};
constexpr SheetPixel PixelOfByte(uint64_t at, unsigned columns, TileCell cell) {
    const uint64_t index = at / cell.Bytes(), within = at % cell.Bytes();
    const uint64_t rowBytes = 4 * cell.width;
    return {index % columns * TILE_SIDE * cell.width + within % rowBytes * 2,
            index / columns * TILE_SIDE * cell.height + within / rowBytes};
}
// The byte that holds pixel x, y of such a sheet.
constexpr uint64_t ByteOfPixel(uint64_t x, uint64_t y, unsigned columns, TileCell cell) {
    const uint64_t cellX = x / (TILE_SIDE * cell.width), cellY = y / (TILE_SIDE * cell.height);
    return (cellY * columns + cellX) * cell.Bytes() +
           y % (TILE_SIDE * cell.height) * 4 * cell.width + x % (TILE_SIDE * cell.width) / 2;
}

} // namespace drovak
