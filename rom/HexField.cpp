#include "rom/HexField.h"

#include <cstdio>

namespace drovak {

uint32_t ParseHex(std::string_view text) {
    size_t at = 0;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) at = 2;
    if (at < text.size() && text[at] == '$') ++at;
    uint32_t value = 0;
    for (; at < text.size(); ++at) {
        char c = text[at];
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = uint32_t(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = uint32_t(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = uint32_t(c - 'a' + 10);
        else
            break;
        value = (value << 4) | digit;
    }
    return value;
}

std::string HexFieldText(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", unsigned(value));
    return text;
}

} // namespace drovak
