// LzhDecode and LzhEncode: known streams, what they leave in the streams, round trips.

#include "compression/Errors.h"
#include "compression/Lzh.h"
#include "compression/LzhBitIo.h"
#include "compression/LzhCoders.h"
#include "compression/LzhModel.h"
#include "compression/test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace drovak {
namespace {

using test::Bytes;

Bytes Text(const std::string& text) {
    return {text.begin(), text.end()};
}

Bytes Encode(const Bytes& plain) {
    MemoryStream source(plain), packed;
    LzhEncode(source, packed, uint32_t(plain.size()));
    return packed.Take();
}

Bytes Decode(const Bytes& packed, size_t decodedSize) {
    MemoryStream source(packed), plain;
    LzhDecode(source, plain, uint32_t(decodedSize));
    return plain.Take();
}

Bytes Random(size_t size, uint32_t seed, uint32_t limit) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (auto& b : bytes) b = uint8_t(random() % limit);
    return bytes;
}

// A stream written item by item: a literal byte, or a match of `length` at `distanceCode`.
struct Item {
    int literal = -1;
    int length = 0;
    int distanceCode = 0;
};

Bytes Items(const std::vector<Item>& items) {
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

TEST(LzhCodec, KnownStreamsBothWays) {
    struct {
        Bytes packed;
        std::string plain;
    } cases[] = {
        {{0xF6, 0xFB, 0xBD, 0xE0}, "abc"},        // three 9-bit literals, five zero bits
        {{0xF6, 0xC9, 0x00, 0x00}, "aaaaaaaaaa"}, // a literal, a match of 9 at distance code 0
        {{0xF6, 0xFB, 0xBD, 0xF2, 0x40, 0x20}, "abcabcabcabc"}, // a match over what it writes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decode(c.packed, c.plain.size()), Text(c.plain)) << c.plain;
        EXPECT_EQ(Encode(Text(c.plain)), c.packed) << c.plain;
    }
    // Of two equal matches the nearer one is taken (4 back, not 8).
    EXPECT_EQ(Encode(Text("abcdabceabcf")),
              Items({{'a'}, {'b'}, {'c'}, {'d'}, {-1, 3, 3}, {'e'}, {-1, 3, 3}, {'f'}}));
}

TEST(LzhCodec, DecodeStopsAtAnItemBoundaryAndReadsOnlyOneByteAhead) {
    const Bytes packed = {0xF6, 0xFB, 0xBD, 0xF2, 0x40, 0x20, 0xFF, 0xFF, 0xFF};
    struct {
        long streamLength;
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
        MemoryStream source(Bytes(packed.begin(), packed.begin() + c.streamLength)), plain;
        LzhDecode(source, plain, c.size);
        EXPECT_EQ(plain.Data(), Text(c.plain)) << c.size;
        EXPECT_EQ(source.Position(), c.position) << c.size;
    }
}

TEST(LzhCodec, WorksFromTheStreamPositionsAndZeroSizesTouchNothing) {
    MemoryStream packed({0x99, 0xF6, 0xFB, 0xBD, 0xE0}), plain(Text("12345"));
    packed.Seek(1, SeekOrigin::Begin);
    plain.Seek(1, SeekOrigin::Begin);
    LzhDecode(packed, plain, 3);
    EXPECT_EQ(plain.Data(), Text("1abc5"));
    EXPECT_EQ(plain.Position(), 4u);
    plain.Seek(1, SeekOrigin::Begin);
    LzhEncode(plain, packed, 4); // "abc5" appended at position 5
    EXPECT_EQ(Decode(Bytes(packed.Data().begin() + 5, packed.Data().end()), 4), Text("abc5"));

    MemoryStream source(Text("abc")), destination(Text("xyz"));
    LzhDecode(source, destination, 0);
    LzhEncode(source, destination, 0);
    EXPECT_EQ(source.Position() + destination.Position(), 0u);
    EXPECT_EQ(destination.Data(), Text("xyz"));
}

TEST(LzhCodec, DecodedSizesOverTheLimitAreRefusedBeforeAnyIo) {
    MemoryStream source({0xF6, 0xFB, 0xBD, 0xE0}), destination;
    try {
        LzhDecode(source, destination, MAX_DECODED_SIZE + 1);
        ADD_FAILURE() << "not refused";
    } catch (const RefusedError& e) {
        EXPECT_NE(std::string(e.what()).find("16777217"), std::string::npos) << e.what();
    }
    EXPECT_EQ(source.Position() + destination.Size(), 0u);
    LzhDecode(source, destination, MAX_DECODED_SIZE);
    EXPECT_GE(destination.Size(), MAX_DECODED_SIZE);
}

// The initial window holds spaces up to position 4035 and zeros from the data's first
// position, 4036, on; a first item may copy from either.
TEST(LzhCodec, AFirstMatchCopiesFromTheInitialWindow) {
    struct {
        int length;
        int distanceCode;
        Bytes plain;
    } cases[] = {
        {5, 0, Text("     ")},  // the space at 4035, repeated
        {3, 4035, Text("   ")}, // from position 0
        {4, 4090, Bytes(4, 0)}, // from 4041
        {6, 4095, Bytes(6, 0)}, // from 4036, the first byte it writes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decode(Items({{-1, c.length, c.distanceCode}}), c.plain.size()), c.plain)
            << c.distanceCode;
    }
    EXPECT_EQ(Encode(Text(std::string(20, ' ') + "x")), Items({{-1, 20, 0}, {'x'}}));
}

TEST(LzhCodec, EveryInputDecodesBackToItself) {
    std::vector<Bytes> inputs = {
        Random(100000, 1, 256),                      // literals: past three model rebuilds
        Random(300000, 2, 12),                       // a dozen values: past several rebuilds
        Text(std::string(100, ' ') + "  hello    "), // matches into the initial spaces
        Bytes(70000, 0),                             // full-length matches only
    };
    for (uint32_t size = 1; size < 60; ++size) { // matches cut to the bytes that remain
        inputs.push_back(Bytes(size, 'a'));
        inputs.push_back(Random(size, size, 3));
        inputs.push_back(Random(size, size, 256));
    }
    for (const auto& plain : inputs) {
        ASSERT_EQ(Decode(Encode(plain), plain.size()), plain) << plain.size() << " bytes";
    }
    EXPECT_LT(Encode(inputs[3]).size(), 2000u); // 60-byte matches, about 10 bits each
}

} // namespace
} // namespace drovak
