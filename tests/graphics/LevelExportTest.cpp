#include "GraphicsTestSupport.h"

#include "base/Errors.h"
#include "base/WholeFile.h"
#include "graphics/AllPlanesExport.h"
#include "graphics/Level.h"
#include "graphics/LevelExport.h"
#include "support/LibpngCodec.h"
#include "support/PngReading.h"
#include "support/WordsOf.h"

#include <algorithm>
#include <tuple>

namespace drovak {
namespace {

using namespace test;
using GraphicsLevelExport = GraphicsTest;

// The rows written as the progress hears of them; asked whether to go on, it says stop once
// `stopAfter` steps have been heard.
struct RecordingProgress final : Progress {
    std::vector<uint64_t> rows;
    size_t stopAfter = SIZE_MAX;
    void Step(uint64_t done, uint64_t total, std::string_view what) override {
        EXPECT_EQ(std::tie(total, what), std::tuple(512u, "rows"));
        rows.push_back(done);
    }
    bool Cancelled() const override { return rows.size() >= stopAfter; }
};

// The whole export in one test: it is the slow one (a 64 MiB image at level 9).
TEST_F(GraphicsLevelExport, WholePlaneIsTheScreensSideBySideWithBlackTransparent) {
    const std::string rom = Write("demo.bin", DemoRomBytes()), png = File("Level_03_PlaneB.png");
    RecordingProgress progress;
    ExportLevelPng(rom, 2, true, png, progress);
    // The rows written, part by part, in order, to the last.
    EXPECT_GT(progress.rows.size(), 8u);
    EXPECT_TRUE(std::is_sorted(progress.rows.begin(), progress.rows.end()));
    EXPECT_EQ(progress.rows.back(), 512u);

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
    for (uint32_t y = 0; y < 512; ++y)
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
    // Plane B's lower half is tile 0 on line 0, black in this level; the sky above is not.
    EXPECT_GE(transparent, 16384u * 256);
    EXPECT_LT(transparent, 16384u * 512);
}

// A failure or a stop leaves nothing: no new file, no temporary one, a file that was there as
// it was.
TEST_F(GraphicsLevelExport, FailuresAndStopsLeaveTheTargetAsItWas) {
    const std::string rom = Write("demo.bin", DemoRomBytes()), kept = Write("kept.png", Hex("01"));
    const std::tuple<std::string, std::string, size_t> cases[] = {
        // ROM, picture, stop after
        {File("missing.bin"), File("out.png"), SIZE_MAX},
        {rom, File("no-such-folder/out.png"), SIZE_MAX},
        {rom, "", SIZE_MAX},
        {rom, File("out.png"), 0},
        {rom, File("out.png"), 3},
        {rom, kept, 5}};
    for (const auto& [from, png, stopAfter] : cases) {
        RecordingProgress progress;
        progress.stopAfter = stopAfter;
        const auto run = [&, &from = from, &png = png] {
            ExportLevelPng(from, 0, false, png, progress);
        };
        if (stopAfter == SIZE_MAX) {
            EXPECT_THROW(run(), FileError) << png;
        } else {
            EXPECT_THROW(run(), CancelledError) << png;
            EXPECT_EQ(progress.rows.size(), stopAfter) << png;
        }
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"demo.bin", "kept.png"})) << png;
        EXPECT_EQ(ReadWholeFile(kept), Hex("01"));
    }
    // A picture with no name is refused before the ROM is read.
    EXPECT_EQ(WordsOf<FileError>([&] {
                  RecordingProgress quiet;
                  ExportLevelPng(File("missing.bin"), 0, false, "", quiet);
              }),
              "No file name given for the PNG picture");
    // All the planes: a stop before the first leaves the folder empty.
    RecordingProgress stopped;
    stopped.stopAfter = 0;
    const std::string folder = File("planes");
    std::filesystem::create_directory(folder);
    EXPECT_THROW(ExportAllLevelPngs(rom, folder, 2, stopped), CancelledError);
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

} // namespace
} // namespace drovak
