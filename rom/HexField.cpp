#include "rom/HexField.h"

#include <cstdio>

namespace drovak {

namespace {

std::optional<uint32_t> HexDigit(char c) {
    if (c >= '0' && c <= '9') return uint32_t(c - '0');
    if (c >= 'A' && c <= 'F') return uint32_t(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return uint32_t(c - 'a' + 10);
    return std::nullopt;
}

constexpr size_t MAX_HEX_DIGITS = 8;

} // namespace

uint32_t ParseHex(std::string_view text) {
    size_t at = 0;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) at = 2;
    if (at < text.size() && text[at] == '$') ++at;
    uint32_t value = 0;
    for (; at < text.size(); ++at) {
        const std::optional<uint32_t> digit = HexDigit(text[at]);
        if (!digit) break;
        value = (value << 4) | *digit;
    }
    return value;
}

std::optional<uint32_t> ParseHexStrict(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
    } else if (text.starts_with("$")) {
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > MAX_HEX_DIGITS) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        const std::optional<uint32_t> digit = HexDigit(c);
        if (!digit) return std::nullopt;
        value = (value << 4) | *digit;
    }
    return value;
}

std::string HexFieldText(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", unsigned(value));
    return text;
}

} // namespace drovak
