#include "graphics/TilesToPng.h"

#include "base/Errors.h"
#include "base/ReplaceFile.h"
#include "graphics/TileSheet.h"
#include "png/PngPicture.h"

#include <memory>
#include <vector>

namespace drovak {

namespace {

// The picture of the tiles, ready to be saved.
std::unique_ptr<TPngPicture> SheetPicture(std::span<const uint8_t> tiles,
                                          const TilePalette& palette, unsigned columns,
                                          TileCell cell) {
    const TileSheetSize size = SheetSizeFor(tiles.size(), columns, cell);
    auto picture = std::make_unique<TPngPicture>();
    if (!picture->CreateBlank(PNG_COLOUR_PALETTE, 4, size.columns * TILE_SIDE * cell.width,
                              size.rows * TILE_SIDE * cell.height)) {
        throw DrovakError("a tile picture could not be made");
    }
    picture->SetCompressionLevel(9);
    picture->SetFilters(TPngFilterSet::Empty); // palette images compress best unfiltered
    picture->SetPalette(std::vector<uint32_t>(palette.colours.begin(), palette.colours.end()));
    for (size_t at = 0; at < tiles.size(); ++at) {
        const SheetPixel pixel = PixelOfByte(at, columns, cell);
        picture->SetIndex(int64_t(pixel.x), int64_t(pixel.y), tiles[at] >> 4);
        picture->SetIndex(int64_t(pixel.x) + 1, int64_t(pixel.y), tiles[at] & 0x0F);
    }
    picture->AddText(TILE_DATA_KEYWORD, TileDataText(tiles.size()));
    if (cell != TileCell{}) picture->AddText(TILE_CELL_KEYWORD, TileCellText(cell));
    return picture;
}

} // namespace

void WriteTilesPng(std::span<const uint8_t> tiles, const TilePalette& palette, unsigned columns,
                   Stream& out, TileCell cell) {
    SheetPicture(tiles, palette, columns, cell)->SaveToStream(out);
}

void SaveTilesPng(std::span<const uint8_t> tiles, const TilePalette& palette, unsigned columns,
                  const std::string& path, TileCell cell) {
    SheetPicture(tiles, palette, columns, cell)->SaveToFile(path);
}

} // namespace drovak
