#include "graphics/TitleScreen.h"

#include "base/Errors.h"
#include "compression/MaskedTile.h"
#include "compression/Rle.h"
#include "graphics/PlaneRenderer.h"
#include "graphics/TilePlane.h"
#include "rom/RomFile.h"

namespace drovak {

PreviewImage RenderTitleScreen(std::span<const uint8_t> rom) {
    // Art that can't be decoded (the file ends inside the block, or its header is out of
    // bounds) is drawn as no art at all: the picture keeps its size and shows black cells,
    // the way every other piece of missing picture data is shown.
    std::vector<uint8_t> art;
    try {
        art = RleDecode(rom, TITLE_ART_OFFSET).bytes;
    } catch (const DrovakError&) {
    }
    // The name table's plane, drawn whole; a table that ends early leaves the rest black.
    const TilePlane plane = PlaneOfNameTable(MaskedTileDecode(rom, TITLE_NAME_TABLE_OFFSET),
                                             TITLE_WIDTH_TILES, TITLE_HEIGHT_TILES);
    const PaletteTable palette = PaletteAt(rom, TITLE_PALETTE_OFFSET);
    return PlaneRenderer(plane, art, palette)
        .Picture({0, 0, 8u * TITLE_WIDTH_TILES, 8u * TITLE_HEIGHT_TILES});
}

PreviewImage RenderTitleScreen(const std::string& romPath) {
    return RenderTitleScreen(ReadRest(*OpenRomRead(romPath), 0));
}

} // namespace drovak
