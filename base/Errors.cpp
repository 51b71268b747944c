#include "base/Errors.h"

#include <cstdio>

namespace drovak {

std::string HexText(unsigned long long value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", value);
    return text;
}

} // namespace drovak
