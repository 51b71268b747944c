#include "compression/MaskedTile.h"
#include "base/Crc32.h"
#include "compression/MaskedTileEncoder.h"
#include "support/TestSupport.h"

#include <random>
#include <tuple>

namespace drovak {
namespace {

using namespace test;

// A record is a count byte, that many (value, 4-byte mask) entries, then one literal for every
// byte no mask covers; a count from 0x80 ends the stream.
TEST(CompressionMaskedTile, Streams) {
    const Bytes tile = Hex("01 05 FF FF FF FF"), fives(32, 5), literals = Pattern(32, 0x20);
    const std::tuple<const char*, Bytes, Bytes> cases[] = {
        // name, stream, tiles
        {"end marker alone", Hex("80"), {}},
        {"any byte from 0x80 ends", Hex("9A 01 05 FF FF FF FF"), {}},
        {"0xFF ends", Hex("FF"), {}},
        {"all literals", Cat(Hex("00"), literals, Hex("80")), literals},
        {"fully covered", Cat(tile, Hex("80")), fives},
        {"covered tile then a literal tile", Cat(tile, Hex("00"), literals, Hex("C3")),
         Cat(fives, literals)},
        {"masks and literals",
         Cat(Hex("02 01 F0 00 00 00 02 00 00 00 01"), Slice(literals, 0, 27), Hex("80")),
         Cat(Bytes(4, 1), Slice(literals, 0, 27), Hex("02"))},
        {"a later mask overwrites an earlier one", Hex("02 01 FF FF FF FF 02 00 00 FF FF 80"),
         Cat(Bytes(16, 1), Bytes(16, 2))},
        {"no carry-over between tiles", Hex("01 07 FF FF FF FF 01 08 FF FF FF FF 80"),
         Cat(Bytes(32, 7), Bytes(32, 8))},
        // Without an end marker the whole tiles decoded so far are kept.
        {"ends after a tile", tile, fives},
        {"ends inside the mask entries", Cat(tile, Hex("03 01 FF FF")), fives},
        {"ends inside the literals", Cat(tile, Hex("00"), Slice(literals, 0, 10)), fives},
        {"empty", {}, {}},
    };
    for (const auto& [name, stream, tiles] : cases)
        EXPECT_EQ(MaskedTileDecode(stream, 0), tiles) << name;
}

TEST(CompressionMaskedTile, StartsAtTheOffsetAndStopsAtTheMarker) {
    const Bytes source = Hex("AA BB CC 01 05 FF FF FF FF 80 DD");
    EXPECT_EQ(MaskedTileDecode(source, 3), Bytes(32, 5)); // DD, after the marker, is no record
    // An offset at or past the end decodes nothing.
    for (const size_t at : {11, 100}) EXPECT_EQ(MaskedTileDecode(source, at), Bytes{}) << at;
}

// The encoder: every tile back as it was (a last, shorter one padded with zeros), and its
// records byte for byte; a value in more than five places of a tile takes a mask.
TEST(CompressionMaskedTile, EncodedTilesDecodeBackAndKeepTheirBytes) {
    std::mt19937 random(7);
    Bytes streams;
    for (size_t size : {0, 1, 31, 32, 33, 32 * 20})
        for (unsigned values : {1u, 2u, 6u, 7u, 256u}) {
            Bytes data(size);
            for (auto& byte : data) byte = uint8_t(random() % values * 0x35);
            const Bytes stream = MaskedTileEncode(data);
            data.resize((size + 31) / 32 * 32, 0);
            EXPECT_EQ(MaskedTileDecode(stream, 0), data) << size << " bytes, " << values;
            streams.insert(streams.end(), stream.begin(), stream.end());
        }
    EXPECT_EQ(MaskedTileEncode(Bytes(32, 5)), Hex("01 05 FF FF FF FF 80"));
    EXPECT_EQ(CrcText(Crc32(streams)), "49776031");
}

} // namespace
} // namespace drovak
