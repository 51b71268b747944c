#include "graphics/TilesToPng.h"

#include "base/ReplaceFile.h"
#include "graphics/TileSheet.h"
#include "png/PngWriter.h"

#include <algorithm>
#include <cstring>

namespace drovak {

namespace {

// A packed row of the picture is, tile by tile, the 4 bytes of one row of each tile.
constexpr size_t TILE_ROW_BYTES = TILE_SIDE / 2;

} // namespace

void WriteTilesPng(std::span<const uint8_t> tiles, const TilePalette& palette, unsigned columns,
                   Stream& out) {
    const TileSheetSize size = SheetSizeFor(tiles.size(), columns);
    PngWriter png(out, {size.columns * TILE_SIDE, size.rows * TILE_SIDE, PNG_COLOUR_PALETTE, 4});
    png.Palette(palette.colours);
    const auto rows = [&tiles, columns = size.columns](uint32_t y, uint8_t* row) {
        std::memset(row, 0, size_t(columns) * TILE_ROW_BYTES);
        const size_t firstTile = size_t(y / TILE_SIDE) * columns;
        for (size_t column = 0; column < columns; ++column) {
            const size_t at =
                (firstTile + column) * TILE_DATA_BYTES + y % TILE_SIDE * TILE_ROW_BYTES;
            if (at >= tiles.size()) break;
            std::memcpy(row + column * TILE_ROW_BYTES, tiles.data() + at,
                        std::min(TILE_ROW_BYTES, tiles.size() - at));
        }
    };
    PngCompression compression;
    compression.level = 9;
    compression.filters = PngFilterSet::Empty; // palette images compress best unfiltered
    compression.search = Level9Search::Full;
    compression.partSize = SIZE_MAX; // one zlib stream of one piece
    png.ImageData(rows, compression);
    png.Text(TILE_DATA_KEYWORD, TileDataText(tiles.size()));
    png.End();
}

void SaveTilesPng(std::span<const uint8_t> tiles, const TilePalette& palette, unsigned columns,
                  const std::string& path) {
    SheetSizeFor(tiles.size(), columns); // refused before the file is touched
    WriteFileReplacing(path, [&](Stream& file) { WriteTilesPng(tiles, palette, columns, file); });
}

} // namespace drovak
