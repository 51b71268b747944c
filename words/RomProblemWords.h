#pragma once

// The user's words for why a page operation stopped: one line, naming the file first, the same
// in the window's "Error" box and on the terminal.

#include "rom/RomProblem.h"

#include <exception>
#include <string>

namespace drovak {

// "rom.bin: entry 0x40 is beyond the table at 0x20000, which has 32 entries; nothing was read or
// written", and so on for each kind.
std::string RomProblemText(const RomProblem& problem);

// The text of the RLE encoder's one failure: "Unsupported repeat count: " + count.
std::string UnsupportedRepeatMessage(uint32_t count);

// What to show for an error the core threw: the words for the problem it carries (a ROM
// problem, a codec's, a picture's or a PNG file's problem, a run the RLE encoder can't write),
// or its message.
std::string ErrorText(const std::exception& error);

} // namespace drovak
