// LzhDecode and LzhEncode: known streams, what they leave in the streams, round trips.

#include "compression/Errors.h"
#include "compression/Lzh.h"
#include "compression/LzhBitIo.h"
#include "compression/LzhCoders.h"
#include "compression/LzhModel.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

namespace drovak {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<uint8_t> Encode(const std::vector<uint8_t>& plain) {
    MemoryStream source(plain), packed;
    LzhEncode(source, packed, uint32_t(plain.size()));
    return packed.Take();
}

std::vector<uint8_t> Decode(const std::vector<uint8_t>& packed, size_t decodedSize) {
    MemoryStream source(packed), plain;
    LzhDecode(source, plain, uint32_t(decodedSize));
    return plain.Take();
}

// Random bytes below `limit`, or with `tiles` 32-byte tiles of 4-bit pixels whose rows come
// from a few nibble patterns, with pixels changed here and there.
std::vector<uint8_t> Generate(size_t size, uint32_t seed, uint32_t limit, bool tiles = false) {
    std::mt19937 random(seed);
    const uint32_t rows[] = {0x00000000, 0x11111111, 0x12211221, 0x00333300,
                             0x45544554, 0x06600660, 0x77777777, 0x89ABBA98};
    std::vector<uint8_t> bytes;
    while (bytes.size() < size) {
        uint32_t pixels = tiles ? rows[(random() % 4 * 3 + bytes.size() / 4 % 8) % 8] : 0;
        if (tiles && random() % 6 == 0) pixels ^= (random() % 16) << (4 * (random() % 8));
        for (int shift = 24; shift >= 0; shift -= 8) {
            bytes.push_back(tiles ? uint8_t(pixels >> shift) : uint8_t(random() % limit));
        }
    }
    bytes.resize(size);
    return bytes;
}

// A stream written item by item: a literal byte, or a match of `length` at `distanceCode`.
struct Item {
    int literal = -1;
    int length = 0;
    int distanceCode = 0;
};

std::vector<uint8_t> Items(const std::vector<Item>& items) {
    auto state = std::make_unique<lzh::LzhState>();
    lzh::ResetCodecState(*state);
    lzh::ResetModel(*state);
    MemoryStream packed;
    for (const auto& item : items) {
        if (item.literal >= 0) {
            lzh::WriteSymbol(*state, packed, item.literal);
        } else {
            lzh::WriteSymbol(*state, packed, item.length + lzh::FIRST_LENGTH_SYMBOL);
            lzh::WritePosition(*state, packed, item.distanceCode);
        }
    }
    lzh::FlushBits(*state, packed);
    return packed.Take();
}

TEST(LzhCodec, KnownStreams) {
    struct {
        std::vector<uint8_t> packed;
        std::string plain;
    } cases[] = {
        {{0xF6, 0xFB, 0xBD, 0xE0}, "abc"},        // three 9-bit literals, five zero bits
        {{0xF6, 0xC9, 0x00, 0x00}, "aaaaaaaaaa"}, // a literal, a match of 9 at distance code 0
        {{0xF6, 0xFB, 0xBD, 0xF2, 0x40, 0x20}, "abcabcabcabc"}, // a match over what it writes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decode(c.packed, c.plain.size()), Bytes(c.plain)) << c.plain;
        EXPECT_EQ(Encode(Bytes(c.plain)), c.packed) << c.plain;
    }
}

TEST(LzhCodec, DecodeStopsAtAnItemBoundaryAndReadsOnlyOneByteAhead) {
    const std::vector<uint8_t> packed = {0xF6, 0xFB, 0xBD, 0xF2, 0x40, 0x20, 0xFF, 0xFF, 0xFF};
    struct {
        size_t streamLength;
        uint32_t size;
        std::string plain;
        uint64_t position;
    } cases[] = {
        {9, 1, "a", 3},            // 9 bits used: bytes 0 and 1, and byte 2 held ahead
        {9, 3, "abc", 5},          // 27 bits
        {9, 4, "abcabcabcabc", 7}, // the match is copied whole
        {4, 3, "abc", 4},          // the stream ends sooner: the source stands at its end
    };
    for (const auto& c : cases) {
        MemoryStream source(
            std::vector<uint8_t>(packed.begin(), packed.begin() + long(c.streamLength)));
        MemoryStream plain;
        LzhDecode(source, plain, c.size);
        EXPECT_EQ(plain.Data(), Bytes(c.plain)) << c.size;
        EXPECT_EQ(source.Position(), c.position) << c.size;
    }
}

TEST(LzhCodec, StartsAtTheStreamPositionsAndZeroSizesTouchNothing) {
    MemoryStream packed({0x99, 0xF6, 0xFB, 0xBD, 0xE0}), plain(Bytes("12345"));
    packed.Seek(1, SeekOrigin::Begin);
    plain.Seek(1, SeekOrigin::Begin);
    LzhDecode(packed, plain, 3);
    EXPECT_EQ(plain.Data(), Bytes("1abc5"));
    EXPECT_EQ(plain.Position(), 4u);

    plain.Seek(1, SeekOrigin::Begin);
    LzhEncode(plain, packed, 3); // "abc5" appended at position 5
    EXPECT_EQ(plain.Position(), 5u);
    EXPECT_EQ(Decode(std::vector<uint8_t>(packed.Data().begin() + 5, packed.Data().end()), 4),
              Bytes("abc5"));

    MemoryStream source(Bytes("abc")), destination(Bytes("xyz"));
    LzhDecode(source, destination, 0);
    LzhEncode(source, destination, 0);
    EXPECT_EQ(source.Position(), 0u);
    EXPECT_EQ(destination.Position(), 0u);
    EXPECT_EQ(destination.Data(), Bytes("xyz"));
}

TEST(LzhCodec, DecodedSizesOverTheLimitAreRefusedBeforeAnyIo) {
    MemoryStream source({0xF6, 0xFB, 0xBD, 0xE0}), destination;
    try {
        LzhDecode(source, destination, MAX_DECODED_SIZE + 1);
        ADD_FAILURE() << "not refused";
    } catch (const RefusedError& e) {
        EXPECT_NE(std::string(e.what()).find("16777217"), std::string::npos) << e.what();
    }
    EXPECT_EQ(source.Position(), 0u);
    EXPECT_EQ(destination.Size(), 0u);
    LzhDecode(source, destination, MAX_DECODED_SIZE);
    EXPECT_GE(destination.Size(), MAX_DECODED_SIZE);
}

// The initial window holds spaces up to position 4035 and zeros from the data's first
// position, 4036, on; a first item may copy from either.
TEST(LzhCodec, AFirstMatchCopiesFromTheInitialWindow) {
    struct {
        int length;
        int distanceCode;
        std::vector<uint8_t> plain;
    } cases[] = {
        {5, 0, Bytes("     ")},        // the space at 4035, repeated
        {3, 4035, Bytes("   ")},       // from position 0
        {4, 4090, {0, 0, 0, 0}},       // from 4041
        {6, 4095, {0, 0, 0, 0, 0, 0}}, // from 4036, the first byte it writes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decode(Items({{-1, c.length, c.distanceCode}}), c.plain.size()), c.plain)
            << c.distanceCode;
    }
    // And the encoder uses those spaces.
    EXPECT_EQ(Encode(Bytes(std::string(20, ' ') + "x")), Items({{-1, 20, 0}, {'x'}}));
}

TEST(LzhCodec, EncoderTakesTheNearestOfEqualMatches) {
    // At the third "abc" both earlier ones match three bytes; the one 4 back wins over 8.
    EXPECT_EQ(Encode(Bytes("abcdabceabcf")),
              Items({{'a'}, {'b'}, {'c'}, {'d'}, {-1, 3, 3}, {'e'}, {-1, 3, 3}, {'f'}}));
}

TEST(LzhCodec, EveryInputDecodesBackToItself) {
    std::vector<std::vector<uint8_t>> inputs = {
        Generate(100000, 1, 256),                     // literals: past five model rebuilds
        Generate(300000, 2, 0, true),                 // tile-like
        Generate(120000, 3, 12),                      // a dozen values: past a rebuild
        Bytes(std::string(100, ' ') + "  hello    "), // matches into the initial spaces
        std::vector<uint8_t>(70000, 0),               // full-length matches only
    };
    for (size_t size = 1; size < 60; ++size) { // matches cut to the bytes that remain
        inputs.push_back(std::vector<uint8_t>(size, 'a'));
        inputs.push_back(Generate(size, uint32_t(size), 0, true));
        inputs.push_back(Generate(size, uint32_t(size), 256));
    }
    for (const auto& plain : inputs) {
        ASSERT_EQ(Decode(Encode(plain), plain.size()), plain) << plain.size() << " bytes";
    }
    EXPECT_LT(Encode(inputs[1]).size(), inputs[1].size() / 4);
}

} // namespace
} // namespace drovak
