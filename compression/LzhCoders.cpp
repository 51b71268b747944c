#include "compression/LzhCoders.h"

#include "compression/LzhBitIo.h"
#include "compression/LzhModel.h"

namespace drovak::lzh {

void WriteSymbol(LzhState& state, std::vector<uint8_t>& out, int symbol) {
    // Walk from the leaf to the root. The bits gather from the top of a 64-bit word down, so the
    // bit next to the root ends in bit 63; a path deeper than 64 (which the rebuild limit keeps
    // far away) spills its deeper, earlier-gathered bits into further words.
    std::array<uint64_t, TREE_SIZE / 64 + 1> deeperWords;
    int deeperCount = 0;
    uint64_t code = 0;
    int length = 0;
    for (int k = state.Parent[symbol + TREE_SIZE]; k != ROOT; k = state.Parent[k]) {
        if (length == 64) {
            deeperWords[deeperCount++] = code;
            code = 0;
            length = 0;
        }
        code = (code >> 1) | (uint64_t(k & 1) << 63);
        ++length;
    }
    auto send = [&](uint64_t bits, int count) {
        for (; count > 0; count -= 16, bits <<= 16) {
            WriteBits(state, out, count < 16 ? count : 16, uint32_t(bits >> 48));
        }
    };
    send(code, length);
    while (deeperCount > 0) send(deeperWords[--deeperCount], 64);
    UpdateModel(state, symbol);
}

void WritePosition(LzhState& state, std::vector<uint8_t>& out, int code) {
    int high = code >> 6;
    WriteBits(state, out, PositionCodeLength[high], uint32_t(PositionCode[high]) << 8);
    WriteBits(state, out, 6, uint32_t(code & 0x3F) << 10);
}

int ReadSymbol(LzhState& state, ByteSource& in) {
    int c = state.Child[ROOT];
    while (c < TREE_SIZE) c = state.Child[c + ReadBit(state, in)];
    int symbol = c - TREE_SIZE;
    UpdateModel(state, symbol);
    return symbol;
}

int ReadPosition(LzhState& state, ByteSource& in) {
    int v = ReadBits8(state, in);
    int high = PositionDecodeHigh[v];
    for (int n = PositionDecodeLength[v] - 2; n > 0; --n) v = (v << 1) + ReadBit(state, in);
    return (high << 6) | (v & 0x3F);
}

} // namespace drovak::lzh
