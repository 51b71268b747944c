// LzhDecode and LzhEncode: known streams, what the decoder reads, round trips.

#include "base/Errors.h"
#include "compression/CodecProblem.h"
#include "compression/Lzh.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace drovak {
namespace {

using namespace test;

Bytes Text(const std::string& text) {
    return {text.begin(), text.end()};
}

Bytes Encode(const Bytes& plain) {
    return LzhEncode(plain);
}

Bytes Decode(const Bytes& packed, size_t decodedSize) {
    return LzhDecode(packed, uint32_t(decodedSize)).bytes;
}

Bytes Random(size_t size, uint32_t seed, uint32_t limit) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (auto& b : bytes) b = uint8_t(random() % limit);
    return bytes;
}

// The initial window holds spaces up to position 4035 and zeros from the data's first
// position, 4036, on; a first match may copy from either. Of two equal matches the encoder
// takes the nearer one.
TEST(CompressionLzh, KnownStreamsBothWays) {
    const std::tuple<const char*, Bytes, bool> cases[] = {
        // stream, bytes, encodes to it
        {"F6 FB BD E0", Text("abc"), true},                // three 9-bit literals, five zero bits
        {"F6 C9 00 00", Text("aaaaaaaaaa"), true},         // a literal, a match of 9 at distance 0
        {"F6 FB BD F2 40 20", Text("abcabcabcabc"), true}, // a match over what it writes
        {"8E 00 00", Text("     "), true},                 // 5 at distance 0: the space at 4035
        {"8C FF 0C", Text("   "), false},                  // 3 at distance 4035: from position 0
        {"8D FF E8", Bytes(4, 0), false},                  // 4 at distance 4090: from 4041
        {"8F FF FC", Bytes(6, 0), false},                  // 6 at 4095: from 4036, what it writes
        {"9D 00 02 00", Text(std::string(20, ' ') + "x"), true}, // 20 at distance 0, then x
        {"F6 FB BD FF 08 C0 1F C7 04 07 F2", Text("abcdabceabcf"), true}, // abc at distance 3 twice
    };
    for (const auto& [packed, plain, encodes] : cases) {
        EXPECT_EQ(Decode(Hex(packed), plain.size()), plain) << packed;
        EXPECT_EQ(encodes ? Encode(plain) : Hex(packed), Hex(packed)) << packed;
    }
}

TEST(CompressionLzh, DecodeStopsAtAnItemBoundaryAndReadsOnlyOneByteAhead) {
    const std::tuple<const char*, uint32_t, const char*, uint64_t> cases[] = {
        {"F6 FB BD F2 40 20 FF FF", 1, "a", 3},            // 9 bits: bytes 0, 1 and 2 ahead
        {"F6 FB BD F2 40 20 FF FF", 3, "abc", 5},          // 27 bits
        {"F6 FB BD F2 40 20 FF FF", 4, "abcabcabcabc", 7}, // the match is copied whole
        {"F6 FB BD E0", 3, "abc", 4},                      // the source stands at its end
    };
    for (const auto& [packed, size, text, consumed] : cases) { // stream, size, bytes, consumed
        const LzhDecodeResult result = LzhDecode(Hex(packed), size);
        EXPECT_EQ(result.bytes, Text(text)) << size;
        EXPECT_EQ(result.consumed, consumed) << size;
    }
}

TEST(CompressionLzh, DecodesOnlyWithinTheSizeLimit) {
    // A size of 0 reads and gives nothing; one over the limit is refused, naming the source.
    EXPECT_EQ(LzhDecode(Text("abc"), 0, "a.bin").consumed, 0u);
    try {
        LzhDecode(Text("abc"), LZH_MAX_DECODED_SIZE + 1, "a.bin");
        ADD_FAILURE() << "not refused";
    } catch (const RefusedError& error) {
        const CodecProblem* problem = CodecProblemOf(error);
        ASSERT_TRUE(problem);
        EXPECT_EQ(std::tie(problem->source, problem->size, problem->limit),
                  std::tuple("a.bin", LZH_MAX_DECODED_SIZE + 1, LZH_MAX_DECODED_SIZE));
    }
    EXPECT_EQ(LzhEncode(Bytes{}), Bytes{});
    // A source that ends early is read on as zero bits, up to the limit.
    EXPECT_GE(LzhDecode(Hex("F6 FB BD E0"), LZH_MAX_DECODED_SIZE).bytes.size(),
              LZH_MAX_DECODED_SIZE);
}

TEST(CompressionLzh, EveryInputDecodesBackToItself) {
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
