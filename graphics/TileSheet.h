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

std::string TileDataText(uint64_t bytes);
// The byte count of a text TileDataText wrote; nothing for any other text, or when its two
// numbers disagree.
std::optional<uint64_t> ParseTileDataText(std::string_view text);

// The size in tiles of the sheet of dataSize bytes: `columns` wide and as many rows as the
// tiles need, at least one (an empty sheet is one row of index 0). RefusedError when columns is
// not 1 to MAX_SHEET_COLUMNS, or the data or the picture is larger than the reader takes.
struct TileSheetSize {
    uint32_t columns = 0;
    uint32_t rows = 0;
};
TileSheetSize SheetSizeFor(size_t dataSize, unsigned columns);

} // namespace drovak
