#include "GraphicsTestSupport.h"

#include "compression/ByteOrder.h"
#include "compression/Errors.h"
#include "graphics/Level.h"
#include "graphics/LevelExport.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace drovak {
namespace {

using namespace graphics_test;

std::vector<uint8_t> ReadFile(const std::string& path) {
    FileStream file(path, FileMode::Read);
    std::vector<uint8_t> bytes(size_t(file.Size()));
    file.ReadExact(bytes.data(), bytes.size());
    return bytes;
}

struct Chunk {
    std::string name;
    uint32_t length;
};

std::vector<Chunk> ChunkList(const std::vector<uint8_t>& file) {
    std::vector<Chunk> chunks;
    for (size_t at = 8; at + 12 <= file.size();) {
        uint32_t length = LoadBigEndian32(&file[at]);
        chunks.push_back({std::string(reinterpret_cast<const char*>(&file[at + 4]), 4), length});
        at += 12 + size_t(length);
    }
    return chunks;
}

// Reads the PNG with libpng, rows as stored (16-bit samples, big-endian), and hands each row
// to `check`.
template <class RowCheck> void ReadPngRows(const std::string& path, RowCheck check) {
    FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        FAIL() << "libpng could not read " << path;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    EXPECT_EQ(png_get_image_width(png, info), 16384u);
    EXPECT_EQ(png_get_image_height(png, info), 512u);
    EXPECT_EQ(png_get_bit_depth(png, info), 16);
    EXPECT_EQ(png_get_color_type(png, info), PNG_COLOR_TYPE_RGB_ALPHA);
    EXPECT_EQ(png_get_interlace_type(png, info), PNG_INTERLACE_NONE);
    std::vector<uint8_t> row(png_get_rowbytes(png, info));
    for (uint32_t y = 0; y < 512; ++y) {
        png_read_row(png, row.data(), nullptr);
        check(y, row);
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
}

class LevelExport : public ::testing::Test {
protected:
    TempFolder folder;
    std::string rom = folder.Write("demo.bin", DemoRomBytes());
    std::unique_ptr<FrameBuffer> frame = std::make_unique<FrameBuffer>();
};

// The whole export in one test: it is the slow one (a 64 MiB image at level 9).
TEST_F(LevelExport, WholePlaneIsTheScreensSideBySideWithBlackTransparent) {
    const unsigned level = 2;
    const std::string png = folder.File("Level_03_PlaneB.png");
    std::vector<unsigned> progress;
    frame->fill(0x777777);
    ExportLevelPng(rom, level, true, png, *frame, [&](unsigned done) {
        progress.push_back(done);
        // Each screen is in the frame buffer when progress is reported.
        EXPECT_NE(std::count(frame->begin(), frame->end(), 0x777777u), 262144);
    });
    std::vector<unsigned> expectedProgress;
    for (unsigned i = 1; i <= 32; ++i) expectedProgress.push_back(i);
    EXPECT_EQ(progress, expectedProgress);
    EXPECT_EQ(std::count(frame->begin(), frame->end(), 0u), 262144);

    // Chunk layout: IHDR, IDAT pieces of 65535 bytes but the last, IEND.
    std::vector<uint8_t> bytes = ReadFile(png);
    const uint8_t header[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0,    0,
                              0,    13,  'I', 'H', 'D',  'R',  0,    0,    0x40, 0,
                              0,    0,   2,   0,   16,   6,    0,    0,    0};
    ASSERT_GT(bytes.size(), sizeof header + 12);
    EXPECT_TRUE(std::equal(std::begin(header), std::end(header), bytes.begin()));
    const uint8_t end[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    EXPECT_TRUE(std::equal(std::begin(end), std::end(end), bytes.end() - 12));
    std::vector<Chunk> chunks = ChunkList(bytes);
    ASSERT_GE(chunks.size(), 3u);
    EXPECT_EQ(chunks.front().name, "IHDR");
    EXPECT_EQ(chunks.back().name, "IEND");
    for (size_t i = 1; i + 1 < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].name, "IDAT") << i;
        if (i + 2 < chunks.size())
            EXPECT_EQ(chunks[i].length, 65535u) << i;
        else
            EXPECT_TRUE(chunks[i].length >= 1 && chunks[i].length <= 65535) << i;
    }

    // Pixel for pixel against each screen drawn on its own.
    const LevelData data = DecodeLevel(rom, level);
    std::vector<PreviewImage> screens;
    for (unsigned screen = 0; screen < 32; ++screen) {
        screens.push_back(RenderLevel(data, true, 16 * screen, *frame));
    }
    size_t transparent = 0;
    ReadPngRows(png, [&](uint32_t y, const std::vector<uint8_t>& row) {
        for (uint32_t x = 0; x < 16384; ++x) {
            uint32_t v = screens[x / 512].Pixels[size_t(y) * 512 + x % 512];
            const uint8_t* sample = &row[8 * size_t(x)];
            const uint16_t expected[4] = {uint16_t((v & 0xFF) << 8), uint16_t(v & 0xFF00),
                                          uint16_t((v >> 8) & 0xFF00),
                                          uint16_t(v != 0 ? 0xFF00 : 0)};
            for (int s = 0; s < 4; ++s) {
                ASSERT_EQ(LoadBigEndian16(sample + 2 * s), expected[s])
                    << "sample " << s << " at " << x << "," << y;
            }
            transparent += v == 0;
        }
    });
    // Plane B's lower half is tile 0 on line 0: black, so transparent; the sky is not.
    EXPECT_GE(transparent, 16384u * 256);
    EXPECT_LT(transparent, 16384u * 512);
}

TEST_F(LevelExport, FailuresLeaveNoFileAndAnEmptyFrameBuffer) {
    std::vector<unsigned> progress;
    auto record = [&](unsigned done) { progress.push_back(done); };

    const std::string png = folder.File("out.png");
    frame->fill(5);
    EXPECT_THROW(ExportLevelPng(folder.File("missing.bin"), 0, false, png, *frame, record),
                 FileError);
    EXPECT_FALSE(std::filesystem::exists(png));
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(std::count(frame->begin(), frame->end(), 0u), 262144);

    const std::string nowhere = folder.File("no-such-folder/out.png");
    frame->fill(5);
    EXPECT_THROW(ExportLevelPng(rom, 0, false, nowhere, *frame, record), FileError);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
    EXPECT_EQ(std::count(frame->begin(), frame->end(), 0u), 262144);

    frame->fill(5);
    EXPECT_THROW(ExportLevelPng(rom, 0, false, "", *frame, record), FileError);
    EXPECT_EQ(std::count(frame->begin(), frame->end(), 0u), 262144);
}

} // namespace
} // namespace drovak
