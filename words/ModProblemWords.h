#pragma once

// The user's words for why a folder was not unpacked or packed: one line, naming the file first.

#include "mod/Manifest.h"
#include "mod/ModProblem.h"
#include "mod/Unpack.h"

#include <exception>
#include <string>

namespace drovak {

// "mod/drovak.toml: file 3: crc32 is missing; not a manifest drovak-cli unpack wrote", and so
// on for each kind.
std::string ModProblemText(const ModProblem& problem);

// Why an unpack left a file out.
std::string SkippedText(const SkippedFile& skipped);

// "entry 0x1F (20000_1F.bin)", "the RLE block at 0x48120 (48120.bin)".
std::string ModFileDescription(const ModFile& file);

// The words for what a caught exception says (ErrorText), or "unexpected failure" for another.
std::string ErrorText(const std::exception_ptr& error);

} // namespace drovak
