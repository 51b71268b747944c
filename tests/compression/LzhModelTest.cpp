// The adaptive Huffman model, the symbol and distance coders and the bit reader and writer.

#include "compression/LzhModel.h"
#include "compression/LzhBitIo.h"
#include "compression/LzhCoders.h"

#include <gtest/gtest.h>

#include <memory>

namespace drovak::lzh {
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
    EXPECT_EQ(rebuilt->Freq, state->Freq);
    EXPECT_EQ(rebuilt->Parent, state->Parent);

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
    // rebuild (which halves, rounding up): symbol 304 sits 17 nodes deep.
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
    WriteSymbol(*writer, packed, 304);
    EXPECT_EQ(packed.size() * 8 + writer->OutBitCount, 17u);
    const int symbols[] = {304, 310, 304, 0}; // the model adapts between them
    for (int s : {310, 304, 0}) WriteSymbol(*writer, packed, s);
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
} // namespace drovak::lzh
