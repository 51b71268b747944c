#include "GraphicsTestSupport.h"

#include "compression/ByteOrder.h"
#include "compression/Lzh.h"
#include "compression/MaskedTile.h"
#include "compression/Rle.h"
#include "graphics/Level.h"
#include "graphics/MaskedTileEncoder.h"
#include "graphics/TitleScreen.h"
#include "rom/PointerTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace drovak {
namespace {

using namespace graphics_test;

TEST(MaskedTileEncoder, DecodesBackToItsInput) {
    std::vector<uint8_t> mixed(32 * 5 + 7);
    for (size_t i = 0; i < mixed.size(); ++i) {
        // Tile 0: all one value; tile 1: two values; tile 2: all different; then words of
        // name-table kind; a short tail that is padded with zeros.
        size_t tile = i / 32;
        mixed[i] = tile == 0   ? 0x41
                   : tile == 1 ? uint8_t(i % 3 ? 0x00 : 0x07)
                   : tile == 2 ? uint8_t(i * 37)
                               : uint8_t(i % 2 ? i / 5 : 0x20);
    }
    std::vector<uint8_t> encoded = MaskedTileEncode(mixed);
    MemoryStream source(encoded);
    MemoryStream decoded;
    MaskedTileDecode(source, decoded, 0);
    std::vector<uint8_t> padded = mixed;
    padded.resize(32 * 6, 0);
    EXPECT_EQ(decoded.Data(), padded);
    EXPECT_EQ(source.Position(), encoded.size()); // the end marker was the last byte read

    // A tile of one value is a count, one mask entry and nothing else.
    EXPECT_EQ(MaskedTileEncode(std::vector<uint8_t>(64, 0)).size(), 2 * 6 + 1u);
    // No tile costs more than its bytes and the count.
    EXPECT_LE(MaskedTileEncode(std::vector<uint8_t>(mixed.begin() + 64, mixed.begin() + 96)).size(),
              33 + 1u);
}

TEST(DemoRom, HoldsEveryPieceWhereTheProgramLooks) {
    const std::vector<uint8_t>& rom = DemoRomBytes();
    ASSERT_EQ(rom.size(), 0x80000u);
    EXPECT_EQ(MakeDemoRom(), rom);
    MemoryStream stream(rom);

    EXPECT_EQ(EntryCount(stream, 0x20000), 32u);
    uint32_t previousEnd = 0x20000 + 0x182;
    for (uint32_t index = 0; index < 32; ++index) {
        TableEntry entry = ReadTableEntry(stream, 0x20000, index);
        uint32_t start = 0x20000 + entry.DataOffset;
        EXPECT_GE(start, previousEnd) << index;
        previousEnd = start + entry.PackedSize;
        EXPECT_LE(previousEnd, 0x48120u) << index;
        const uint32_t expectedSize = index >= 8 && index < 16    ? 528 * 32
                                      : index >= 16 && index < 24 ? 0x7000
                                                                  : 64 * 28 * 32;
        EXPECT_EQ(entry.DecodedSize, expectedSize) << index;
        stream.Seek(start, SeekOrigin::Begin);
        MemoryStream decoded;
        LzhDecode(stream, decoded, entry.DecodedSize);
        EXPECT_GE(decoded.Size(), expectedSize) << index;
        // PackedSize covers the whole stream: the bytes after it change nothing.
        MemoryStream alone(std::vector<uint8_t>(rom.begin() + start, rom.begin() + previousEnd));
        MemoryStream decodedAlone;
        LzhDecode(alone, decodedAlone, entry.DecodedSize);
        EXPECT_EQ(decodedAlone.Data(), decoded.Data()) << index;
    }

    stream.Seek(0x48120, SeekOrigin::Begin);
    MemoryStream sprites;
    int32_t consumed = RleDecode(stream, sprites);
    EXPECT_LE(0x48120u + uint32_t(consumed), 0x5A000u);
    EXPECT_EQ(sprites.Size(), 64u * 28 * 32);

    MemoryStream titleNames;
    MaskedTileDecode(stream, titleNames, TITLE_NAME_TABLE_OFFSET);
    EXPECT_GE(titleNames.Size(), 40u * 28 * 2);
    EXPECT_LE(stream.Position(), TITLE_ART_OFFSET);
    stream.Seek(TITLE_ART_OFFSET, SeekOrigin::Begin);
    MemoryStream titleArt;
    RleDecode(stream, titleArt);
    EXPECT_GT(titleArt.Size(), 0u);
}

// Every name-table word the demo levels show on any screen of either plane.
std::set<uint16_t> LevelWords(const LevelData& level) {
    std::set<uint16_t> words;
    for (bool planeB : {false, true}) {
        for (unsigned screen = 0; screen < 32; ++screen) {
            std::vector<uint8_t> table = BuildLevelNameTable(level, planeB, 16 * screen);
            for (size_t i = 0; i < table.size(); i += 2) words.insert(LoadBigEndian16(&table[i]));
        }
    }
    return words;
}

class DemoRomLevelPictures : public ::testing::Test {
protected:
    TempFolder folder;
    std::string rom = folder.Write("demo.bin", DemoRomBytes());
    std::unique_ptr<FrameBuffer> frame = std::make_unique<FrameBuffer>();
};

TEST_F(DemoRomLevelPictures, UseFlipsBothPaletteLinesAndTheShiftedIndices) {
    std::set<PaletteTable> palettes;
    for (unsigned level = 0; level < LEVEL_COUNT; ++level) {
        LevelData data = DecodeLevel(rom, level);
        palettes.insert(data.palette);
        std::set<uint16_t> words = LevelWords(data);
        auto any = [&](auto predicate) {
            return std::any_of(words.begin(), words.end(), predicate);
        };
        EXPECT_TRUE(any([](uint16_t w) { return (w & 0x0800) && !(w & 0x1000); })) << level;
        EXPECT_TRUE(any([](uint16_t w) { return (w & 0x1000) && !(w & 0x0800); })) << level;
        EXPECT_TRUE(any([](uint16_t w) { return (w & 0x1800) == 0x1800; })) << level;
        EXPECT_TRUE(any([](uint16_t w) { return (w & 0x6000) == 0x2000; })) << level;
        EXPECT_TRUE(any([](uint16_t w) { return (w & 0x1FF) >= 0x1F0; })) << level;
    }
    EXPECT_EQ(palettes.size(), LEVEL_COUNT);
}

// Lines 2 and 3 of the level palettes are warning stripes and line 0 colours 12 and 13 paint
// the tile data that indices 496..511 skip: a correct picture shows none of them.
TEST_F(DemoRomLevelPictures, CorrectPicturesShowNoWarningColours) {
    for (unsigned level : {0u, 5u}) {
        LevelData data = DecodeLevel(rom, level);
        std::set<uint32_t> warnings(data.palette.begin() + 32, data.palette.end());
        warnings.insert(data.palette[12]);
        warnings.insert(data.palette[13]);
        for (bool planeB : {false, true}) {
            for (unsigned screen = 0; screen < 32; ++screen) {
                PreviewImage image = RenderLevel(data, planeB, 16 * screen, *frame);
                size_t black = std::count(image.Pixels.begin(), image.Pixels.end(), 0u);
                EXPECT_LT(black, image.Pixels.size()) << level << planeB << screen;
                for (uint32_t pixel : image.Pixels) {
                    ASSERT_EQ(warnings.count(pixel), 0u)
                        << "level " << level << (planeB ? " B" : " A") << " screen " << screen;
                }
            }
        }
    }
}

} // namespace
} // namespace drovak
