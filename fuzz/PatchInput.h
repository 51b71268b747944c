#pragma once
// Fuzz input of the patch targets: a 16-bit length (little-endian, at most 4 KiB is kept), that
// many bytes of a source image, then the rest.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace drovak::fuzz {

struct PatchInput {
    std::vector<uint8_t> source, rest;
};

inline PatchInput SplitPatchInput(const uint8_t* data, size_t size) {
    PatchInput input;
    if (size < 2) return input;
    const size_t length = std::min<size_t>((size_t(data[1]) << 8 | data[0]) % 4097, size - 2);
    input.source.assign(data + 2, data + 2 + length);
    input.rest.assign(data + 2 + length, data + size);
    return input;
}

} // namespace drovak::fuzz
