#include "GraphicsTestSupport.h"

#include "base/Errors.h"
#include "compression/MaskedTileEncoder.h"
#include "compression/Rle.h"
#include "graphics/TitleScreen.h"

namespace drovak {
namespace {

using namespace test;
using GraphicsTitleScreen = GraphicsTest;

TEST_F(GraphicsTitleScreen, FrameBufferRowsAre320PixelsLong) {
    frame->fill(0x123456);
    const PreviewImage image = RenderTitleScreen(Write("demo.bin", DemoRomBytes()));
    ASSERT_EQ(image.Width, 320);
    ASSERT_EQ(image.Height, 224);
    EXPECT_EQ(RenderTitleScreen(DemoRomBytes()).Pixels, image.Pixels);
    CopyToFrameBuffer(image, *frame);
    for (size_t i = 0; i < 320 * 224; ++i) ASSERT_EQ((*frame)[i], image.Pixels[i]) << i;
    EXPECT_EQ((*frame)[320 * 224], 0x123456u);
    // The border's corners are one tile drawn with the four flips: they mirror each other.
    for (unsigned i = 0; i < 64; ++i) {
        const unsigned x = i % 8, y = i / 8;
        const uint32_t topLeft = PixelAt(image, x, y);
        EXPECT_EQ(PixelAt(image, 319 - x, y), topLeft) << x << "," << y;
        EXPECT_EQ(PixelAt(image, x, 223 - y), topLeft) << x << "," << y;
        EXPECT_EQ(PixelAt(image, 319 - x, 223 - y), topLeft) << x << "," << y;
    }
    EXPECT_NE(PixelAt(image, 0, 0), PixelAt(image, 7, 7));
}

TEST_F(GraphicsTitleScreen, ShortDataLeavesBlackCellsAndAMissingRomIsAFileError) {
    // Colour 1 red; the art one tile of value 1; the name table one masked tile: 16 words.
    Bytes rom(TITLE_ART_OFFSET, 0);
    rom[TITLE_PALETTE_OFFSET + 3] = 0x0E;
    const Bytes masked = MaskedTileEncode(Bytes(32, 0));
    std::copy(masked.begin(), masked.end(), rom.begin() + TITLE_NAME_TABLE_OFFSET);
    const Bytes packed = RleEncode(SolidTile(1)).bytes;
    rom.insert(rom.end(), packed.begin(), packed.end());
    PreviewImage image = RenderTitleScreen(Write("small.bin", rom));
    ASSERT_EQ(image.Width, 320);
    ASSERT_EQ(image.Height, 224);
    EXPECT_EQ(PixelAt(image, 0, 0), 224u);
    EXPECT_EQ(PixelAt(image, 16 * 8 - 1, 7), 224u);
    EXPECT_EQ(PixelAt(image, 16 * 8, 0), 0u);
    EXPECT_EQ(PixelAt(image, 0, 8), 0u);

    rom.resize(TITLE_ART_OFFSET + 5); // the art's header and half of its one run item
    image = RenderTitleScreen(Write("cut.bin", rom));
    EXPECT_EQ(image.Pixels, std::vector<uint32_t>(320 * 224, 0));
    rom.resize(0x1000); // ends before the title data altogether
    image = RenderTitleScreen(Write("tiny.bin", rom));
    EXPECT_EQ(image.Pixels, std::vector<uint32_t>(320 * 224, 0));

    EXPECT_THROW(RenderTitleScreen(File("missing.bin")), FileError);
}

} // namespace
} // namespace drovak
