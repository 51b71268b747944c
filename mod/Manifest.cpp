#include "mod/Manifest.h"

#include "base/FolderFiles.h"
#include "base/Folders.h"

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

toml::table FileTable(const ModFile& file) {
    toml::table table{{"name", file.name}};
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

} // namespace

std::string ManifestText(const Manifest& manifest) {
    toml::array files;
    for (const ModFile& file : manifest.files) files.push_back(FileTable(file));
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
    std::ostringstream text;
    text << "# Written by drovak-cli unpack: the ROM image this folder was unpacked from, and\n"
            "# each file as it was written (drovak-cli pack puts back what changed).\n\n"
         << document << "\n";
    return text.str();
}

Manifest ReadManifest(const std::string& dir) {
    const std::string path = PathIn(dir, MANIFEST_NAME);
    // A manifest is a few kilobytes; anything near a megabyte is not one.
    const std::vector<uint8_t> bytes =
        ReadFileInsideFolder(dir, MANIFEST_NAME, 1u << 20, "a manifest holds (1 MiB)");
    return ParseManifest(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path);
}

void WriteManifest(const std::string& dir, const Manifest& manifest) {
    const std::string text = ManifestText(manifest);
    WriteFileInFolder(dir, MANIFEST_NAME, std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace drovak
