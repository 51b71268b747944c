#pragma once

// A hexadecimal field's text read for the user: the number, or a refusal that quotes the text.

#include <cstdint>
#include <string_view>

namespace drovak {

// What a strict hexadecimal text looks like, for messages.
extern const char* const HEX_TEXT_FORM;

// ParseHexStrict, or RefusedError naming the field and its text ("Table Index (HEX): "zz" is
// not a hexadecimal number ...; nothing was read or written").
uint32_t HexFieldValue(std::string_view fieldName, std::string_view text);

} // namespace drovak
