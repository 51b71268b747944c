#include "graphics/TilesToPng.h"

#include "base/ReplaceFile.h"
#include "graphics/TileSheet.h"
#include "png/PngWriter.h"

#include <algorithm>
#include <cstring>

namespace drovak {

namespace {

// The bytes of a cell's row of pixels: 4 for each tile across.
constexpr size_t TILE_ROW_BYTES = TILE_SIDE / 2;

} // namespace

void WriteTilesPng(std::span<const uint8_t> tiles, const TilePalette& palette, unsigned columns,
                   Stream& out, TileCell cell) {
    const TileSheetSize size = SheetSizeFor(tiles.size(), columns, cell);
    PngWriter png(out, {size.columns * TILE_SIDE * cell.width, size.rows * TILE_SIDE * cell.height,
                        PNG_COLOUR_PALETTE, 4});
    png.Palette(palette.colours);
    // A packed row of the picture is, cell by cell, the bytes of one row of pixels of each cell,
    // which lie one after the other in the data.
    const size_t cellRowBytes = TILE_ROW_BYTES * cell.width;
    const auto rows = [&tiles, columns = size.columns, cell, cellRowBytes](uint32_t y,
                                                                           uint8_t* row) {
        std::memset(row, 0, columns * cellRowBytes);
        for (size_t column = 0; column < columns; ++column) {
            const uint64_t at = ByteOfPixel(column * TILE_SIDE * cell.width, y, columns, cell);
            if (at >= tiles.size()) break;
            std::memcpy(row + column * cellRowBytes, tiles.data() + at,
                        std::min<size_t>(cellRowBytes, tiles.size() - at));
        }
    };
    PngCompression compression;
    compression.level = 9;
    compression.filters = PngFilterSet::Empty; // palette images compress best unfiltered
    compression.search = Level9Search::Full;
    compression.partSize = SIZE_MAX; // one zlib stream of one piece
    png.ImageData(rows, compression);
    png.Text(TILE_DATA_KEYWORD, TileDataText(tiles.size()));
    if (cell != TileCell{}) png.Text(TILE_CELL_KEYWORD, TileCellText(cell));
    png.End();
}

void SaveTilesPng(std::span<const uint8_t> tiles, const TilePalette& palette, unsigned columns,
                  const std::string& path, TileCell cell, const ReplaceOptions& options) {
    SheetSizeFor(tiles.size(), columns, cell); // refused before the file is touched
    ReplaceFile(
        path, [&](Stream& file) { WriteTilesPng(tiles, palette, columns, file, cell); }, options);
}

} // namespace drovak
