#pragma once

// The bit reader and writer of LZHUF streams: most significant bit of each byte first. Small
// and called per bit, so they live here to be inlined.

#include "compression/LzhState.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace drovak::lzh {

// The bytes a decoder reads, and how many it has taken.
struct ByteSource {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t taken = 0;
    // The next byte, or -1 at the end.
    int Next() { return taken < size ? data[taken++] : -1; }
};

// Appends `length` bits (1 to 16) that stand left-aligned in the low 16 bits of `code` (the
// first bit to send is bit 15; the bits below the last one are zero).
inline void WriteBits(LzhState& state, std::vector<uint8_t>& out, int length, uint32_t code) {
    state.OutBits |= code >> state.OutBitCount;
    state.OutBitCount = uint8_t(state.OutBitCount + length);
    if (state.OutBitCount >= 8) {
        out.push_back(uint8_t(state.OutBits >> 8));
        state.OutBitCount = uint8_t(state.OutBitCount - 8);
        if (state.OutBitCount >= 8) {
            out.push_back(uint8_t(state.OutBits));
            state.OutBitCount = uint8_t(state.OutBitCount - 8);
            // The bits of `code` that did not fit beside the pending ones.
            state.OutBits = (code << (length - state.OutBitCount)) & 0xFFFF;
        } else {
            state.OutBits = (state.OutBits << 8) & 0xFFFF;
        }
    }
}

// Writes the last, partial byte (its pending bits, then zero bits); nothing when no bit is
// pending.
inline void FlushBits(LzhState& state, std::vector<uint8_t>& out) {
    if (state.OutBitCount != 0) {
        out.push_back(uint8_t(state.OutBits >> 8));
        state.OutBits = 0;
        state.OutBitCount = 0;
    }
}

// Tops the reader up to more than 8 buffered bits. A read that yields no byte gives a zero
// byte, so reading past the end delivers zero bits. After a delivery the reader holds one
// whole byte beyond the byte of the last bit delivered.
inline void RefillBits(LzhState& state, ByteSource& in) {
    while (state.InBitCount <= 8) {
        const int b = std::max(in.Next(), 0);
        state.InBits |= uint32_t(b) << (8 - state.InBitCount);
        state.InBitCount = uint8_t(state.InBitCount + 8);
    }
}

inline int ReadBit(LzhState& state, ByteSource& in) {
    RefillBits(state, in);
    int bit = int(state.InBits >> 15) & 1;
    state.InBits = (state.InBits << 1) & 0xFFFF;
    state.InBitCount = uint8_t(state.InBitCount - 1);
    return bit;
}

// The next eight bits as a value 0 to 255.
inline int ReadBits8(LzhState& state, ByteSource& in) {
    RefillBits(state, in);
    int bits = int(state.InBits >> 8) & 0xFF;
    state.InBits = (state.InBits << 8) & 0xFFFF;
    state.InBitCount = uint8_t(state.InBitCount - 8);
    return bits;
}

} // namespace drovak::lzh
