#pragma once

// The user's words for why a PNG picture was not read or written: one line, naming the file
// first where there is one.

#include "png/PngProblem.h"

#include <string>

namespace drovak {

// "in.png: not a PNG file (it is empty)", and so on for each kind.
std::string PngProblemText(const PngProblem& problem);

} // namespace drovak
