#pragma once

#include "compression/Stream.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace drovak::test {

// "00 01 FF" -> {0x00, 0x01, 0xFF}; blanks between bytes are optional.
inline std::vector<uint8_t> Hex(const std::string& text) {
    std::vector<uint8_t> bytes;
    std::string digits;
    for (char c : text) {
        if (c == ' ') continue;
        digits += c;
        if (digits.size() == 2) {
            bytes.push_back(uint8_t(std::strtoul(digits.c_str(), nullptr, 16)));
            digits.clear();
        }
    }
    return bytes;
}

inline std::vector<uint8_t> Repeat(uint8_t value, size_t count) {
    return std::vector<uint8_t>(count, value);
}

inline std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Packs nibbles (high nibble of each byte first); an odd count gets a zero low nibble.
inline std::vector<uint8_t> PackNibbles(const std::vector<uint8_t>& nibbles) {
    std::vector<uint8_t> bytes((nibbles.size() + 1) / 2, 0);
    for (size_t i = 0; i < nibbles.size(); ++i) {
        bytes[i / 2] |= uint8_t(i % 2 == 0 ? nibbles[i] << 4 : nibbles[i]);
    }
    return bytes;
}

} // namespace drovak::test
