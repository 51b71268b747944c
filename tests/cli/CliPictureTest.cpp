// render and level-png: PNG files of the right size and format that read back.
#include "CliRunner.h"
#include "png/PngReading.h"

namespace drovak::testing {
namespace {

struct PngFacts {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;
    size_t rawSize = 0; // of the inflated image data, 0 when it does not inflate
};

PngFacts ReadPng(const Bytes& file) {
    PngFacts facts;
    auto chunks = ReadChunks(file);
    if (chunks.empty() || chunks.front().name != "IHDR" || chunks.front().data.size() != 13) {
        return facts;
    }
    const Bytes& header = chunks.front().data;
    facts.width = LoadBigEndian32(header.data());
    facts.height = LoadBigEndian32(header.data() + 4);
    facts.bitDepth = header[8];
    facts.colourType = header[9];
    size_t pixelSize = (facts.colourType == 6 ? 4 : 3) * facts.bitDepth / 8;
    size_t expected = size_t(facts.height) * (1 + facts.width * pixelSize);
    facts.rawSize = Inflate(JoinedImageData(chunks), expected).size();
    for (const auto& chunk : chunks) {
        if (chunk.storedCrc != chunk.computedCrc) facts.rawSize = 0;
    }
    return facts;
}

class CliPicture : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        rom_ = Path("demo.bin");
        ASSERT_EQ(Run({"make-demo-rom", rom_}).exitCode, 0);
    }
    std::string rom_;
};

TEST_F(CliPicture, RenderWritesThePictureOfTheWindow) {
    struct Case {
        std::vector<std::string> picture;
        uint32_t width, height;
    };
    const Case cases[] = {
        {{"--title"}, 320, 224},
        {{"--lzh-sheet", "--index", "9"}, 512, 224},
        {{"--rle-sheet", "--at", "48120"}, 512, 224},
        {{"--level", "8", "--plane", "B", "--column", "496"}, 512, 512},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = {"render", rom_, Path("out.png")};
        arguments.insert(arguments.end(), c.picture.begin(), c.picture.end());
        CliResult result = Run(arguments);
        ASSERT_EQ(result.exitCode, 0) << c.picture[0] << "\n" << result.err;
        PngFacts png = ReadPng(ReadBytes(Path("out.png")));
        EXPECT_EQ(png.width, c.width) << c.picture[0];
        EXPECT_EQ(png.height, c.height) << c.picture[0];
        EXPECT_EQ(png.bitDepth, 8);
        EXPECT_EQ(png.colourType, 2);
        EXPECT_EQ(png.rawSize, size_t(c.height) * (1 + c.width * 3)) << c.picture[0];
    }
}

TEST_F(CliPicture, LevelPngIsTheWholePlaneWithProgress) {
    CliResult result =
        Run({"level-png", rom_, Path("Level_01_PlaneA.png"), "--level", "1", "--plane", "A"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    PngFacts png = ReadPng(ReadBytes(Path("Level_01_PlaneA.png")));
    EXPECT_EQ(png.width, 16384u);
    EXPECT_EQ(png.height, 512u);
    EXPECT_EQ(png.bitDepth, 16);
    EXPECT_EQ(png.colourType, 6);
    EXPECT_EQ(png.rawSize, 512u * (1 + 16384 * 8));
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 32);
    EXPECT_NE(result.err.find("screen 32 of 32"), std::string::npos) << result.err;
}

} // namespace
} // namespace drovak::testing
