#pragma once

#include "cli/Command.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>

namespace drovak::cli {

// The progress of long work, on stderr. On a terminal it is one line, written over ("\r") at
// each step and ended when the Progress is (also when the work fails, so that the message comes
// on a line of its own); elsewhere (a pipe, a file) every step is a line of its own, for logs.
class Progress {
public:
    explicit Progress(const CommandOutput& output);
    Progress(std::ostream& err, std::optional<unsigned> terminalColumns);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // What is done so far, as in "screen 3 of 32". On a terminal a text wider than it keeps
    // its end (where the count is).
    void Step(const std::string& text);

private:
    std::ostream& err_;
    std::optional<unsigned> columns_;
    size_t shownLength_ = 0; // the length of the line on show (a terminal)
    bool lineOpen_ = false;
};

} // namespace drovak::cli
