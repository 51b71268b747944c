#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace drovak {

// Hexadecimal field text to a number the lenient way: an optional 0x/0X, then an optional "$",
// then hex digits up to the first non-digit; kept to 32 bits. Never fails ("" and "x10" give 0).
uint32_t ParseHex(std::string_view text);

// Hexadecimal text read strictly, as the pages' fields and the command line's arguments are:
// blanks (spaces, tabs) around it are ignored; then an optional 0x, 0X or "$", then 1 to 8
// hexadecimal digits and nothing else. Nothing for any other text.
std::optional<uint32_t> ParseHexStrict(std::string_view text);

// A number as a hexadecimal field shows it: upper-case digits, no prefix ("20000", "0").
std::string HexFieldText(uint32_t value);

} // namespace drovak
