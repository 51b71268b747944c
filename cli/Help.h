#pragma once

#include "cli/Command.h"

#include <ostream>
#include <vector>

namespace drovak::cli {

// What the tool is, in one paragraph (lines end in "\n").
extern const char* const TOOL_DESCRIPTION;
// How the numbers of the command lines are read and where the output goes.
extern const char* const NUMBERS_TEXT;
// The environment variables the commands read.
extern const char* const ENVIRONMENT_TEXT;

struct ExitCodeMeaning {
    int code;
    const char* meaning;
};
// Every exit code, in order.
const std::vector<ExitCodeMeaning>& ExitCodeMeanings();

void PrintGeneralHelp(std::ostream& out);
void PrintCommandHelp(const Command& command, std::ostream& out);

} // namespace drovak::cli
