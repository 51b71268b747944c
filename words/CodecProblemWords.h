#pragma once

// The user's words for why a codec stopped: one line, naming the source first.

#include "compression/CodecProblem.h"

#include <string>

namespace drovak {

// "rom.bin: the RLE block at 0x0 ends early at 0x5: 4 of 8 bytes decoded", and so on for each
// kind.
std::string CodecProblemText(const CodecProblem& problem);

} // namespace drovak
