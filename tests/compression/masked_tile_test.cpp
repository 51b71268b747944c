#include "compression/MaskedTile.h"
#include "compression/rle_test_support.h"

#include <gtest/gtest.h>

namespace drovak {
namespace {

using test::Concat;
using test::Hex;
using test::Repeat;

std::vector<uint8_t> Sequence(uint8_t first, size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = uint8_t(first + i);
    return bytes;
}

std::vector<uint8_t> Decode(const std::vector<uint8_t>& stream, uint32_t offset = 0) {
    MemoryStream source(stream);
    MemoryStream destination;
    MaskedTileDecode(source, destination, offset);
    return destination.Data();
}

TEST(MaskedTileDecode, Records) {
    // Tile with bytes 0-3 = 01, byte 31 = 02, and bytes 4-30 taken from the literals.
    std::vector<uint8_t> mixedTile = Concat(Concat(Repeat(0x01, 4), Sequence(0x40, 27)), Hex("02"));
    struct Case {
        const char* name;
        std::vector<uint8_t> stream;
        std::vector<uint8_t> tiles;
    };
    const Case cases[] = {
        {"end marker alone", Hex("80"), {}},
        {"any byte from 0x80 ends", Hex("9A 01 05 FF FF FF FF"), {}},
        {"0xFF ends", Hex("FF"), {}},
        {"all literals", Concat(Concat(Hex("00"), Sequence(0x20, 32)), Hex("80")),
         Sequence(0x20, 32)},
        {"fully covered", Hex("01 05 FF FF FF FF 80"), Repeat(0x05, 32)},
        {"covered tile then a literal tile",
         Concat(Concat(Hex("01 05 FF FF FF FF 00"), Sequence(0x20, 32)), Hex("C3")),
         Concat(Repeat(0x05, 32), Sequence(0x20, 32))},
        {"masks and literals",
         Concat(Concat(Hex("02 01 F0 00 00 00 02 00 00 00 01"), Sequence(0x40, 27)), Hex("80")),
         mixedTile},
        {"a later mask overwrites an earlier one", Hex("02 01 FF FF FF FF 02 00 00 FF FF 80"),
         Concat(Repeat(0x01, 16), Repeat(0x02, 16))},
        // A tile depends on nothing before it: the second record's bytes are all set anew.
        {"no carry-over between tiles", Hex("01 07 FF FF FF FF 01 08 FF FF FF FF 80"),
         Concat(Repeat(0x07, 32), Repeat(0x08, 32))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Decode(c.stream), c.tiles);
    }
}

TEST(MaskedTileDecode, SeeksToTheOffsetAndStopsAfterTheMarker) {
    MemoryStream source(Hex("AA BB CC 01 05 FF FF FF FF 80 DD"));
    MemoryStream destination(Hex("EE"));
    destination.Seek(0, SeekOrigin::End);
    MaskedTileDecode(source, destination, 3);
    EXPECT_EQ(destination.Data(), Concat(Hex("EE"), Repeat(0x05, 32)));
    EXPECT_EQ(source.Position(), 10u);
}

TEST(MaskedTileDecode, StreamWithoutEndMarkerKeepsTheWholeTiles) {
    const std::vector<uint8_t> tile = Hex("01 05 FF FF FF FF");
    struct Case {
        const char* name;
        std::vector<uint8_t> stream;
        size_t tiles;
    };
    const Case cases[] = {
        {"ends after a tile", tile, 1},
        {"ends inside the mask entries", Concat(tile, Hex("03 01 FF FF")), 1},
        {"ends inside the literals", Concat(Concat(tile, Hex("00")), Sequence(0, 10)), 1},
        {"empty", {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Decode(c.stream), Repeat(0x05, 32 * c.tiles));
    }

    // An offset at or past the end decodes nothing and leaves the source as it was.
    MemoryStream source(tile);
    MemoryStream destination;
    MaskedTileDecode(source, destination, 100);
    EXPECT_EQ(destination.Size(), 0u);
    EXPECT_EQ(source.Size(), tile.size());
}

} // namespace
} // namespace drovak
