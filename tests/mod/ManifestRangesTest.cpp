// Every number of the manifest read on its own: its largest value read, one more or a negative
// one refused, saying where, which key and its range; a sheet's sides at least 1 each.
#include "base/Errors.h"
#include "mod/Manifest.h"
#include "support/TestSupport.h"
#include "support/WordsOf.h"

#include <regex>
#include <tuple>

namespace drovak::test {
namespace {

// A manifest with one entry and its sheet, and one block; `key` (as "where.key") set to `value`.
std::string ManifestWith(const std::string& key, const std::string& value) {
    std::string text = "format = 1\n"
                       "[rom]\nname = 'tf3.bin'\npath = 'tf3.bin'\nsize = 1\ncrc32 = 1\n"
                       "[table]\noffset = 0x20000\n"
                       "[[file]]\nkind = 'lzh'\nindex = 0x1F\ndata_offset = 1\ndecoded_size = 1\n"
                       "packed_size = 1\nsize = 1\ncrc32 = 1\nname = '20000_1F.bin'\n"
                       "sheet = { name = '20000_1F.png', crc32 = 1, palette_offset = 1, "
                       "palette_line = 1, columns = 1, cell_width = 1, cell_height = 1 }\n"
                       "[[file]]\nkind = 'rle'\noffset = 0x10\ndecoded_size = 1\npacked_size = 1\n"
                       "size = 1\ncrc32 = 1\nname = '10.bin'\n";
    const size_t dot = key.rfind('.');
    const std::string section = key.substr(0, dot), name = key.substr(dot + 1);
    const size_t from = section == "rom"     ? text.find("[rom]")
                        : section == "table" ? text.find("[table]")
                        : section == "block" ? text.rfind("[[file]]")
                        : section == "sheet" ? text.find("sheet = {")
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
        {"block.offset", "file 2", rom - 1}};
    // clang-format on
    for (const auto& [key, where, max] : keys) {
        const std::string k = key, name = k.substr(k.rfind('.') + 1);
        const auto refusal = [&, k = k](const std::string& value) {
            return WordsOf<RefusedError>([&] { ParseManifest(ManifestWith(k, value), "m.toml"); });
        };
        // The largest value passes the range (a block's name then differs: refused for that).
        EXPECT_EQ(refusal(std::to_string(max)).find(" not 0 to "), std::string::npos) << key;
        for (const std::string& value : {std::to_string(max + 1), std::string("-1")}) {
            EXPECT_EQ(refusal(value), "m.toml: " + std::string(where) + ": " + name + " is " +
                                          value + ", not 0 to " + std::to_string(max) +
                                          "; not a manifest drovak-cli unpack wrote");
        }
        if (name == "columns" || name.rfind("cell_", 0) == 0) {
            EXPECT_EQ(refusal("0"), "m.toml: file 1, its sheet: a sheet's columns and cell sides "
                                    "are at least 1; not a manifest drovak-cli unpack wrote");
        }
    }
    EXPECT_EQ(ParseManifest(ManifestWith("rom.size", "1"), "m.toml").files.size(), 2u);
}

} // namespace
} // namespace drovak::test
