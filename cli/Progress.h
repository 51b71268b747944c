#pragma once

#include "base/Progress.h"
#include "cli/Command.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace drovak::cli {

// The progress of long work, on stderr. On a terminal it is one line, written over ("\r") at
// each step and ended when the Progress is (also when the work fails, so that the message comes
// on a line of its own); elsewhere (a pipe, a file) every step is a line of its own, for logs.
// As the progress of the core's work, each step is worded by `wording` (by default "rows 16 of
// 512": what, done, "of", total); one step at a time.
class Progress final : public drovak::Progress {
public:
    using Wording =
        std::function<std::string(uint64_t done, uint64_t total, std::string_view what)>;

    explicit Progress(const CommandOutput& output, Wording wording = {});
    Progress(std::ostream& err, std::optional<unsigned> terminalColumns, Wording wording = {});
    ~Progress() override;
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // What is done so far, as in "screen 3 of 32". On a terminal a text wider than it keeps
    // its end (where the count is).
    void Step(const std::string& text);
    void Step(uint64_t done, uint64_t total, std::string_view what) override;

private:
    Wording wording_;
    std::ostream& err_;
    std::optional<unsigned> columns_;
    size_t shownLength_ = 0; // the length of the line on show (a terminal)
    bool lineOpen_ = false;
};

} // namespace drovak::cli
