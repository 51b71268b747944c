#pragma once

#include "cli/Command.h"

#include <ostream>

namespace drovak::cli {

void PrintGeneralHelp(std::ostream& out);
void PrintCommandHelp(const Command& command, std::ostream& out);

} // namespace drovak::cli
