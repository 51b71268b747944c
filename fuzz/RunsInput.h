#pragma once
// Fuzz input as data for the round-trip targets: the bytes as they are, or, when the first byte
// has its high bit set, a list of runs (a value byte and a 16-bit repeat count each), so that a
// short input can stand for long runs and long data.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace drovak::fuzz {

inline std::vector<uint8_t> RunsInput(const uint8_t* data, size_t size, size_t maxBytes) {
    if (size == 0) return {};
    if (!(data[0] & 0x80)) return std::vector<uint8_t>(data + 1, data + size);
    std::vector<uint8_t> out;
    for (size_t at = 1; at + 3 <= size; at += 3) {
        const size_t count = size_t(data[at + 1]) << 8 | data[at + 2];
        out.insert(out.end(), std::min(count + 1, maxBytes - out.size()), data[at]);
        if (out.size() == maxBytes) break;
    }
    return out;
}

} // namespace drovak::fuzz
