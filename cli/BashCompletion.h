#pragma once

#include "cli/Command.h"

#include <ostream>
#include <string>
#include <vector>

namespace drovak::cli {

// What the value of an option is completed with, as its placeholder in the command's usage says:
// the choices of "A|B", nothing for a number (the placeholders of NUMBERS_TEXT), file names for
// anything else (a ROM, a picture, a folder), and for an option the usage does not show.
struct OptionValues {
    enum class Kind { Files, Number, Choices } kind = Kind::Files;
    std::vector<std::string> choices;
};
OptionValues ValuesOf(const Command& command, const std::string& option);

// The bash completion script of drovak-cli for these commands: the commands (and --help,
// --version) as the first word; then each command's options, an option's values and file names.
void WriteBashCompletion(const std::vector<Command>& commands, std::ostream& out);

} // namespace drovak::cli
