#pragma once

// The variable-length numbers of a BPS patch: seven bits a byte, low bits first, the last byte
// marked by its top bit; each further byte adds one to what it carries, so no number has two
// spellings.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace drovak::bps {

// Appends `value`.
inline void PutNumber(std::vector<uint8_t>& out, uint64_t value) {
    for (;;) {
        const uint8_t low = uint8_t(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            out.push_back(uint8_t(0x80 | low));
            return;
        }
        out.push_back(low);
        --value;
    }
}

// How many bytes PutNumber writes for `value`.
inline unsigned NumberSize(uint64_t value) {
    unsigned size = 1;
    while ((value >>= 7) != 0) {
        --value;
        ++size;
    }
    return size;
}

// A signed delta: the magnitude shifted up by one, the low bit set when it is negative.
inline uint64_t SignedNumber(int64_t delta) {
    return delta < 0 ? (uint64_t(-delta) << 1) | 1 : uint64_t(delta) << 1;
}

// Numbers above this are refused when read: nothing in a patch of a 64 MiB image needs more,
// and no sum of them can overflow.
constexpr uint64_t MAX_NUMBER = uint64_t(1) << 48;

// Reads a number from bytes[at, end), advancing `at`; nothing when it runs past `end` or is
// larger than MAX_NUMBER.
inline std::optional<uint64_t> ReadNumber(std::span<const uint8_t> bytes, size_t& at, size_t end) {
    uint64_t value = 0, shift = 1;
    while (at < end) {
        const uint8_t byte = bytes[at++];
        value += (byte & 0x7F) * shift;
        if (value > MAX_NUMBER) return std::nullopt;
        if (byte & 0x80) return value;
        shift <<= 7;
        value += shift;
        if (shift > MAX_NUMBER) return std::nullopt;
    }
    return std::nullopt;
}

} // namespace drovak::bps
