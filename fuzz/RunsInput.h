#pragma once
// Fuzz input as data for the round-trip targets, in one of three forms chosen by the first byte:
// the bytes as they are (high bits clear); a list of runs, each a value byte and a 16-bit repeat
// count (high bit set); or data drawn from an alphabet (0x40 set): a 16-bit value whose square
// over 65536 is the length, then the alphabet's bytes, drawn from by a fixed generator. The last
// two let a short input stand for long data: long runs, or long varied data that passes the LZH
// model's rebuilds.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace drovak::fuzz {

inline std::vector<uint8_t> RunsInput(const uint8_t* data, size_t size, size_t maxBytes) {
    if (size == 0) return {};
    std::vector<uint8_t> out;
    if (data[0] & 0x80) {
        for (size_t at = 1; at + 3 <= size && out.size() < maxBytes; at += 3) {
            const size_t count = size_t(data[at + 1]) << 8 | data[at + 2];
            out.insert(out.end(), std::min(count + 1, maxBytes - out.size()), data[at]);
        }
        return out;
    }
    if (data[0] & 0x40 && size >= 4) {
        // Squared, so that short data comes up more often than long: a run on long data is slow.
        const size_t value = size_t(data[1]) << 8 | data[2];
        const size_t length = std::min(maxBytes, value * value / 65536);
        uint32_t seed = uint32_t(length);
        out.resize(length);
        for (uint8_t& byte : out) {
            seed = seed * 1103515245u + 12345u;
            byte = data[3 + (seed >> 16) % (size - 3)];
        }
        return out;
    }
    return std::vector<uint8_t>(data + 1, data + size);
}

} // namespace drovak::fuzz
