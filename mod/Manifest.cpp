#include "mod/Manifest.h"

#include "base/FolderFiles.h"
#include "base/Folders.h"
#include "base/ReplaceFile.h"
#include "base/WholeFile.h"
#include "mod/LevelMap.h"
#include "rom/RomLayout.h"

#include <toml++/toml.h>

#include <sstream>

namespace drovak {

std::string DataFileName(const Manifest& manifest, const ModFile& file) {
    return (file.kind == ModKind::LzhEntry ? LzhFileStem(manifest.table, file.index)
                                           : RleFileStem(file.offset)) +
           ".bin";
}

std::string SheetFileName(const Manifest& manifest, const ModFile& file) {
    const std::string name = DataFileName(manifest, file);
    return name.substr(0, name.size() - 4) + ".png";
}

namespace {

std::string OfLevel(unsigned level) {
    return ", level " + std::to_string(level + 1);
}

} // namespace

ModContent ContentOf(const ModFile& file, uint32_t table) {
    if (file.kind == ModKind::RleBlock) {
        return {file.offset == TITLE_ART_OFFSET     ? ModContentKind::TitleArt
                : file.offset == DEFAULT_RLE_OFFSET ? ModContentKind::SpriteSheet
                                                    : ModContentKind::Data,
                0};
    }
    if (table == POINTER_TABLE_OFFSET) {
        for (unsigned level = 0; level < LEVEL_COUNT; ++level) {
            if (file.index == TileArtEntry(level)) return {ModContentKind::TileArt, level};
            if (file.index == BlockDataEntry(level)) return {ModContentKind::LevelBlocks, level};
        }
    }
    return {};
}

std::string FileRole(const Manifest& manifest, const ModFile& file) {
    const ModContent content = ContentOf(file, manifest.table);
    switch (content.kind) {
    case ModContentKind::TileArt:
        return "tile art" + OfLevel(content.level);
    case ModContentKind::LevelBlocks:
        return "blocks" + OfLevel(content.level);
    case ModContentKind::SpriteSheet:
        return "sprite sheet";
    case ModContentKind::TitleArt:
        return "title art";
    case ModContentKind::Data:
        break;
    }
    return "not known";
}

std::string ViewRole(const ViewRecord& view) {
    switch (view.kind) {
    case ViewKind::LevelMap:
        return "level map" + OfLevel(view.level);
    case ViewKind::BlockMap:
        return "block map" + OfLevel(view.level);
    case ViewKind::Drawing:
        return "drawing of a map's tileset" + OfLevel(view.level);
    case ViewKind::Palette:
        break;
    }
    for (const KnownPalette& palette : KnownPalettes()) {
        if (palette.offset != view.offset) continue;
        if (palette.level < LEVEL_COUNT) return "palette" + OfLevel(palette.level);
        return palette.offset == TITLE_PALETTE_OFFSET ? "title palette"
                                                      : "palette of the tile sheets";
    }
    return "palette";
}

std::string ViewName(const ViewRecord& view) {
    switch (view.kind) {
    case ViewKind::LevelMap:
        return LevelMapName(view.level);
    case ViewKind::BlockMap:
        return BlockMapName(view.level);
    case ViewKind::Drawing:
        for (const bool planeB : {false, true}) {
            const std::string name = PathIn(LEVELS_FOLDER, PlaneDrawingName(view.level, planeB));
            if (name == view.name) return name;
        }
        for (unsigned line = 0; line < 4; ++line) {
            const std::string name = PathIn(LEVELS_FOLDER, LineDrawingName(view.level, line));
            if (name == view.name) return name;
        }
        return PathIn(LEVELS_FOLDER, PlaneDrawingName(view.level, false));
    case ViewKind::Palette:
        break;
    }
    for (const KnownPalette& palette : KnownPalettes()) {
        if (palette.offset == view.offset && palette.colours == view.colours) return palette.name;
    }
    return {};
}

const char* ViewKindText(ViewKind kind) {
    switch (kind) {
    case ViewKind::LevelMap:
        return "level map";
    case ViewKind::BlockMap:
        return "block map";
    case ViewKind::Palette:
        return "palette";
    case ViewKind::Drawing:
        break;
    }
    return "drawing";
}

namespace {

toml::value<int64_t> Hex(uint64_t number) {
    toml::value<int64_t> value(int64_t{0});
    value = int64_t(number);
    value.flags(toml::value_flags::format_as_hexadecimal);
    return value;
}

toml::table SheetTable(const SheetRecord& sheet) {
    toml::table table{{"name", sheet.name},
                      {"crc32", Hex(sheet.crc)},
                      {"palette_offset", Hex(sheet.layout.paletteOffset)},
                      {"palette_line", int64_t(sheet.layout.paletteLine)},
                      {"columns", int64_t(sheet.layout.columns)},
                      {"cell_width", int64_t(sheet.layout.cellWidth)},
                      {"cell_height", int64_t(sheet.layout.cellHeight)}};
    table.is_inline(true);
    return table;
}

toml::table FileTable(const Manifest& manifest, const ModFile& file) {
    toml::table table{{"name", file.name}, {"role", FileRole(manifest, file)}};
    if (file.kind == ModKind::LzhEntry) {
        table.insert("kind", "lzh");
        table.insert("index", Hex(file.index));
        table.insert("data_offset", Hex(file.dataOffset));
    } else {
        table.insert("kind", "rle");
        table.insert("offset", Hex(file.offset));
    }
    table.insert("decoded_size", int64_t(file.decodedSize));
    table.insert("packed_size", int64_t(file.packedSize));
    table.insert("size", int64_t(file.size));
    table.insert("crc32", Hex(file.crc));
    if (file.sheet) table.insert("sheet", SheetTable(*file.sheet));
    return table;
}

toml::table ViewTable(const ViewRecord& view) {
    toml::table table{{"name", view.name},
                      {"role", ViewRole(view)},
                      {"kind", ViewKindText(view.kind)},
                      {"crc32", Hex(view.crc)}};
    if (view.kind == ViewKind::Palette) {
        table.insert("offset", Hex(view.offset));
        table.insert("colours", int64_t(view.colours));
    } else {
        table.insert("level", int64_t(view.level + 1));
    }
    return table;
}

} // namespace

std::string ManifestText(const Manifest& manifest) {
    toml::array files;
    for (const ModFile& file : manifest.files) files.push_back(FileTable(manifest, file));
    toml::array views;
    for (const ViewRecord& view : manifest.views) views.push_back(ViewTable(view));
    toml::table document{
        {"format", manifest.format},
        {"rom", toml::table{{"name", manifest.romName},
                            {"path", manifest.romPath},
                            {"size", int64_t(manifest.romSize)},
                            {"crc32", Hex(manifest.romCrc)}}},
        {"table", toml::table{{"offset", Hex(manifest.table)}}},
        {"file", std::move(files)},
    };
    if (manifest.unfinished) document.insert("unfinished", true);
    if (!views.empty()) document.insert("view", std::move(views));
    std::ostringstream text;
    text << "# Written by drovak-cli unpack: the ROM image this folder was unpacked from, and\n"
            "# each file as it was written (drovak-cli pack puts back what changed).\n"
            "# [[view]]: maps and palettes (packed back too) and the drawings the maps show.\n\n"
         << document << "\n";
    return text.str();
}

Manifest ReadManifest(const std::string& dir) {
    const std::string path = PathIn(dir, MANIFEST_NAME);
    // A manifest is a few kilobytes; anything near a megabyte is not one.
    const std::vector<uint8_t> bytes =
        ReadFileInsideFolder(dir, MANIFEST_NAME, 1u << 20, SizeLimit::Manifest);
    return ParseManifest(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path);
}

void WriteManifest(const std::string& dir, const Manifest& manifest) {
    const std::string text = ManifestText(manifest);
    WriteFileInFolder(dir, MANIFEST_NAME, std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace drovak
