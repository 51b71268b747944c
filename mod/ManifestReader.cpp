// The manifest read back: every key checked for its type and range, every name for the one its
// record gives, so that what a pack reads from the folder is what an unpack wrote there.
#include "mod/Manifest.h"

#include "base/Errors.h"
#include "graphics/TilePalette.h"
#include "graphics/TileSheet.h"
#include "mod/ModProblem.h"
#include "rom/PointerTable.h"
#include "rom/RomFile.h"
#include "rom/RomLayout.h"

#include <toml++/toml.h>

#include <set>
#include <utility>

namespace drovak {

namespace {

// Where in the manifest a value is read.
struct Where {
    ManifestPlace place = ManifestPlace::Top;
    uint64_t index = 0;
};

class Reader {
public:
    explicit Reader(std::string sourceName) : source_(std::move(sourceName)) {}

    [[noreturn]] void Refuse(const Where& where, ModProblem problem) const {
        problem.file = source_;
        problem.place = where.place;
        problem.index = where.index;
        ThrowModProblem(std::move(problem));
    }
    [[noreturn]] void Refuse(const Where& where, ModProblemKind kind) const {
        Refuse(where, ModProblem{.kind = kind});
    }

    const toml::table& Table(const toml::table& in, const char* key, const Where& where) const {
        const toml::table* table = in[key].as_table();
        if (!table) Missing(in, key, ManifestValue::Table, where);
        return *table;
    }

    uint64_t Number(const toml::table& in, const char* key, uint64_t max,
                    const Where& where) const {
        const auto* value = in[key].as_integer();
        if (!value) Missing(in, key, ManifestValue::Integer, where);
        const int64_t number = value->get();
        if (number < 0 || uint64_t(number) > max) {
            Refuse(where, ModProblem{.kind = ModProblemKind::KeyOutOfRange,
                                     .key = key,
                                     .number = number,
                                     .limit = max});
        }
        return uint64_t(number);
    }
    uint32_t Number32(const toml::table& in, const char* key, const Where& where) const {
        return uint32_t(Number(in, key, UINT32_MAX, where));
    }

    std::string Text(const toml::table& in, const char* key, const Where& where) const {
        const auto* value = in[key].as_string();
        if (!value) Missing(in, key, ManifestValue::String, where);
        return value->get();
    }

private:
    [[noreturn]] void Missing(const toml::table& in, const char* key, ManifestValue type,
                              const Where& where) const {
        Refuse(where, ModProblem{.kind = in.contains(key) ? ModProblemKind::KeyNotType
                                                          : ModProblemKind::KeyMissing,
                                 .key = key,
                                 .value = type});
    }
    std::string source_;
};

SheetLayout ReadLayout(const Reader& reader, const toml::table& sheet, const Where& where) {
    SheetLayout layout;
    layout.paletteOffset = reader.Number32(sheet, "palette_offset", where);
    layout.paletteLine =
        unsigned(reader.Number(sheet, "palette_line", PALETTE_LINE_COUNT - 1, where));
    layout.columns = unsigned(reader.Number(sheet, "columns", MAX_SHEET_COLUMNS, where));
    layout.cellWidth = unsigned(reader.Number(sheet, "cell_width", MAX_CELL_SIDE, where));
    layout.cellHeight = unsigned(reader.Number(sheet, "cell_height", MAX_CELL_SIDE, where));
    if (layout.columns == 0 || layout.cellWidth == 0 || layout.cellHeight == 0) {
        reader.Refuse(where, ModProblemKind::SheetSidesZero);
    }
    return layout;
}

ModFile ReadFile(const Reader& reader, const Manifest& manifest, const toml::table& table,
                 const Where& where) {
    ModFile file;
    const std::string kind = reader.Text(table, "kind", where);
    if (kind == "lzh") {
        file.kind = ModKind::LzhEntry;
        file.index = uint32_t(reader.Number(table, "index", WORK_TABLE_CAPACITY - 1, where));
        file.dataOffset = reader.Number32(table, "data_offset", where);
    } else if (kind == "rle") {
        file.kind = ModKind::RleBlock;
        file.offset = uint32_t(reader.Number(table, "offset", MAX_ROM_SIZE - 1, where));
    } else {
        reader.Refuse(where, ModProblem{.kind = ModProblemKind::FileKindUnknown, .text = kind});
    }
    file.decodedSize = reader.Number32(table, "decoded_size", where);
    file.packedSize = reader.Number32(table, "packed_size", where);
    file.size = reader.Number(table, "size", MAX_ROM_SIZE, where);
    file.crc = reader.Number32(table, "crc32", where);
    file.name = reader.Text(table, "name", where);
    if (file.name != DataFileName(manifest, file)) {
        reader.Refuse(where, ModProblem{.kind = ModProblemKind::NameNotExpected,
                                        .text = file.name,
                                        .expected = DataFileName(manifest, file)});
    }
    if (table.contains("sheet")) {
        const toml::table& sheet = reader.Table(table, "sheet", where);
        const Where sheetWhere{ManifestPlace::FileSheet, where.index};
        file.sheet = SheetRecord{reader.Text(sheet, "name", sheetWhere),
                                 reader.Number32(sheet, "crc32", sheetWhere),
                                 ReadLayout(reader, sheet, sheetWhere)};
        if (file.sheet->name != SheetFileName(manifest, file)) {
            reader.Refuse(sheetWhere, ModProblem{.kind = ModProblemKind::NameNotExpected,
                                                 .text = file.sheet->name,
                                                 .expected = SheetFileName(manifest, file),
                                                 .flag = true});
        }
    }
    return file;
}

ViewRecord ReadView(const Reader& reader, const toml::table& table, const Where& where) {
    ViewRecord view;
    const std::string kind = reader.Text(table, "kind", where);
    bool known = false;
    for (const ViewKind k :
         {ViewKind::LevelMap, ViewKind::BlockMap, ViewKind::Palette, ViewKind::Drawing}) {
        if (kind == ViewKindText(k)) {
            view.kind = k;
            known = true;
        }
    }
    if (!known) {
        reader.Refuse(where, ModProblem{.kind = ModProblemKind::ViewKindUnknown, .text = kind});
    }
    if (view.kind == ViewKind::Palette) {
        view.offset = uint32_t(reader.Number(table, "offset", MAX_ROM_SIZE - 1, where));
        view.colours = unsigned(reader.Number(table, "colours", PALETTE_SIZE / 2, where));
    } else {
        view.level = unsigned(reader.Number(table, "level", LEVEL_COUNT, where));
        if (view.level == 0) reader.Refuse(where, ModProblemKind::LevelZero);
        view.level -= 1;
    }
    view.crc = reader.Number32(table, "crc32", where);
    view.name = reader.Text(table, "name", where);
    const std::string expected = ViewName(view);
    if (expected.empty()) reader.Refuse(where, ModProblemKind::PaletteUnknown);
    if (view.name != expected) {
        reader.Refuse(where, ModProblem{.kind = ModProblemKind::NameNotExpected,
                                        .text = view.name,
                                        .expected = expected});
    }
    return view;
}

} // namespace

Manifest ParseManifest(std::string_view text, const std::string& sourceName) {
    toml::table document;
    try {
        document = toml::parse(text, sourceName);
    } catch (const toml::parse_error& error) {
        const toml::source_position at = error.source().begin;
        ThrowModProblem(ModProblem{.kind = ModProblemKind::ManifestSyntax,
                                   .file = sourceName,
                                   .text = std::string(error.description()),
                                   .line = at.line,
                                   .column = at.column});
    }
    const Reader reader(sourceName);
    const Where TOP{ManifestPlace::Top, 0}, ROM{ManifestPlace::Rom, 0},
        TABLE{ManifestPlace::Table, 0};
    Manifest manifest;
    manifest.format = int64_t(reader.Number(document, "format", INT64_MAX, TOP));
    if (manifest.format != MANIFEST_FORMAT && manifest.format != 1) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::ManifestFormat,
                                   .file = sourceName,
                                   .number = manifest.format,
                                   .limit = MANIFEST_FORMAT});
    }
    const toml::table& rom = reader.Table(document, "rom", TOP);
    manifest.romName = reader.Text(rom, "name", ROM);
    manifest.romPath = reader.Text(rom, "path", ROM);
    manifest.romSize = reader.Number(rom, "size", MAX_ROM_SIZE, ROM);
    manifest.romCrc = reader.Number32(rom, "crc32", ROM);
    if (manifest.romPath.empty()) reader.Refuse(ROM, ModProblemKind::RomPathEmpty);
    manifest.table = reader.Number32(reader.Table(document, "table", TOP), "offset", TABLE);

    if (document.contains("unfinished")) {
        const std::optional<bool> unfinished = document["unfinished"].value<bool>();
        if (!unfinished) reader.Refuse(TOP, ModProblemKind::UnfinishedNotBool);
        manifest.unfinished = *unfinished;
    }
    const toml::array* files = document["file"].as_array();
    if (!files) reader.Refuse(TOP, ModProblemKind::FilesMissing);
    std::set<std::string> names;
    for (size_t k = 0; k < files->size(); ++k) {
        const Where where{ManifestPlace::File, k + 1};
        const toml::table* table = files->get(k)->as_table();
        if (!table) reader.Refuse(where, ModProblemKind::NotATable);
        manifest.files.push_back(ReadFile(reader, manifest, *table, where));
        if (!names.insert(manifest.files.back().name).second) {
            reader.Refuse(where, ModProblem{.kind = ModProblemKind::ListedTwice,
                                            .text = manifest.files.back().name});
        }
    }
    const toml::node* viewNode = document.get("view");
    const toml::array* views = viewNode ? viewNode->as_array() : nullptr;
    if (viewNode && !views) reader.Refuse(TOP, ModProblemKind::ViewsNotArray);
    for (size_t k = 0; views && k < views->size(); ++k) {
        const Where where{ManifestPlace::View, k + 1};
        const toml::table* table = views->get(k)->as_table();
        if (!table) reader.Refuse(where, ModProblemKind::NotATable);
        manifest.views.push_back(ReadView(reader, *table, where));
        if (!names.insert(manifest.views.back().name).second) {
            reader.Refuse(where, ModProblem{.kind = ModProblemKind::ListedTwice,
                                            .text = manifest.views.back().name});
        }
    }
    return manifest;
}

} // namespace drovak
