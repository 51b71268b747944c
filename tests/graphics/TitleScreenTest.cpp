#include "GraphicsTestSupport.h"

#include "compression/Errors.h"
#include "compression/Rle.h"
#include "graphics/MaskedTileEncoder.h"
#include "graphics/TitleScreen.h"

#include <gtest/gtest.h>

#include <memory>

namespace drovak {
namespace {

using namespace graphics_test;

class TitleScreen : public ::testing::Test {
protected:
    TempFolder folder;
    std::unique_ptr<FrameBuffer> frame = std::make_unique<FrameBuffer>();
};

TEST_F(TitleScreen, FrameBufferRowsAre320PixelsLong) {
    std::string rom = folder.Write("demo.bin", DemoRomBytes());
    frame->fill(0x123456);
    PreviewImage image = RenderTitleScreen(rom, *frame);
    ASSERT_EQ(image.Width, 320);
    ASSERT_EQ(image.Height, 224);
    for (size_t i = 0; i < 320 * 224; ++i) ASSERT_EQ((*frame)[i], image.Pixels[i]) << i;
    EXPECT_EQ((*frame)[320 * 224], 0x123456u);

    // The frame's corners are one tile drawn with the four flips: they mirror each other.
    for (unsigned y = 0; y < 8; ++y) {
        for (unsigned x = 0; x < 8; ++x) {
            uint32_t topLeft = PixelAt(image, x, y);
            EXPECT_EQ(PixelAt(image, 319 - x, y), topLeft) << x << "," << y;
            EXPECT_EQ(PixelAt(image, x, 223 - y), topLeft) << x << "," << y;
            EXPECT_EQ(PixelAt(image, 319 - x, 223 - y), topLeft) << x << "," << y;
        }
    }
    EXPECT_NE(PixelAt(image, 0, 0), PixelAt(image, 7, 7));
}

// A ROM holding only the title data: colour 1 is red, the art one tile of value 1.
std::vector<uint8_t> SmallTitleRom(const std::vector<uint8_t>& nameTable) {
    std::vector<uint8_t> rom(TITLE_ART_OFFSET, 0);
    rom[TITLE_PALETTE_OFFSET + 3] = 0x0E;
    std::vector<uint8_t> masked = MaskedTileEncode(nameTable);
    std::copy(masked.begin(), masked.end(), rom.begin() + TITLE_NAME_TABLE_OFFSET);
    MemoryStream art(SolidTile(1));
    MemoryStream packed;
    RleEncode(art, packed, 32);
    rom.insert(rom.end(), packed.Data().begin(), packed.Data().end());
    return rom;
}

TEST_F(TitleScreen, ShortNameTableLeavesTheRemainingCellsBlack) {
    // One masked tile: 16 name-table words, the first 16 cells of the top row.
    std::string rom = folder.Write("small.bin", SmallTitleRom(std::vector<uint8_t>(32, 0)));
    PreviewImage image = RenderTitleScreen(rom, *frame);
    ASSERT_EQ(image.Width, 320);
    ASSERT_EQ(image.Height, 224);
    const uint32_t red = 224;
    EXPECT_EQ(PixelAt(image, 0, 0), red);
    EXPECT_EQ(PixelAt(image, 16 * 8 - 1, 7), red);
    EXPECT_EQ(PixelAt(image, 16 * 8, 0), 0u);
    EXPECT_EQ(PixelAt(image, 0, 8), 0u);
}

TEST_F(TitleScreen, ArtThatEndsEarlyDrawsBlackCells) {
    std::vector<uint8_t> bytes = SmallTitleRom(std::vector<uint8_t>(2240, 0));
    bytes.resize(TITLE_ART_OFFSET + 5); // the header and half of the one run item
    PreviewImage image = RenderTitleScreen(folder.Write("cut.bin", bytes), *frame);
    EXPECT_EQ(image.Width, 320);
    EXPECT_EQ(image.Pixels, std::vector<uint32_t>(320 * 224, 0));

    // A ROM that ends before the title data altogether.
    bytes.resize(0x1000);
    image = RenderTitleScreen(folder.Write("tiny.bin", bytes), *frame);
    EXPECT_EQ(image.Pixels, std::vector<uint32_t>(320 * 224, 0));
}

TEST_F(TitleScreen, MissingRomIsAFileError) {
    EXPECT_THROW(RenderTitleScreen(folder.File("missing.bin"), *frame), FileError);
}

} // namespace
} // namespace drovak
