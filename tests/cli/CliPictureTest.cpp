// render and level-png: PNG files of the right size and format that read back.
#include "CliRunner.h"
#include "support/PngReading.h"

namespace drovak::test {
namespace {

// "width x height, depth/colour type", with " bad" when a CRC is wrong or the image data does
// not inflate to exactly its rows.
std::string DescribePng(const Bytes& file) {
    auto chunks = ReadChunks(file);
    if (chunks.empty() || chunks[0].name != "IHDR" || chunks[0].data.size() != 13) return "no PNG";
    const uint8_t* header = chunks[0].data.data();
    const uint32_t width = LoadBigEndian32(header), height = LoadBigEndian32(header + 4);
    const size_t rawSize = height * (1 + width * size_t(header[9] == 6 ? 4 : 3) * header[8] / 8);
    bool good = Inflate(JoinedImageData(chunks), rawSize).size() == rawSize;
    for (const auto& chunk : chunks) good = good && chunk.storedCrc == chunk.computedCrc;
    return std::to_string(width) + " x " + std::to_string(height) + ", " +
           std::to_string(header[8]) + "/" + std::to_string(header[9]) + (good ? "" : " bad");
}

using CliPicture = CliTest;

TEST_F(CliPicture, RenderAndLevelPngWriteThePicturesOfTheWindow) {
    const std::string rom = File("demo.bin");
    ASSERT_EQ(Run({"make-demo-rom", rom}).exitCode, 0);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"render", "--title"}, "320 x 224, 8/2"},
        {{"render", "--lzh-sheet", "--index", "9"}, "512 x 224, 8/2"},
        {{"render", "--rle-sheet", "--at", "48120"}, "512 x 224, 8/2"},
        {{"render", "--level", "8", "--plane", "B", "--column", "496"}, "512 x 512, 8/2"},
        {{"level-png", "--level", "1", "--plane", "A"}, "16384 x 512, 16/6"},
    };
    for (const auto& [arguments, expected] : cases) {
        std::vector<std::string> line = {arguments[0], rom, File("out.png")};
        line.insert(line.end(), arguments.begin() + 1, arguments.end());
        CliResult result = Run(line);
        ASSERT_EQ(result.exitCode, 0) << arguments[1] << "\n" << result.err;
        EXPECT_EQ(DescribePng(ReadBytes(File("out.png"))), expected) << arguments[1];
        if (arguments[0] == "level-png") { // progress: a line a screen
            EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 32);
            EXPECT_NE(result.err.find("screen 32 of 32"), std::string::npos) << result.err;
        }
    }
}

// All 16 planes at once: each file the same as the plane exported on its own.
TEST_F(CliPicture, LevelPngAllWritesEveryPlaneAsTheSingleExportDoes) {
    const std::string rom = File("demo.bin"), folder = File("planes");
    ASSERT_EQ(Run({"make-demo-rom", rom}).exitCode, 0);
    const CliResult all = Run({"level-png", rom, folder, "--all"});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(std::count(all.err.begin(), all.err.end(), '\n'), 16);
    EXPECT_NE(all.err.find("(16 of 16)"), std::string::npos) << all.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              16);
    for (char level = '1'; level <= '8'; ++level) {
        for (const char* plane : {"A", "B"}) {
            const std::string name = std::string("Level_0") + level + "_Plane" + plane + ".png";
            ASSERT_EQ(Run({"level-png", rom, File("single.png"), "--level", std::string(1, level),
                           "--plane", plane})
                          .exitCode,
                      0);
            EXPECT_EQ(ReadBytes(folder + "/" + name), ReadBytes(File("single.png"))) << name;
            EXPECT_NE(all.err.find(name + " written"), std::string::npos) << name;
        }
    }
}

} // namespace
} // namespace drovak::test
