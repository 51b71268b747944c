#include "cli/Progress.h"
#include "words/CommandWords.h"

#include <utility>

namespace drovak::cli {

Progress::Progress(const CommandOutput& output, Wording wording)
    : Progress(output.err, output.errTerminalColumns, std::move(wording)) {}

Progress::Progress(std::ostream& err, std::optional<unsigned> terminalColumns, Wording wording)
    : wording_(std::move(wording)), err_(err), columns_(terminalColumns) {}

Progress::~Progress() {
    if (lineOpen_) err_ << std::endl;
}

void Progress::Step(const std::string& text) {
    if (!columns_) {
        err_ << text << std::endl;
        return;
    }
    // The cursor must stay on the line: a text as wide as the terminal would wrap.
    const size_t room = *columns_ > 4 ? *columns_ - 1 : 3;
    std::string line = text.size() <= room ? text : "..." + text.substr(text.size() - room + 3);
    const size_t length = line.size();
    // Spaces wipe out what is left of a longer line before.
    if (length < shownLength_) line.append(shownLength_ - length, ' ');
    err_ << '\r' << line << std::flush;
    shownLength_ = length;
    lineOpen_ = true;
}

void Progress::Step(uint64_t done, uint64_t total, std::string_view what) {
    if (wording_) {
        Step(wording_(done, total, what));
        return;
    }
    Step(StepText(std::string(what), done, total));
}

} // namespace drovak::cli
