#include "GraphicsTestSupport.h"

#include "base/Errors.h"
#include "base/WholeFile.h"
#include "graphics/Level.h"
#include "graphics/LevelExport.h"
#include "support/LibpngCodec.h"
#include "support/PngReading.h"

#include <numeric>

namespace drovak {
namespace {

using namespace test;
using GraphicsLevelExport = GraphicsTest;

// The whole export in one test: it is the slow one (a 64 MiB image at level 9).
TEST_F(GraphicsLevelExport, WholePlaneIsTheScreensSideBySideWithBlackTransparent) {
    const std::string rom = Write("demo.bin", DemoRomBytes()), png = File("Level_03_PlaneB.png");
    std::vector<unsigned> progress, expectedProgress(32);
    std::iota(expectedProgress.begin(), expectedProgress.end(), 1u);
    frame->fill(0x777777);
    // While the picture is compressed, after the 32 screens, the caller hears of each part.
    std::vector<size_t> screensAtEachPart;
    ExportLevelPng(
        rom, 2, true, png, *frame,
        [&](unsigned done) {
            progress.push_back(done);
            // Each screen is in the frame buffer when its progress is reported.
            EXPECT_NE(std::count(frame->begin(), frame->end(), 0x777777u), 262144);
        },
        0, [&] { screensAtEachPart.push_back(progress.size()); });
    EXPECT_EQ(progress, expectedProgress);
    EXPECT_GT(screensAtEachPart.size(), 8u);
    EXPECT_EQ(screensAtEachPart.front(), 32u);
    EXPECT_EQ(std::count(frame->begin(), frame->end(), 0u), 262144);

    // IHDR, IDAT pieces of 65535 bytes but the last, IEND; every CRC right.
    const auto chunks = test::ReadChunks(ReadWholeFile(png));
    ASSERT_GE(chunks.size(), 3u);
    for (size_t i = 0; i < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].storedCrc, chunks[i].computedCrc) << i;
        EXPECT_EQ(chunks[i].name, i == 0 ? "IHDR" : i + 1 == chunks.size() ? "IEND" : "IDAT");
        if (i == 0 || i + 1 == chunks.size()) continue;
        const size_t size = chunks[i].data.size();
        EXPECT_TRUE(size == 65535 || (i + 2 == chunks.size() && size > 0)) << i << ": " << size;
    }

    // Pixel for pixel against each screen drawn on its own; pure black is transparent.
    const LevelData data = DecodeLevel(rom, 2);
    std::vector<PreviewImage> screens;
    for (unsigned screen = 0; screen < 32; ++screen)
        screens.push_back(AssembleLevelScreen(data, true, screen));
    const LibpngPicture read = DecodeWithLibpng(ReadWholeFile(png));
    EXPECT_EQ(std::tie(read.width, read.height, read.bitDepth, read.colourType),
              std::tuple(16384u, 512u, 16, PNG_COLOR_TYPE_RGB_ALPHA));
    ASSERT_EQ(read.samples.size(), 16384u * 512 * 4);
    size_t transparent = 0;
    for (uint32_t y = 0; y < 512; ++y) {
        for (uint32_t x = 0; x < 16384; ++x) {
            // 16-bit samples are the 8-bit values times 257: opaque is 0xFFFF.
            const uint32_t v = screens[x / 512].Pixels[size_t(y) * 512 + x % 512];
            const uint16_t expected[4] = {
                uint16_t((v & 0xFF) * 257), uint16_t((v >> 8 & 0xFF) * 257),
                uint16_t((v >> 16 & 0xFF) * 257), uint16_t(v ? 0xFFFF : 0)};
            ASSERT_TRUE(
                std::equal(expected, expected + 4, &read.samples[4 * (size_t(y) * 16384 + x)]))
                << x << "," << y;
            transparent += v == 0;
        }
    }
    // Plane B's lower half is tile 0 on line 0, black in this level; the sky above is not.
    EXPECT_GE(transparent, 16384u * 256);
    EXPECT_LT(transparent, 16384u * 512);
}

TEST_F(GraphicsLevelExport, FailuresLeaveNoFileAndAnEmptyFrameBuffer) {
    const std::string rom = Write("demo.bin", DemoRomBytes());
    const std::pair<std::string, std::string> cases[] = {
        {File("missing.bin"), File("out.png")}, {rom, File("no-such-folder/out.png")}, {rom, ""}};
    for (const auto& [romPath, png] : cases) {
        frame->fill(5);
        EXPECT_THROW(ExportLevelPng(romPath, 0, false, png, *frame), FileError) << png;
        EXPECT_FALSE(!png.empty() && std::filesystem::exists(png)) << png;
        EXPECT_EQ(std::count(frame->begin(), frame->end(), 0u), 262144) << png;
    }
}

} // namespace
} // namespace drovak
