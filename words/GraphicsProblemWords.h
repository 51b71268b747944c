#pragma once

// The user's words for why a picture was not drawn, read or written: one line, naming the file
// first where there is one.

#include "graphics/GraphicsProblem.h"

#include <string>

namespace drovak {

// "rom.bin: too short: palette line 0 of the palette at 0x7C0 ends at 0x7E0, the file ends at
// 0x7D0", and so on for each kind.
std::string GraphicsProblemText(const GraphicsProblem& problem);

// "palette line 0 of the palette at 0x5A000 in tf3.bin", or "the grey ramp" without an origin.
std::string PaletteText(const PaletteSource& source);

// What the window and the command line say when a picture's colours decided its values: "The
// palette of NAME is not palette line 0 of ... in its order: each pixel took the value of its
// colour."
std::string PaletteDecidedText(const std::string& name, const PaletteSource& palette);

} // namespace drovak
