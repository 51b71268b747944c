#pragma once

// The symbol coder (adaptive Huffman) and the distance coder (fixed prefix code for the upper
// six bits, the lower six verbatim) of LZHUF streams.

#include "compression/LzhBitIo.h"
#include "compression/LzhState.h"

#include <array>
#include <cstdint>

namespace drovak::lzh {

namespace detail {

constexpr std::array<uint8_t, 64> MakePositionCodeLength() {
    std::array<uint8_t, 64> length{};
    for (int i = 0; i < 64; ++i) {
        length[i] = i < 1 ? 3 : i < 4 ? 4 : i < 12 ? 5 : i < 24 ? 6 : i < 48 ? 7 : 8;
    }
    return length;
}

// Canonical prefix codes, left-aligned in a byte: each code follows the previous one.
constexpr std::array<uint8_t, 64> MakePositionCode(const std::array<uint8_t, 64>& length) {
    std::array<uint8_t, 64> code{};
    for (int i = 0; i + 1 < 64; ++i) code[i + 1] = uint8_t(code[i] + (1 << (8 - length[i])));
    return code;
}

// For each byte, the upper six bits whose code is a prefix of it (high), or that code's
// length (otherwise).
constexpr std::array<uint8_t, 256> MakePositionDecode(const std::array<uint8_t, 64>& length,
                                                      const std::array<uint8_t, 64>& code,
                                                      bool high) {
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 64; ++i) {
        int span = 1 << (8 - length[i]);
        for (int v = code[i]; v < code[i] + span; ++v) table[v] = high ? uint8_t(i) : length[i];
    }
    return table;
}

} // namespace detail

// The prefix code of the upper six bits i of a distance code: its length (3 to 8 bits) and its
// bits left-aligned in a byte.
inline constexpr std::array<uint8_t, 64> PositionCodeLength = detail::MakePositionCodeLength();
inline constexpr std::array<uint8_t, 64> PositionCode =
    detail::MakePositionCode(PositionCodeLength);
// For every byte v, the upper six bits whose code is a prefix of v, and that code's length.
inline constexpr std::array<uint8_t, 256> PositionDecodeHigh =
    detail::MakePositionDecode(PositionCodeLength, PositionCode, true);
inline constexpr std::array<uint8_t, 256> PositionDecodeLength =
    detail::MakePositionDecode(PositionCodeLength, PositionCode, false);

// Sends the symbol's current code (every bit of its path, however deep), then counts it.
void WriteSymbol(LzhState& state, std::vector<uint8_t>& out, int symbol);

// Sends a 12-bit distance code (0 to 4095).
void WritePosition(LzhState& state, std::vector<uint8_t>& out, int code);

// Reads one symbol (0 to 313) and counts it.
int ReadSymbol(LzhState& state, ByteSource& in);

// Reads a 12-bit distance code.
int ReadPosition(LzhState& state, ByteSource& in);

} // namespace drovak::lzh
