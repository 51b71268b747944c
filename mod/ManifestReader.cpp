// The manifest read back: every key checked for its type and range, every name for the one its
// record gives, so that what a pack reads from the folder is what an unpack wrote there.
#include "mod/Manifest.h"

#include "base/Errors.h"
#include "graphics/TilePalette.h"
#include "graphics/TileSheet.h"
#include "rom/PointerTable.h"
#include "rom/RomFile.h"
#include "rom/RomLayout.h"

#include <toml++/toml.h>

#include <set>
#include <utility>

namespace drovak {

namespace {

class Reader {
public:
    explicit Reader(std::string sourceName) : source_(std::move(sourceName)) {}

    [[noreturn]] void Refuse(const std::string& where, const std::string& what) const {
        throw RefusedError(source_ + ": " + where + ": " + what +
                           "; not a manifest drovak-cli unpack wrote");
    }

    const toml::table& Table(const toml::table& in, const char* key,
                             const std::string& where) const {
        const toml::table* table = in[key].as_table();
        if (!table) Refuse(where, Missing(in, key, "a table"));
        return *table;
    }

    uint64_t Number(const toml::table& in, const char* key, uint64_t max,
                    const std::string& where) const {
        const auto* value = in[key].as_integer();
        if (!value) Refuse(where, Missing(in, key, "an integer"));
        const int64_t number = value->get();
        if (number < 0 || uint64_t(number) > max) {
            Refuse(where, std::string(key) + " is " + std::to_string(number) + ", not 0 to " +
                              std::to_string(max));
        }
        return uint64_t(number);
    }
    uint32_t Number32(const toml::table& in, const char* key, const std::string& where) const {
        return uint32_t(Number(in, key, UINT32_MAX, where));
    }

    std::string Text(const toml::table& in, const char* key, const std::string& where) const {
        const auto* value = in[key].as_string();
        if (!value) Refuse(where, Missing(in, key, "a string"));
        return value->get();
    }

private:
    static std::string Missing(const toml::table& in, const char* key, const char* type) {
        return in.contains(key) ? std::string(key) + " is not " + type
                                : std::string(key) + " is missing";
    }
    std::string source_;
};

SheetLayout ReadLayout(const Reader& reader, const toml::table& sheet, const std::string& where) {
    SheetLayout layout;
    layout.paletteOffset = reader.Number32(sheet, "palette_offset", where);
    layout.paletteLine =
        unsigned(reader.Number(sheet, "palette_line", PALETTE_LINE_COUNT - 1, where));
    layout.columns = unsigned(reader.Number(sheet, "columns", MAX_SHEET_COLUMNS, where));
    layout.cellWidth = unsigned(reader.Number(sheet, "cell_width", MAX_CELL_SIDE, where));
    layout.cellHeight = unsigned(reader.Number(sheet, "cell_height", MAX_CELL_SIDE, where));
    if (layout.columns == 0 || layout.cellWidth == 0 || layout.cellHeight == 0) {
        reader.Refuse(where, "a sheet's columns and cell sides are at least 1");
    }
    return layout;
}

ModFile ReadFile(const Reader& reader, const Manifest& manifest, const toml::table& table,
                 const std::string& where) {
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
        reader.Refuse(where, "kind is \"" + kind + "\", not \"lzh\" or \"rle\"");
    }
    file.decodedSize = reader.Number32(table, "decoded_size", where);
    file.packedSize = reader.Number32(table, "packed_size", where);
    file.size = reader.Number(table, "size", MAX_ROM_SIZE, where);
    file.crc = reader.Number32(table, "crc32", where);
    file.name = reader.Text(table, "name", where);
    if (file.name != DataFileName(manifest, file)) {
        reader.Refuse(where, "name is \"" + file.name + "\", not \"" +
                                 DataFileName(manifest, file) + "\" as its kind and place give");
    }
    if (table.contains("sheet")) {
        const toml::table& sheet = reader.Table(table, "sheet", where);
        const std::string sheetWhere = where + ", its sheet";
        file.sheet = SheetRecord{reader.Text(sheet, "name", sheetWhere),
                                 reader.Number32(sheet, "crc32", sheetWhere),
                                 ReadLayout(reader, sheet, sheetWhere)};
        if (file.sheet->name != SheetFileName(manifest, file)) {
            reader.Refuse(sheetWhere, "name is \"" + file.sheet->name + "\", not \"" +
                                          SheetFileName(manifest, file) + "\"");
        }
    }
    return file;
}

ViewRecord ReadView(const Reader& reader, const toml::table& table, const std::string& where) {
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
        reader.Refuse(where,
                      "kind is \"" + kind +
                          "\", not \"level map\", \"block map\", \"palette\" or \"drawing\"");
    }
    if (view.kind == ViewKind::Palette) {
        view.offset = uint32_t(reader.Number(table, "offset", MAX_ROM_SIZE - 1, where));
        view.colours = unsigned(reader.Number(table, "colours", PALETTE_SIZE / 2, where));
    } else {
        view.level = unsigned(reader.Number(table, "level", LEVEL_COUNT, where));
        if (view.level == 0) reader.Refuse(where, "level is 0, not 1 to 8");
        view.level -= 1;
    }
    view.crc = reader.Number32(table, "crc32", where);
    view.name = reader.Text(table, "name", where);
    const std::string expected = ViewName(view);
    if (expected.empty()) reader.Refuse(where, "not a palette the layout knows");
    if (view.name != expected) {
        reader.Refuse(where, "name is \"" + view.name + "\", not \"" + expected +
                                 "\" as its kind and place give");
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
        throw RefusedError(sourceName + ": line " + std::to_string(at.line) + ", column " +
                           std::to_string(at.column) + ": " + std::string(error.description()) +
                           "; not a manifest drovak-cli unpack wrote");
    }
    const Reader reader(sourceName);
    Manifest manifest;
    manifest.format = int64_t(reader.Number(document, "format", INT64_MAX, "the top"));
    if (manifest.format != MANIFEST_FORMAT && manifest.format != 1) {
        throw RefusedError(sourceName + ": format " + std::to_string(manifest.format) +
                           "; this drovak-cli reads formats 1 to " +
                           std::to_string(MANIFEST_FORMAT));
    }
    const toml::table& rom = reader.Table(document, "rom", "the top");
    manifest.romName = reader.Text(rom, "name", "[rom]");
    manifest.romPath = reader.Text(rom, "path", "[rom]");
    manifest.romSize = reader.Number(rom, "size", MAX_ROM_SIZE, "[rom]");
    manifest.romCrc = reader.Number32(rom, "crc32", "[rom]");
    if (manifest.romPath.empty()) reader.Refuse("[rom]", "path is empty");
    manifest.table =
        reader.Number32(reader.Table(document, "table", "the top"), "offset", "[table]");

    if (document.contains("unfinished")) {
        const std::optional<bool> unfinished = document["unfinished"].value<bool>();
        if (!unfinished) reader.Refuse("the top", "unfinished is not true or false");
        manifest.unfinished = *unfinished;
    }
    const toml::array* files = document["file"].as_array();
    if (!files) reader.Refuse("the top", "[[file]] is missing or not an array of tables");
    std::set<std::string> names;
    for (size_t k = 0; k < files->size(); ++k) {
        const std::string where = "file " + std::to_string(k + 1);
        const toml::table* table = files->get(k)->as_table();
        if (!table) reader.Refuse(where, "not a table");
        manifest.files.push_back(ReadFile(reader, manifest, *table, where));
        if (!names.insert(manifest.files.back().name).second) {
            reader.Refuse(where, manifest.files.back().name + " is listed twice");
        }
    }
    const toml::node* viewNode = document.get("view");
    const toml::array* views = viewNode ? viewNode->as_array() : nullptr;
    if (viewNode && !views) reader.Refuse("the top", "[[view]] is not an array of tables");
    for (size_t k = 0; views && k < views->size(); ++k) {
        const std::string where = "view " + std::to_string(k + 1);
        const toml::table* table = views->get(k)->as_table();
        if (!table) reader.Refuse(where, "not a table");
        manifest.views.push_back(ReadView(reader, *table, where));
        if (!names.insert(manifest.views.back().name).second) {
            reader.Refuse(where, manifest.views.back().name + " is listed twice");
        }
    }
    return manifest;
}

} // namespace drovak
