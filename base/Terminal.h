#pragma once

#include <optional>

namespace drovak {

// The width in columns of the terminal that standard error writes to; nothing when standard
// error is not a terminal (a pipe, a file). A terminal that does not tell its width counts as
// 80 columns.
std::optional<unsigned> StandardErrorTerminalColumns();

} // namespace drovak
