#include "mod/ModLayout.h"

#include "rom/HexField.h"
#include "rom/RomLayout.h"

namespace drovak {

namespace {

// The compression pages' previews: 64 tiles (or cells) a row.
constexpr unsigned PREVIEW_COLUMNS = 64;

} // namespace

std::string LzhFileStem(uint32_t table, uint32_t index) {
    return HexFieldText(table) + "_" + HexFieldText(index);
}

std::string RleFileStem(uint32_t offset) {
    return HexFieldText(offset);
}

std::vector<uint32_t> KnownRleBlocks() {
    return {DEFAULT_RLE_OFFSET, TITLE_ART_OFFSET};
}

std::optional<SheetLayout> LzhSheetLayout(uint32_t table, uint32_t index) {
    if (table != POINTER_TABLE_OFFSET) return std::nullopt;
    for (unsigned level = 0; level < LEVEL_COUNT; ++level) {
        if (index == TileArtEntry(level)) {
            return SheetLayout{LevelPaletteOffset(level), 0, PREVIEW_COLUMNS, 1, 1};
        }
    }
    return std::nullopt;
}

SheetLayout RleSheetLayout() {
    // The RLE page's preview stacks 4 tiles in each cell, in the order of a sprite's tiles.
    return SheetLayout{PREVIEW_PALETTE_OFFSET, 0, PREVIEW_COLUMNS, 1, 4};
}

} // namespace drovak
