#include "cli/Progress.h"

namespace drovak::cli {

Progress::Progress(const CommandOutput& output) : Progress(output.err, output.errTerminalColumns) {}

Progress::Progress(std::ostream& err, std::optional<unsigned> terminalColumns)
    : err_(err), columns_(terminalColumns) {}

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

} // namespace drovak::cli
