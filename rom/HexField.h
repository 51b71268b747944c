#pragma once

#include <cstdint>
#include <string_view>

namespace drovak {

// Hexadecimal field text to a number: an optional 0x/0X, then an optional "$", then hex digits
// up to the first non-digit; kept to 32 bits. Never fails ("" and "x10" give 0).
uint32_t ParseHex(std::string_view text);

} // namespace drovak
