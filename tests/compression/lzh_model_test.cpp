// The adaptive Huffman model, the symbol and distance coders and the bit reader and writer.

#include "compression/LzhBitIo.h"
#include "compression/LzhCoders.h"
#include "compression/LzhModel.h"

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

uint32_t LeafFreq(const LzhState& state, int symbol) {
    return state.Freq[state.Parent[TREE_SIZE + symbol]];
}

TEST(LzhModel, InitialTreeAndRebuild) {
    auto state = Fresh();
    EXPECT_EQ(state->Freq[ROOT], 314u);
    for (int s = 0; s < SYMBOL_COUNT; ++s) ASSERT_EQ(CodeLength(*state, s), s < 116 ? 9 : 8) << s;

    // Leaves all at 1 rebuild into the initial tree only when new nodes go after equal ones.
    auto rebuilt = Fresh();
    RebuildModel(*rebuilt);
    EXPECT_EQ(rebuilt->Freq, state->Freq);
    EXPECT_EQ(rebuilt->Child, state->Child);
    EXPECT_EQ(rebuilt->Parent, state->Parent);

    for (int n = 0; n < 32454; ++n) UpdateModel(*state, n % 7); // the root reaches 0x8000
    EXPECT_EQ(state->Freq[ROOT], FREQ_LIMIT);
    UpdateModel(*state, 200);
    EXPECT_LT(state->Freq[ROOT], FREQ_LIMIT / 2 + SYMBOL_COUNT);
    EXPECT_EQ(LeafFreq(*state, 6), (32454 / 7 + 1 + 1) / 2);
    EXPECT_EQ(LeafFreq(*state, 7), 1u); // never seen: (1 + 1) / 2, not 0
    EXPECT_EQ(LeafFreq(*state, 200), 2u);
}

TEST(LzhModel, CodesDeeperThan16BitsAreSentWhole) {
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

    auto writer = std::make_unique<LzhState>(*model);
    MemoryStream packed;
    WriteSymbol(*writer, packed, 304);
    EXPECT_EQ(packed.Size() * 8 + writer->OutBitCount, 17u);
    const int more[] = {310, 304, 0}; // the model adapts between them
    for (int s : more) WriteSymbol(*writer, packed, s);
    FlushBits(*writer, packed);

    auto reader = std::make_unique<LzhState>(*model);
    packed.Seek(0, SeekOrigin::Begin);
    EXPECT_EQ(ReadSymbol(*reader, packed), 304);
    for (int s : more) EXPECT_EQ(ReadSymbol(*reader, packed), s);
}

TEST(LzhBits, WriterFlushesOnlyPendingBitsAndReaderGivesZerosPastTheEnd) {
    auto writer = Fresh(false);
    MemoryStream packed;
    FlushBits(*writer, packed);
    EXPECT_EQ(packed.Size(), 0u);
    WriteBits(*writer, packed, 3, 0xA000);  // 101
    WriteBits(*writer, packed, 16, 0x0FF0); // 0000 1111 1111 0000
    WriteBits(*writer, packed, 5, 0x8800);  // 10001
    FlushBits(*writer, packed);
    FlushBits(*writer, packed);
    EXPECT_EQ(packed.Data(), (std::vector<uint8_t>{0xA1, 0xFE, 0x11}));

    auto reader = Fresh(false);
    packed.Seek(0, SeekOrigin::Begin);
    EXPECT_EQ(ReadBits8(*reader, packed), 0xA1);
    int value = 0;
    for (int i = 0; i < 16; ++i) value = value * 2 + ReadBit(*reader, packed);
    EXPECT_EQ(value, 0xFE11);
    for (int i = 0; i < 40; ++i) ASSERT_EQ(ReadBit(*reader, packed), 0);
    EXPECT_EQ(ReadBits8(*reader, packed), 0);
}

TEST(LzhPositionCode, EveryDistanceCodeReadsBack) {
    const uint8_t first[] = {0x00, 0x20, 0x30, 0x40, 0x50, 0x58, 0x60};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(PositionCode[i], first[i]) << i;
    EXPECT_EQ(PositionCode[63], 0xFF);

    auto writer = Fresh(false);
    MemoryStream packed;
    for (int code = 0; code < 4096; ++code) WritePosition(*writer, packed, code);
    FlushBits(*writer, packed);
    auto reader = Fresh(false);
    packed.Seek(0, SeekOrigin::Begin);
    for (int code = 0; code < 4096; ++code) ASSERT_EQ(ReadPosition(*reader, packed), code);
}

} // namespace
} // namespace drovak::lzh
