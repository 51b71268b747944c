#include "graphics/TitleScreen.h"

#include "base/Errors.h"
#include "compression/MaskedTile.h"
#include "compression/Rle.h"
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
    const std::vector<uint8_t> nameTable = MaskedTileDecode(rom, TITLE_NAME_TABLE_OFFSET);
    return RenderTiles(art, 1, 1, TITLE_WIDTH_TILES, TITLE_HEIGHT_TILES,
                       PaletteAt(rom, TITLE_PALETTE_OFFSET), nameTable);
}

PreviewImage RenderTitleScreen(const std::string& romPath) {
    return RenderTitleScreen(ReadRest(*OpenRomRead(romPath), 0));
}

} // namespace drovak
