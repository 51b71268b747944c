// LzhDecode and LzhEncode: known streams, what the decoder reads, round trips; the model and
// the coders under them.

#include "base/Crc32.h"
#include "base/Errors.h"
#include "compression/CodecProblem.h"
#include "compression/Lzh.h"
#include "compression/LzhBitIo.h"
#include "compression/LzhCoders.h"
#include "compression/LzhModel.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <memory>
#include <random>
#include <tuple>

namespace drovak {
namespace {

using namespace test;

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
        EXPECT_EQ(LzhDecode(Hex(packed), uint32_t(plain.size())).bytes, plain) << packed;
        EXPECT_EQ(encodes ? LzhEncode(plain) : Hex(packed), Hex(packed)) << packed;
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
        EXPECT_EQ(std::tie(result.bytes, result.consumed), std::tuple(Text(text), consumed))
            << size;
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
    // Once the input is exhausted the oldest positions still leave the window: the last 40
    // bytes repeat those 4040 before them, out of its reach, and stay literals.
    Bytes far = Random(4200, 3, 256);
    std::copy(far.end() - 4080, far.end() - 4040, far.end() - 40);
    inputs.push_back(far);
    for (uint32_t size = 1; size < 60; ++size) { // matches cut to the bytes that remain
        inputs.push_back(Bytes(size, 'a'));
        inputs.push_back(Random(size, size, 3));
        inputs.push_back(Random(size, size, 256));
    }
    Bytes streams;
    for (const auto& plain : inputs) {
        const Bytes packed = LzhEncode(plain);
        ASSERT_EQ(LzhDecode(packed, uint32_t(plain.size())).bytes, plain)
            << plain.size() << " bytes";
        streams.insert(streams.end(), packed.begin(), packed.end());
    }
    // And the streams byte for byte: every choice the encoder makes shows in them.
    EXPECT_EQ(CrcText(Crc32(streams)), "AE3076DA");
}

} // namespace

// The adaptive Huffman model, the symbol and distance coders and the bit reader and writer.
namespace lzh {
namespace {

std::unique_ptr<LzhState> Fresh(bool withModel = true) {
    auto state = std::make_unique<LzhState>();
    ResetCodecState(*state);
    if (withModel) ResetModel(*state);
    return state;
}

int CodeLength(const LzhState& state, int symbol) {
    int length = 0;
    for (int k = state.Parent[TREE_SIZE + symbol]; k != ROOT; k = state.Parent[k]) ++length;
    return length;
}

TEST(CompressionLzhModel, InitialTreeAndRebuild) {
    auto state = Fresh();
    EXPECT_EQ(state->Freq[ROOT], 314u);
    for (int s = 0; s < SYMBOL_COUNT; ++s) ASSERT_EQ(CodeLength(*state, s), s < 116 ? 9 : 8) << s;

    // Leaves all at 1 rebuild into the initial tree only when new nodes go after equal ones.
    auto rebuilt = Fresh();
    RebuildModel(*rebuilt);
    EXPECT_EQ(std::tie(rebuilt->Freq, rebuilt->Parent), std::tie(state->Freq, state->Parent));

    for (int n = 0; n < 32454; ++n) UpdateModel(*state, n % 7); // the root reaches 0x8000
    EXPECT_EQ(state->Freq[ROOT], FREQ_LIMIT);
    UpdateModel(*state, 200);
    EXPECT_LT(state->Freq[ROOT], FREQ_LIMIT / 2 + SYMBOL_COUNT);
    auto leaf = [&](int symbol) { return state->Freq[state->Parent[TREE_SIZE + symbol]]; };
    EXPECT_EQ(leaf(6), (32454 / 7 + 1 + 1) / 2);
    EXPECT_EQ(leaf(7), 1u); // never seen: (1 + 1) / 2, not 0
    EXPECT_EQ(leaf(200), 2u);
}

TEST(CompressionLzhModel, CodesDeeperThan16BitsAreSentWhole) {
    // Ten symbols in Fibonacci proportions under 304 symbols of weight 89, built through the
    // rebuild (which halves, rounding up): symbols 304 and 305 sit 17 nodes deep, the code of 305
    // ending in a 1.
    auto model = Fresh(false);
    const uint32_t weights[] = {1, 1, 2, 3, 5, 8, 13, 21, 34, 55};
    for (int node = 0; node < SYMBOL_COUNT; ++node) {
        model->Freq[node] = 2 * (node < 10 ? weights[node] : 89) - 1;
        model->Child[node] = TREE_SIZE + (node < 10 ? 304 + node : node - 10);
    }
    model->Freq[TREE_SIZE] = 0xFFFF;
    RebuildModel(*model);
    ASSERT_LT(model->Freq[ROOT], FREQ_LIMIT);
    ASSERT_EQ(CodeLength(*model, 304), 17);

    auto writer = std::make_unique<LzhState>(*model), reader = std::make_unique<LzhState>(*model);
    std::vector<uint8_t> packed;
    WriteSymbol(*writer, packed, 305);
    EXPECT_EQ(packed.size() * 8 + writer->OutBitCount, 17u);
    const int symbols[] = {305, 304, 310, 304, 0}; // the model adapts between them
    for (int s : {304, 310, 304, 0}) WriteSymbol(*writer, packed, s);
    FlushBits(*writer, packed);
    ByteSource in{packed.data(), packed.size()};
    for (int s : symbols) EXPECT_EQ(ReadSymbol(*reader, in), s);
}

// The bit order and the reading past the end are pinned by the codec's byte-exact streams; here
// every distance code, long and short prefix alike, reads back.
TEST(CompressionLzhBits, EveryDistanceCodeReadsBack) {
    auto writer = Fresh(false), reader = Fresh(false);
    std::vector<uint8_t> codes;
    for (int code = 0; code < 4096; ++code) WritePosition(*writer, codes, code);
    FlushBits(*writer, codes);
    ByteSource in{codes.data(), codes.size()};
    for (int code = 0; code < 4096; ++code) ASSERT_EQ(ReadPosition(*reader, in), code);
}

} // namespace
} // namespace lzh
} // namespace drovak
