#include "mod/Views.h"

#include "base/ByteOrder.h"
#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/Folders.h"
#include "base/Paths.h"
#include "graphics/BlockTilesets.h"
#include "graphics/Level.h"
#include "graphics/TilePalette.h"
#include "mod/GimpPalette.h"
#include "mod/LevelMap.h"
#include "mod/ModProblem.h"
#include "rom/LzhPage.h"

namespace drovak {

namespace {

void Add(ViewOutputs& views, ViewKind kind, std::string name, unsigned level,
         std::vector<uint8_t> bytes) {
    ViewRecord record{kind, std::move(name), Crc32(bytes), level};
    views.outputs.push_back({std::move(record), std::move(bytes)});
}

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

void AddLevel(ViewOutputs& views, const RomBytes& rom, uint32_t table, unsigned level) {
    // The maps show the block data as its file holds it; the drawings the level as the viewer
    // decodes it.
    const std::vector<uint8_t> blocks = LzhExtractEntry(rom, table, BlockDataEntry(level)).data;
    const LevelData data = DecodeLevel(rom.bytes, rom.name, level);
    Add(views, ViewKind::LevelMap, LevelMapName(level), level,
        Bytes(TmxText(LevelTmx(blocks, level))));
    Add(views, ViewKind::BlockMap, BlockMapName(level), level,
        Bytes(TmxText(BlockTmx(blocks, level))));
    for (const bool planeB : {false, true}) {
        Add(views, ViewKind::Drawing, PathIn(LEVELS_FOLDER, PlaneDrawingName(level, planeB)), level,
            DrawingPng(DrawPlaneBlocks(data, planeB), true));
    }
    for (unsigned line = 0; line < PALETTE_LINE_COUNT; ++line) {
        Add(views, ViewKind::Drawing, PathIn(LEVELS_FOLDER, LineDrawingName(level, line)), level,
            DrawingPng(DrawArtLine(data, line), false));
    }
}

} // namespace

std::vector<uint16_t> PaletteWordsAt(const RomBytes& rom, uint32_t offset, unsigned count) {
    if (uint64_t(offset) + 2 * count > rom.bytes.size()) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::PaletteBeyondRom,
                                   .file = rom.name,
                                   .count = count,
                                   .offset = offset});
    }
    std::vector<uint16_t> words(count);
    for (unsigned k = 0; k < count; ++k)
        words[k] = LoadBigEndian16(rom.bytes.data() + offset + 2 * k);
    return words;
}

ViewOutputs MakeViews(const RomBytes& rom, uint32_t table) {
    ViewOutputs views;
    for (unsigned level = 0; level < LEVEL_COUNT && table == POINTER_TABLE_OFFSET; ++level) {
        ViewOutputs one;
        try {
            AddLevel(one, rom, table, level);
        } catch (const DrovakError&) {
            views.skipped.emplace_back(LevelMapName(level), std::current_exception());
            continue;
        }
        for (ViewOutput& output : one.outputs) views.outputs.push_back(std::move(output));
    }
    for (const KnownPalette& palette : KnownPalettes()) {
        try {
            std::string title = FileNamePart(palette.name); // "level01.gpl": "level01"
            title.resize(title.size() - 4);
            const std::string text =
                GimpPaletteText(PaletteWordsAt(rom, palette.offset, palette.colours), title);
            views.outputs.push_back({ViewRecord{.kind = ViewKind::Palette,
                                                .name = palette.name,
                                                .crc = Crc32(Bytes(text)),
                                                .offset = palette.offset,
                                                .colours = palette.colours},
                                     Bytes(text)});
        } catch (const DrovakError&) {
            views.skipped.emplace_back(palette.name, std::current_exception());
        }
    }
    return views;
}

} // namespace drovak
