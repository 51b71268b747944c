#include "graphics/TitleScreen.h"

#include "base/Errors.h"
#include "compression/MaskedTile.h"
#include "compression/Rle.h"
#include "rom/RomFile.h"

namespace drovak {

PreviewImage RenderTitleScreen(Stream& rom, FrameBuffer& frameBuffer) {

    // Art that can't be decoded (the file ends inside the block, or its header is out of
    // bounds) is drawn as no art at all: the picture keeps its size and shows black cells,
    // the way every other piece of missing picture data is shown.
    const std::vector<uint8_t> bytes = ReadRest(rom, 0);
    MemoryStream art;
    try {
        art = MemoryStream(RleDecode(bytes, TITLE_ART_OFFSET, rom.Name()).bytes);
    } catch (const DrovakError&) {
    }

    MemoryStream nameTable(MaskedTileDecode(bytes, TITLE_NAME_TABLE_OFFSET));

    const PaletteTable palette = ReadPalette(rom, TITLE_PALETTE_OFFSET);
    return RenderTiles(art, 1, 1, TITLE_WIDTH_TILES, TITLE_HEIGHT_TILES, palette, &nameTable,
                       frameBuffer);
}

PreviewImage RenderTitleScreen(const std::string& romPath, FrameBuffer& frameBuffer) {
    return RenderTitleScreen(*OpenRomRead(romPath), frameBuffer);
}

} // namespace drovak
