#include "base/Terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace drovak {

std::optional<unsigned> StandardErrorTerminalColumns() {
    if (::isatty(STDERR_FILENO) != 1) return std::nullopt;
    struct winsize size {};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80u;
}

} // namespace drovak
