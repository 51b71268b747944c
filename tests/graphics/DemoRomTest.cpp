#include "GraphicsTestSupport.h"

#include "compression/ByteOrder.h"
#include "compression/Lzh.h"
#include "compression/MaskedTile.h"
#include "compression/Rle.h"
#include "graphics/Level.h"
#include "graphics/MaskedTileEncoder.h"
#include "graphics/TitleScreen.h"
#include "rom/PointerTable.h"

#include <set>

namespace drovak {
namespace {

using namespace graphics_test;
using DemoRomLevelPictures = GraphicsTest;

TEST(MaskedTileEncoder, DecodesBackToItsInput) {
    // Tile 0 all one value, tile 1 two values, tile 2 all different, then name-table words
    // and a short tail that is padded with zeros.
    Bytes mixed(32 * 5 + 7);
    for (size_t i = 0; i < mixed.size(); ++i) {
        const size_t tile = i / 32;
        mixed[i] = tile == 0   ? 0x41
                   : tile == 1 ? uint8_t(i % 3 ? 0x00 : 0x07)
                   : tile == 2 ? uint8_t(i * 37)
                               : uint8_t(i % 2 ? i / 5 : 0x20);
    }
    const Bytes encoded = MaskedTileEncode(mixed);
    MemoryStream source(encoded), decoded;
    MaskedTileDecode(source, decoded, 0);
    Bytes padded = mixed;
    padded.resize(32 * 6, 0);
    EXPECT_EQ(decoded.Data(), padded);
    EXPECT_EQ(source.Position(), encoded.size()); // the end marker was the last byte read
    // A tile of one value is a count and one mask entry; no tile costs more than 33 bytes.
    EXPECT_EQ(MaskedTileEncode(Bytes(64, 0)).size(), 2 * 6 + 1u);
    EXPECT_LE(MaskedTileEncode(Bytes(mixed.begin() + 64, mixed.begin() + 96)).size(), 33 + 1u);
}

TEST(DemoRom, HoldsEveryPieceWhereTheProgramLooks) {
    const Bytes& rom = DemoRomBytes();
    ASSERT_EQ(rom.size(), 0x80000u);
    EXPECT_EQ(MakeDemoRom(), rom);
    MemoryStream stream(rom);
    EXPECT_EQ(EntryCount(stream, 0x20000), 32u);
    for (uint32_t index = 0; index < 32; ++index) {
        // Each stream, decoded on its own as PackedSize bounds it, gives its DecodedSize.
        const TableEntry entry = ReadTableEntry(stream, 0x20000, index);
        const auto start = rom.begin() + 0x20000 + entry.DataOffset;
        MemoryStream alone(Bytes(start, start + entry.PackedSize)), decoded;
        LzhDecode(alone, decoded, entry.DecodedSize);
        EXPECT_EQ(entry.DecodedSize, index / 8 == 1   ? 528 * 32
                                     : index / 8 == 2 ? 0x7000
                                                      : 57344)
            << index;
        EXPECT_GE(decoded.Size(), entry.DecodedSize) << index;
    }
    MemoryStream sprites, titleNames;
    stream.Seek(0x48120, SeekOrigin::Begin);
    RleDecode(stream, sprites);
    EXPECT_EQ(sprites.Size(), 64u * 28 * 32);
    MaskedTileDecode(stream, titleNames, TITLE_NAME_TABLE_OFFSET);
    EXPECT_GE(titleNames.Size(), 40u * 28 * 2);
    EXPECT_LE(stream.Position(), TITLE_ART_OFFSET);
}

// The demo levels use both flips, palette line 1 and indices 496..511. Lines 2 and 3 of their
// palettes are warning stripes, and line 0 colours 12 and 13 paint the tile data that indices
// 496..511 skip: a correct picture shows none of them.
TEST_F(DemoRomLevelPictures, UseEveryKindOfWordAndShowNoWarningColours) {
    const std::string rom = Write("demo.bin", DemoRomBytes());
    for (unsigned level : {0u, 5u}) {
        const LevelData data = DecodeLevel(rom, level);
        std::set<uint32_t> warnings(data.palette.begin() + 32, data.palette.end());
        warnings.insert({data.palette[12], data.palette[13]});
        unsigned seen = 0; // bit n: flips n (1 = horizontal, 2 = vertical); 16: line 1; 32: 496+
        for (bool planeB : {false, true}) {
            for (unsigned column = 0; column < 512; column += 16) {
                const Bytes table = BuildLevelNameTable(data, planeB, column);
                for (size_t i = 0; i < table.size(); i += 2) {
                    const uint16_t word = LoadBigEndian16(&table[i]);
                    seen |= 1u << (word >> 11 & 3) | ((word & 0x6000) == 0x2000) << 4 |
                            ((word & 0x1FF) >= 0x1F0) << 5;
                }
                const PreviewImage image = RenderLevel(data, planeB, column, *frame);
                EXPECT_NE(std::count(image.Pixels.begin(), image.Pixels.end(), 0u),
                          long(image.Pixels.size()));
                for (uint32_t pixel : image.Pixels) {
                    ASSERT_EQ(warnings.count(pixel), 0u)
                        << "level " << level << (planeB ? " B" : " A") << " column " << column;
                }
            }
        }
        EXPECT_EQ(seen, 63u) << level;
    }
}

} // namespace
} // namespace drovak
