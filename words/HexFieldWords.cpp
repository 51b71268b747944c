#include "words/HexFieldWords.h"

#include "base/Errors.h"
#include "rom/HexField.h"

#include <optional>
#include <string>

namespace drovak {

const char* const HEX_TEXT_FORM = "an optional 0x or $, then 1 to 8 hexadecimal digits";

uint32_t HexFieldValue(std::string_view fieldName, std::string_view text) {
    if (const std::optional<uint32_t> value = ParseHexStrict(text)) return *value;
    throw RefusedError(std::string(fieldName) + ": \"" + std::string(text) +
                       "\" is not a hexadecimal number (" + HEX_TEXT_FORM +
                       "); nothing was read or written");
}

} // namespace drovak
