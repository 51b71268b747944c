#pragma once

// A patch described, and what one changes, in the user's words: the same in the window and on
// the terminal.

#include "patch/ImageDifference.h"
#include "patch/PatchInfo.h"
#include "words/PatchRefusalWords.h"

#include <string>

namespace drovak {

// "mod.bps: BPS patch of 1234 bytes" and a line each for its fields ("  source: 458752 bytes,
// CRC-32 1A2B3C4D", ..., "  metadata: none", "  actions: 57 (...)"), or for an IPS patch its
// records and truncation; the last line says a damaged patch is damaged, and why. Lines end in
// "\n". The metadata is shown as text, its control characters as \xNN.
std::string PatchInfoText(const PatchInfo& info, const std::string& name, uint64_t size);

// "changes 3000 bytes in 2 stretches between 0x24000 and 0x2FFFF; grows from 458752 to
// 460800 bytes".
std::string ImageDifferenceText(const ImageDifference& difference);

} // namespace drovak
