// render and level-png: PNG files of the right size and format that read back.
#include "CliRunner.h"
#include "png/PngReading.h"

namespace drovak::testing {
namespace {

// "width x height, depth/colour type", with "bad" when a CRC is wrong or the image data does
// not inflate to exactly its rows.
std::string DescribePng(const Bytes& file) {
    auto chunks = ReadChunks(file);
    if (chunks.empty() || chunks[0].name != "IHDR" || chunks[0].data.size() != 13) return "no PNG";
    const uint8_t* header = chunks[0].data.data();
    uint32_t width = LoadBigEndian32(header), height = LoadBigEndian32(header + 4);
    size_t pixelSize = (header[9] == 6 ? 4 : 3) * header[8] / 8;
    size_t rawSize = size_t(height) * (1 + width * pixelSize);
    bool good = Inflate(JoinedImageData(chunks), rawSize).size() == rawSize;
    for (const auto& chunk : chunks) good = good && chunk.storedCrc == chunk.computedCrc;
    return std::to_string(width) + " x " + std::to_string(height) + ", " +
           std::to_string(header[8]) + "/" + std::to_string(header[9]) + (good ? "" : " bad");
}

class CliPicture : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        ASSERT_EQ(Run({"make-demo-rom", rom_ = Path("demo.bin")}).exitCode, 0);
    }
    std::string rom_;
};

TEST_F(CliPicture, RenderWritesThePictureOfTheWindow) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--title"}, "320 x 224, 8/2"},
        {{"--lzh-sheet", "--index", "9"}, "512 x 224, 8/2"},
        {{"--rle-sheet", "--at", "48120"}, "512 x 224, 8/2"},
        {{"--level", "8", "--plane", "B", "--column", "496"}, "512 x 512, 8/2"},
    };
    for (const auto& [picture, expected] : cases) {
        std::vector<std::string> arguments = {"render", rom_, Path("out.png")};
        arguments.insert(arguments.end(), picture.begin(), picture.end());
        CliResult result = Run(arguments);
        ASSERT_EQ(result.exitCode, 0) << picture[0] << "\n" << result.err;
        EXPECT_EQ(DescribePng(ReadBytes(Path("out.png"))), expected) << picture[0];
    }
}

TEST_F(CliPicture, LevelPngIsTheWholePlaneWithProgress) {
    std::string png = Path("Level_01_PlaneA.png");
    CliResult result = Run({"level-png", rom_, png, "--level", "1", "--plane", "A"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(DescribePng(ReadBytes(png)), "16384 x 512, 16/6");
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 32);
    EXPECT_NE(result.err.find("screen 32 of 32"), std::string::npos) << result.err;
}

} // namespace
} // namespace drovak::testing
