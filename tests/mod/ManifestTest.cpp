// drovak.toml: what is written reads back the same, and anything else is refused with a message
// that says where and what.
#include "mod/Manifest.h"
#include "base/Errors.h"
#include "support/TestSupport.h"
#include "support/WordsOf.h"

#include <regex>
#include <tuple>

namespace drovak::test {
namespace {

Manifest Sample() {
    const SheetRecord sheet{"20000_1F.png", 0x80000000, {0x5FC00, 3, 64, 1, 4}};
    // Kind, name, index, offset, data offset, decoded size, packed size, size, CRC-32, sheet.
    const ModFile entry{ModKind::LzhEntry, "20000_1F.bin", 0x1F, 0, 0x182, 5, 0xFFFFFFFF, 62,
                        0x0000ABCD,        sheet};
    const ModFile block{ModKind::RleBlock, "48120.bin", 0, 0x48120, 0, 57344, 4517, 57344,
                        0xFFFFFFFF,        std::nullopt};
    Manifest m;
    std::tie(m.romName, m.romPath, m.romSize, m.romCrc, m.table) =
        std::tuple("tf3 (copy).bin", "../roms/tf3 (copy).bin", 0x80000, 0xFEDCBA98, 0x20000);
    m.files = {entry, block};
    m.views = {{ViewKind::LevelMap, "levels/level03.tmx", 0x1234, 2, 0, 0},
               {ViewKind::Palette, "palettes/title.gpl", 0x5678, 0, 0x6DA56, 17}};
    return m;
}

TEST(ModManifest, ReadsBackWhatItWrites) {
    const Manifest manifest = Sample();
    const std::string text = ManifestText(manifest);
    EXPECT_EQ(ParseManifest(text, "drovak.toml"), manifest);
    // Offsets and CRCs as hexadecimal, as the other tools show them.
    EXPECT_TRUE(Holds(text, "offset = 0x48120")) << text;
    EXPECT_TRUE(Holds(text, "crc32 = 0xFEDCBA98")) << text;
    // A manifest without files (a table with no entry that decodes, no block) is one too.
    Manifest empty = manifest;
    empty.files.clear();
    EXPECT_EQ(ParseManifest(ManifestText(empty), "drovak.toml"), empty);
    // A folder unpacked before the views (format 1) still packs.
    Manifest first = empty;
    first.format = 1;
    first.views.clear();
    EXPECT_EQ(ParseManifest(ManifestText(first), "drovak.toml"), first);
}

// Read from its folder, a manifest of 1 MiB is read; one byte more is refused unread, whatever
// it holds.
class ModManifestFile : public ScratchTest {};
TEST_F(ModManifestFile, OneMebibyteIsTheMost) {
    const std::string text = ManifestText(Sample()) + "# ";
    for (const size_t size : {size_t(1) << 20, (size_t(1) << 20) + 1}) {
        std::string padded = text + std::string(size - text.size() - 1, 'x') + "\n";
        Write("drovak.toml", Bytes(padded.begin(), padded.end()));
        if (size == 1u << 20) {
            EXPECT_EQ(ReadManifest(dir.path), Sample());
        } else {
            EXPECT_THROW(ReadManifest(dir.path), RefusedError);
        }
    }
}

TEST(ModManifest, RefusesWhatItDidNotWriteSayingWhereAndWhat) {
    const std::string good = ManifestText(Sample());
    // Replaces the first match of `pattern` in the good manifest.
    const auto edit = [&good](const std::string& pattern, const std::string& by) {
        return std::regex_replace(good, std::regex(pattern), by,
                                  std::regex_constants::format_first_only);
    };
    const std::pair<std::string, std::string> cases[] = {
        // the manifest; what the refusal says
        {"", "format is missing"},
        {"format = 2\n[rom\n", "line 2"},
        {"\xFF\xFE", "line 1"},
        {edit("format = 2", "format = 3"), "format 3; this drovak-cli reads formats 1 to 2"},
        {edit("format = 2", "format = '1'"), "format is not an integer"},
        {edit("level = 3", "level = 9"), "view 1: level is 9, not 0 to 8"},
        {edit("kind = 'level map'", "kind = 'map'"), "view 1: kind is \"map\""},
        {edit("name = 'levels/level03.tmx'", "name = 'levels/../../x.tmx'"),
         "view 1: name is \"levels/../../x.tmx\", not \"levels/level03.tmx\""},
        {edit("kind = 'level map'\nlevel = 3\nname = 'levels/level03.tmx'",
              "kind = 'drawing'\nlevel = 3\nname = 'levels/level03-line4.png'"),
         "view 1: name is \"levels/level03-line4.png\", not \"levels/level03-planeA.png\""},
        {edit("offset = 0x6DA56", "offset = 0x6DA58"), "view 2: not a palette the layout knows"},
        {edit("\\[table\\]\noffset = 0x20000", "[table]"), "[table]: offset is missing"},
        {edit("size = 524288", "size = -1"), "[rom]: size is -1, not 0 to 67108864"},
        {edit("crc32 = 0xFEDCBA98", "crc32 = 0x1FEDCBA98"),
         "[rom]: crc32 is 8570845848, not 0 to 4294967295"},
        {edit("path = '[^']*'", "path = ''"), "[rom]: path is empty"},
        {edit("index = 0x1F", "index = 0x20"), "file 1: index is 32, not 0 to 31"},
        {edit("kind = 'lzh'", "kind = 'bps'"), "file 1: kind is \"bps\""},
        {edit("kind = 'lzh'", "kind = 7"), "file 1: kind is not a string"},
        {edit("name = '20000_1F.bin'", "name = '../../etc/passwd'"),
         "file 1: name is \"../../etc/passwd\", not \"20000_1F.bin\""},
        {edit("name = '20000_1F.png'", "name = '20000_1E.png'"), "file 1, its sheet: name"},
        {edit("palette_line = 3", "palette_line = 4"), "palette_line is 4, not 0 to 3"},
        {edit("columns = 64", "columns = 0"), "columns and cell sides are at least 1"},
        {edit("cell_height = 4", "cell_height = 4.0"), "cell_height is not an integer"},
        {edit("sheet = \\{", "sheet = 7 #"), "file 1: sheet is not a table"},
        {good + "\n[[file]]\nkind = 'rle'\n", "file 3: offset is missing"},
        {good + "\n" +
             good.substr(good.find("[[file]]"),
                         good.find("[[file]]", good.find("[[file]]") + 1) - good.find("[[file]]")),
         "20000_1F.bin is listed twice"},
        {std::regex_replace(good, std::regex("\\[\\[file\\]\\]"), "[file]"), "line"},
    };
    for (const auto& [manifest, expected] : cases) {
        const std::string& text = manifest;
        const std::string message =
            WordsOf<RefusedError>([&] { ParseManifest(text, "mod/drovak.toml"); });
        EXPECT_TRUE(Holds(message, expected)) << "got: " << message;
        EXPECT_EQ(message.rfind("mod/drovak.toml: ", 0), 0u) << message;
    }
}

// Every number of the manifest read on its own: its largest value read, one more or a negative
// one refused, saying where, which key and its range; a sheet's sides at least 1 each.
// A manifest with one entry and its sheet, one block, a level map and a palette; `key` (as
// "where.key") set to `value`.
std::string ManifestWith(const std::string& key, const std::string& value) {
    std::string text = "format = 1\n"
                       "[rom]\nname = 'tf3.bin'\npath = 'tf3.bin'\nsize = 1\ncrc32 = 1\n"
                       "[table]\noffset = 0x20000\n"
                       "[[file]]\nkind = 'lzh'\nindex = 0x1F\ndata_offset = 1\ndecoded_size = 1\n"
                       "packed_size = 1\nsize = 1\ncrc32 = 1\nname = '20000_1F.bin'\n"
                       "sheet = { name = '20000_1F.png', crc32 = 1, palette_offset = 1, "
                       "palette_line = 1, columns = 1, cell_width = 1, cell_height = 1 }\n"
                       "[[file]]\nkind = 'rle'\noffset = 0x10\ndecoded_size = 1\npacked_size = 1\n"
                       "size = 1\ncrc32 = 1\nname = '10.bin'\n"
                       "[[view]]\nkind = 'level map'\nlevel = 1\ncrc32 = 1\n"
                       "name = 'levels/level01.tmx'\n"
                       "[[view]]\nkind = 'palette'\noffset = 0x5FC00\ncolours = 64\ncrc32 = 1\n"
                       "name = 'palettes/level01.gpl'\n";
    const size_t dot = key.rfind('.');
    const std::string section = key.substr(0, dot), name = key.substr(dot + 1);
    const size_t from = section == "rom"       ? text.find("[rom]")
                        : section == "table"   ? text.find("[table]")
                        : section == "block"   ? text.rfind("[[file]]")
                        : section == "sheet"   ? text.find("sheet = {")
                        : section == "view"    ? text.find("[[view]]")
                        : section == "palette" ? text.rfind("[[view]]")
                                               : text.find("[[file]]");
    const std::regex number("\\b" + name + " = [0-9A-Fa-fx]+");
    std::smatch found;
    const std::string rest = text.substr(from);
    EXPECT_TRUE(std::regex_search(rest, found, number)) << key;
    return text.replace(from + size_t(found.position(0)), size_t(found.length(0)),
                        name + " = " + value);
}

TEST(ModManifest, EveryNumberIsCheckedOnItsOwn) {
    const uint64_t rom = 64u << 20, u32 = UINT32_MAX;
    // clang-format off
    const std::tuple<const char*, const char*, uint64_t> keys[] = {
        {"rom.size", "[rom]", rom}, {"rom.crc32", "[rom]", u32}, {"table.offset", "[table]", u32},
        {"entry.index", "file 1", 31}, {"entry.data_offset", "file 1", u32},
        {"entry.decoded_size", "file 1", u32}, {"entry.packed_size", "file 1", u32},
        {"entry.size", "file 1", rom}, {"entry.crc32", "file 1", u32},
        {"sheet.crc32", "file 1, its sheet", u32}, {"sheet.palette_offset", "file 1, its sheet", u32},
        {"sheet.palette_line", "file 1, its sheet", 3}, {"sheet.columns", "file 1, its sheet", 2048},
        {"sheet.cell_width", "file 1, its sheet", 16}, {"sheet.cell_height", "file 1, its sheet", 16},
        {"block.offset", "file 2", rom - 1}, {"view.level", "view 1", 8},
        {"view.crc32", "view 1", u32}, {"palette.offset", "view 2", rom - 1},
        {"palette.colours", "view 2", 64}};
    // clang-format on
    for (const auto& [key, where, max] : keys) {
        const std::string k = key, name = k.substr(k.rfind('.') + 1);
        const auto refusal = [&, k = k](const std::string& value) {
            return WordsOf<RefusedError>([&] { ParseManifest(ManifestWith(k, value), "m.toml"); });
        };
        // The largest value passes the range (a block's name then differs: refused for that).
        EXPECT_FALSE(Holds(refusal(std::to_string(max)), " not 0 to ")) << key;
        for (const std::string& value : {std::to_string(max + 1), std::string("-1")})
            EXPECT_EQ(refusal(value), "m.toml: " + std::string(where) + ": " + name + " is " +
                                          value + ", not 0 to " + std::to_string(max) +
                                          "; not a manifest drovak-cli unpack wrote");
        if (name == "columns" || name.rfind("cell_", 0) == 0) {
            EXPECT_EQ(refusal("0"), "m.toml: file 1, its sheet: a sheet's columns and cell sides "
                                    "are at least 1; not a manifest drovak-cli unpack wrote");
        }
    }
    const Manifest read = ParseManifest(ManifestWith("rom.size", "1"), "m.toml");
    EXPECT_EQ(std::pair(read.files.size(), read.views.size()), std::pair(size_t(2), size_t(2)));
}

} // namespace
} // namespace drovak::test
