#pragma once

// The user's words for why a file, a folder or a program could not be used: one line, naming
// the file first where there is one.

#include "base/FileProblem.h"

#include <string>

namespace drovak {

// "rom.bin: cannot open for reading: No such file or directory", and so on for each kind.
std::string FileProblemText(const FileProblem& problem);

// What kind of file a mode names: "a folder", "a FIFO", "a character device"...
std::string FileKind(uint32_t mode);

} // namespace drovak
