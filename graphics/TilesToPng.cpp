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
                                          const TilePalette& palette, unsigned columns) {
    const TileSheetSize size = SheetSizeFor(tiles.size(), columns);
    auto picture = std::make_unique<TPngPicture>();
    if (!picture->CreateBlank(PNG_COLOUR_PALETTE, 4, size.columns * TILE_SIDE,
                              size.rows * TILE_SIDE)) {
        throw DrovakError("a tile picture could not be made");
    }
    picture->SetCompressionLevel(9);
    picture->SetFilters(TPngFilterSet::Empty); // palette images compress best unfiltered
    picture->SetPalette(std::vector<uint32_t>(palette.colours.begin(), palette.colours.end()));
    for (size_t at = 0; at < tiles.size(); ++at) {
        const size_t tile = at / TILE_DATA_BYTES, within = at % TILE_DATA_BYTES;
        const int64_t x = int64_t(tile % columns * TILE_SIDE + within % 4 * 2);
        const int64_t y = int64_t(tile / columns * TILE_SIDE + within / 4);
        picture->SetIndex(x, y, tiles[at] >> 4);
        picture->SetIndex(x + 1, y, tiles[at] & 0x0F);
    }
    picture->AddText(TILE_DATA_KEYWORD, TileDataText(tiles.size()));
    return picture;
}

} // namespace

void WriteTilesPng(std::span<const uint8_t> tiles, const TilePalette& palette, unsigned columns,
                   Stream& out) {
    SheetPicture(tiles, palette, columns)->SaveToStream(out);
}

void SaveTilesPng(std::span<const uint8_t> tiles, const TilePalette& palette, unsigned columns,
                  const std::string& path) {
    SheetPicture(tiles, palette, columns)->SaveToFile(path);
}

} // namespace drovak
