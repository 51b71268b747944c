#include "base/Errors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace drovak {

std::string SystemReason(int error) {
    return std::strerror(error);
}

std::string HexText(unsigned long long value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", value);
    return text;
}

} // namespace drovak
