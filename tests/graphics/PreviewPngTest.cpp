#include "graphics/PreviewPng.h"
#include "base/Errors.h"
#include "graphics/GraphicsTestSupport.h"
#include "support/LibpngCodec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace drovak {
namespace {

using namespace test;
namespace fs = std::filesystem;
using GraphicsPreviewPng = GraphicsTest;

TEST_F(GraphicsPreviewPng, ReplacesAnOldFileOrFailsLeavingEverythingAsItWas) {
    const PreviewImage image{3, 2, {0x010203, 0xFF000000u | 0x40, 0, 0, 0xFFFFFF, 0x800000}};
    const std::string path = File("out.png");
    std::ofstream(path) << std::string(100000, 'x');
    SavePreviewPng(image, path);
    const Bytes saved = ReadBytes(path);
    const LibpngPicture read = DecodeWithLibpng(saved);
    EXPECT_EQ(std::tie(read.width, read.height, read.colourType, read.bitDepth),
              std::tuple(3u, 2u, 2, 8));
    // Red, green, blue of each pixel; the top byte is not a colour.
    EXPECT_EQ(read.samples, (std::vector<uint16_t>{3, 2, 1, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255,
                                                   255, 0, 0, 0x80}));

    const std::string missingFolder = File("no such folder/out.png");
    EXPECT_NE(
        MessageOf<FileError>([&] { SavePreviewPng(image, missingFolder); }).find(missingFolder),
        std::string::npos);
    // Nothing to save: the old file stays.
    EXPECT_THROW(SavePreviewPng(PreviewImage{}, path), RefusedError);
    EXPECT_EQ(ReadBytes(path), saved);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

} // namespace
} // namespace drovak
