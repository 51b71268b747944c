// drovak.toml: what is written reads back the same, and anything else is refused with a message
// that says where and what.
#include "mod/Manifest.h"
#include "base/Errors.h"
#include "support/TestSupport.h"
#include "support/WordsOf.h"

#include <regex>

namespace drovak::test {
namespace {

Manifest Sample() {
    Manifest manifest;
    manifest.romName = "tf3 (copy).bin";
    manifest.romPath = "../roms/tf3 (copy).bin";
    manifest.romSize = 0x80000;
    manifest.romCrc = 0xFEDCBA98;
    manifest.table = 0x20000;
    ModFile entry;
    entry.index = 0x1F;
    entry.name = "20000_1F.bin";
    entry.dataOffset = 0x182;
    entry.decodedSize = 5;
    entry.packedSize = 0xFFFFFFFF;
    entry.size = 62;
    entry.crc = 0x0000ABCD;
    entry.sheet = SheetRecord{"20000_1F.png", 0x80000000, {0x5FC00, 3, 64, 1, 4}};
    ModFile block;
    block.kind = ModKind::RleBlock;
    block.offset = 0x48120;
    block.name = "48120.bin";
    block.decodedSize = 57344;
    block.packedSize = 4517;
    block.size = 57344;
    block.crc = 0xFFFFFFFF;
    manifest.files = {entry, block};
    manifest.views = {{ViewKind::LevelMap, "levels/level03.tmx", 0x1234, 2, 0, 0},
                      {ViewKind::Palette, "palettes/title.gpl", 0x5678, 0, 0x6DA56, 17}};
    return manifest;
}

TEST(ModManifest, ReadsBackWhatItWrites) {
    const Manifest manifest = Sample();
    const std::string text = ManifestText(manifest);
    EXPECT_EQ(ParseManifest(text, "drovak.toml"), manifest);
    // Offsets and CRCs as hexadecimal, as the other tools show them.
    EXPECT_NE(text.find("offset = 0x48120"), std::string::npos) << text;
    EXPECT_NE(text.find("crc32 = 0xFEDCBA98"), std::string::npos) << text;
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
        {edit("offset = 0x6DA56", "offset = 0x6DA58"), "view 2: not a palette the layout knows"},
        {edit("\\[table\\]\noffset = 0x20000", "[table]"), "[table]: offset is missing"},
        {edit("size = 524288", "size = -1"), "[rom]: size is -1, not 0 to 67108864"},
        {edit("crc32 = 0xFEDCBA98", "crc32 = 0x1FEDCBA98"),
         "[rom]: crc32 is 8570845848, not 0 to 4294967295"},
        {edit("path = '[^']*'", "path = ''"), "[rom]: path is empty"},
        {edit("index = 0x1F", "index = 0x20"), "file 1: index is 32, not 0 to 31"},
        {edit("kind = 'lzh'", "kind = 'bps'"), "file 1: kind is \"bps\""},
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
        EXPECT_NE(message.find(expected), std::string::npos) << "got: " << message;
        EXPECT_EQ(message.rfind("mod/drovak.toml: ", 0), 0u) << message;
    }
}

} // namespace
} // namespace drovak::test
