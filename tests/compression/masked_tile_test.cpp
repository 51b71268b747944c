#include "compression/MaskedTile.h"
#include "compression/test_support.h"

#include <gtest/gtest.h>

#include <numeric>

namespace drovak {
namespace {

using test::Bytes;
using test::Cat;
using test::Hex;

Bytes Sequence(uint8_t first, size_t count) {
    Bytes bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

Bytes Decode(const Bytes& stream) {
    MemoryStream source(stream), destination;
    MaskedTileDecode(source, destination, 0);
    return destination.Data();
}

TEST(MaskedTileDecode, Streams) {
    const Bytes tile = Hex("01 05 FF FF FF FF"), fives(32, 5);
    const struct {
        const char* name;
        Bytes stream;
        Bytes tiles;
    } cases[] = {
        {"end marker alone", Hex("80"), {}},
        {"any byte from 0x80 ends", Hex("9A 01 05 FF FF FF FF"), {}},
        {"0xFF ends", Hex("FF"), {}},
        {"all literals", Cat(Hex("00"), Sequence(0x20, 32), Hex("80")), Sequence(0x20, 32)},
        {"fully covered", Cat(tile, Hex("80")), fives},
        {"covered tile then a literal tile", Cat(tile, Hex("00"), Sequence(0x20, 32), Hex("C3")),
         Cat(fives, Sequence(0x20, 32))},
        {"masks and literals",
         Cat(Hex("02 01 F0 00 00 00 02 00 00 00 01"), Sequence(0x40, 27), Hex("80")),
         Cat(Bytes(4, 1), Sequence(0x40, 27), Hex("02"))},
        {"a later mask overwrites an earlier one", Hex("02 01 FF FF FF FF 02 00 00 FF FF 80"),
         Cat(Bytes(16, 1), Bytes(16, 2))},
        {"no carry-over between tiles", Hex("01 07 FF FF FF FF 01 08 FF FF FF FF 80"),
         Cat(Bytes(32, 7), Bytes(32, 8))},
        // Without an end marker the whole tiles decoded so far are kept.
        {"ends after a tile", tile, fives},
        {"ends inside the mask entries", Cat(tile, Hex("03 01 FF FF")), fives},
        {"ends inside the literals", Cat(tile, Hex("00"), Sequence(0, 10)), fives},
        {"empty", {}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Decode(c.stream), c.tiles) << c.name;
}

TEST(MaskedTileDecode, SeeksToTheOffsetAndStopsAfterTheMarker) {
    MemoryStream source(Hex("AA BB CC 01 05 FF FF FF FF 80 DD")), destination(Hex("EE"));
    destination.Seek(0, SeekOrigin::End);
    MaskedTileDecode(source, destination, 3);
    EXPECT_EQ(destination.Data(), Cat(Hex("EE"), Bytes(32, 5)));
    EXPECT_EQ(source.Position(), 10u);

    // An offset past the end decodes nothing and leaves the source as it was.
    MemoryStream empty;
    MaskedTileDecode(source, empty, 100);
    EXPECT_EQ(empty.Size(), 0u);
    EXPECT_EQ(source.Size(), 11u);
}

} // namespace
} // namespace drovak
