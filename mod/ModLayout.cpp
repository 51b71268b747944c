#include "mod/ModLayout.h"

#include "rom/HexField.h"
#include "rom/RomLayout.h"

#include <cstdio>

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

SheetLayout RleSheetLayout(uint32_t offset) {
    // The RLE page's preview stacks 4 tiles in each cell, in the order of a sprite's tiles.
    return SheetLayout{offset == TITLE_ART_OFFSET ? TITLE_PALETTE_OFFSET : PREVIEW_PALETTE_OFFSET,
                       0, PREVIEW_COLUMNS, 1, 4};
}

std::vector<std::pair<uint32_t, unsigned>> SheetDrawingLines(const SheetLayout& layout) {
    std::vector<std::pair<uint32_t, unsigned>> lines;
    const unsigned count = layout.paletteOffset == TITLE_PALETTE_OFFSET ? 1 : 4;
    for (unsigned line = 0; line < count; ++line) lines.emplace_back(layout.paletteOffset, line);
    if (layout.paletteOffset != PREVIEW_PALETTE_OFFSET)
        lines.emplace_back(PREVIEW_PALETTE_OFFSET, 0);
    return lines;
}

std::vector<KnownPalette> KnownPalettes() {
    std::vector<KnownPalette> palettes;
    for (unsigned level = 0; level < LEVEL_COUNT; ++level) {
        char name[16];
        std::snprintf(name, sizeof name, "level%02u.gpl", level + 1);
        palettes.push_back({name, LevelPaletteOffset(level), PALETTE_SIZE / 2, level});
    }
    palettes.push_back({"sheets.gpl", PREVIEW_PALETTE_OFFSET, PALETTE_SIZE / 2, LEVEL_COUNT});
    palettes.push_back({"title.gpl", TITLE_PALETTE_OFFSET, TITLE_PALETTE_COLOURS, LEVEL_COUNT});
    for (KnownPalette& palette : palettes) palette.name = PALETTES_FOLDER + ("/" + palette.name);
    return palettes;
}

} // namespace drovak
