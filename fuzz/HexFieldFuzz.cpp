// The hexadecimal field parsers against a model of their rules written another way (a regular
// expression and the standard library's number conversion).
#include "base/Errors.h"
#include "fuzz/FuzzCheck.h"
#include "rom/HexField.h"
#include "words/HexFieldWords.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <regex>
#include <string>

namespace {

// Blanks around, an optional 0x, 0X or $, then 1 to 8 hexadecimal digits.
std::optional<uint32_t> StrictModel(const std::string& text) {
    static const std::regex form("[ \\t]*(?:0[xX]|\\$)?([0-9A-Fa-f]{1,8})[ \\t]*");
    std::smatch match;
    if (!std::regex_match(text, match, form)) return std::nullopt;
    return uint32_t(std::stoul(match[1].str(), nullptr, 16));
}

// An optional 0x or 0X, then an optional $, then the hexadecimal digits up to the first other
// character, of which the last eight count.
uint32_t LenientModel(const std::string& text) {
    static const std::regex form("(?:0[xX])?\\$?([0-9A-Fa-f]*)[\\s\\S]*");
    std::smatch match;
    if (!std::regex_match(text, match, form)) return 0;
    std::string digits = match[1].str();
    if (digits.empty()) return 0;
    if (digits.size() > 8) digits = digits.substr(digits.size() - 8);
    return uint32_t(std::stoul(digits, nullptr, 16));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64) return 0; // a field's text, not a file
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::optional<uint32_t> strict = drovak::ParseHexStrict(text);
    FUZZ_CHECK(strict == StrictModel(text));
    FUZZ_CHECK(drovak::ParseHex(text) == LenientModel(text));

    // HexFieldValue is the strict parser, or a refusal that quotes the text.
    try {
        const uint32_t value = drovak::HexFieldValue("field", text);
        FUZZ_CHECK(strict && value == *strict);
    } catch (const drovak::RefusedError& error) {
        FUZZ_CHECK(!strict);
        if (text.find('\0') == std::string::npos)
            FUZZ_CHECK(std::string(error.what()).find(text) != std::string::npos);
    }
    // A value shown in a field reads back as itself.
    if (strict) FUZZ_CHECK(drovak::ParseHexStrict(drovak::HexFieldText(*strict)) == strict);
    return 0;
}
