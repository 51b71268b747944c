// render and level-png: PNG files of the right size and format that read back.
#include "CliRunner.h"
#include "support/LibpngCodec.h"

#include <sys/stat.h>

namespace drovak::test {
namespace {

// "width x height, depth/colour type" of a file libpng reads.
std::string DescribePng(const Bytes& file) {
    const LibpngPicture p = DecodeWithLibpng(file);
    return std::to_string(p.width) + " x " + std::to_string(p.height) + ", " +
           std::to_string(p.bitDepth) + "/" + std::to_string(p.colourType);
}

using CliPicture = CliTest;

TEST_F(CliPicture, RenderWritesThePicturesOfTheWindow) {
    const std::string rom = File("demo.bin");
    ASSERT_TRUE(Ok(Run({"make-demo-rom", rom})));
    const std::pair<Args, std::string> cases[] = {
        {{"render", "--title"}, "320 x 224, 8/2"},
        {{"render", "--lzh-sheet", "--index", "9"}, "512 x 224, 8/2"},
        {{"render", "--rle-sheet", "--at", "48120"}, "512 x 224, 8/2"},
        {{"render", "--level", "8", "--plane", "B", "--column", "496"}, "512 x 512, 8/2"},
    };
    for (const auto& [arguments, expected] : cases) {
        Args line = {arguments[0], rom, File("out.png"), "--yes"};
        line.insert(line.end(), arguments.begin() + 1, arguments.end());
        ASSERT_TRUE(Ok(Run(line)));
        EXPECT_EQ(DescribePng(ReadBytes(File("out.png"))), expected) << arguments[1];
    }
    // A level is seen from its first column unless --column says another.
    for (const char* column : {"0", ""}) {
        Args line = {"render",  rom, File(column + std::string(".png")), "--level", "1",
                     "--plane", "A"};
        if (*column) line.insert(line.end(), {"--column", column});
        ASSERT_TRUE(Ok(Run(line)));
    }
    EXPECT_EQ(ReadBytes(File("0.png")), ReadBytes(File(".png")));
    // Each sheet shows its data's tiles 64 cells a row, in the colours tiles-to-png gives them:
    // the LZH entry's a tile a cell, the RLE block's 1 x 4 tiles.
    const std::tuple<Args, Args, const char*> sheets[] = {
        {{"lzh-extract", "--index", "9"}, {"--lzh-sheet", "--index", "9"}, "1x1"},
        {{"rle-extract", "--at", "48120"}, {"--rle-sheet", "--at", "48120"}, "1x4"}};
    for (const auto& [extract, render, cell] : sheets) {
        SCOPED_TRACE(render[0]);
        ASSERT_TRUE(Ok(Run({extract[0], rom, File("data.bin"), extract[1], extract[2], "--yes"})));
        ASSERT_TRUE(Ok(Run({"tiles-to-png", File("data.bin"), File("tiles.png"), "--rom", rom,
                            "--columns", "64", "--cell", cell, "--yes"})));
        ASSERT_TRUE(
            Ok(Run({"render", rom, File("sheet.png"), render[0], render[1], render[2], "--yes"})));
        const LibpngPicture tiles = DecodeWithLibpng(ReadBytes(File("tiles.png")));
        const LibpngPicture shown = DecodeWithLibpng(ReadBytes(File("sheet.png")));
        ASSERT_EQ(tiles.width, shown.width);
        size_t differ = 0;
        for (size_t k = 0; k < tiles.samples.size() && 3 * k + 2 < shown.samples.size(); ++k) {
            const png_color colour = tiles.palette.at(tiles.samples[k]);
            differ += shown.samples[3 * k] != colour.red ||
                      shown.samples[3 * k + 1] != colour.green ||
                      shown.samples[3 * k + 2] != colour.blue;
        }
        EXPECT_EQ(differ, 0u);
    }
}

// All 16 planes at once: each file the same as the plane exported on its own (whose format
// GraphicsLevelExport reads back), a line a plane, where a single export has a line a part of its
// rows.
TEST_F(CliPicture, LevelPngAllWritesEveryPlaneAsTheSingleExportDoes) {
    const std::string rom = File("demo.bin"), folder = File("planes");
    ASSERT_TRUE(Ok(Run({"make-demo-rom", rom})));
    // A plane that holds another picture stops the export; --yes replaces it. The files are
    // made with the umask the program started with, on every thread.
    std::filesystem::create_directory(folder);
    WriteBytes(folder + "/Level_01_PlaneA.png", {1});
    ::chmod((folder + "/Level_01_PlaneA.png").c_str(), 0600);
    const mode_t mask = ::umask(077);
    EXPECT_TRUE(Fails(Run({"level-png", rom, folder, "--all"}), 3,
                      "Level_01_PlaneA.png: already exists and holds other data"));
    EXPECT_EQ(ReadBytes(folder + "/Level_01_PlaneA.png"), Bytes{1});
    const CliResult all = Run({"level-png", rom, folder, "--all", "--yes"});
    ::umask(mask);
    ASSERT_EQ(all.exitCode, 0) << all.err;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(std::filesystem::status(entry).permissions(), std::filesystem::perms(0600))
            << entry.path();
    EXPECT_EQ(std::count(all.err.begin(), all.err.end(), '\n'), 16);
    EXPECT_TRUE(Holds(all.err, "(1 of 16)") && Holds(all.err, "(16 of 16)"));
    EXPECT_EQ(all.out.rfind(folder + " written: 16 pictures, in ", 0), 0u) << all.out;
    EXPECT_EQ(EntriesIn(folder), 16);
    // A folder that is missing is made; with no thread to be had, the calling thread exports
    // every plane alone.
    ASSERT_TRUE(Ok(Run({"level-png", rom, File("made"), "--all"},
                       {Preload(), "DROVAK_FAIL_ALWAYS=pthread_create:eio"})));
    EXPECT_EQ(EntriesIn(File("made")), 16);
    for (char level = '1'; level <= '8'; ++level)
        for (const char* plane : {"A", "B"}) {
            const std::string name = std::string("Level_0") + level + "_Plane" + plane + ".png";
            EXPECT_TRUE(Holds(all.err, name + " written")) << name;
            if (level != '1' && level != '8') continue; // the single export at both ends
            const CliResult single = Run({"level-png", rom, File("single.png"), "--level",
                                          std::string(1, level), "--plane", plane, "--yes"});
            ASSERT_EQ(single.exitCode, 0) << single.err;
            EXPECT_EQ(std::count(single.err.begin(), single.err.end(), '\n'), 32);
            EXPECT_TRUE(Holds(single.err, "rows 512 of 512"));
            EXPECT_EQ(ReadBytes(folder + "/" + name), ReadBytes(File("single.png"))) << name;
        }
    // With no thread to be had, the calling thread does the work alone.
    EXPECT_TRUE(Ok(Run({"level-png", rom, File("alone.png"), "--level", "8", "--plane", "B"},
                       {Preload(), "DROVAK_FAIL_ALWAYS=pthread_create:eio"})));
    EXPECT_EQ(ReadBytes(File("alone.png")), ReadBytes(folder + "/Level_08_PlaneB.png"));
}

} // namespace
} // namespace drovak::test
