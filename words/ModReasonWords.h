#pragma once

// The reasons inside the words of a folder's problems: what is wrong with a manifest, a Tiled map
// and a map's cell (ModProblemWords puts the file and the place around them).

#include "mod/ModProblem.h"

#include <string>

namespace drovak {

// "\"text\"".
std::string Quoted(const std::string& text);

// "the top", "[rom]", "file 3", "file 3, its sheet", "view 2": where in the manifest.
std::string Place(const ModProblem& problem);

// The reason of a manifest's kind, a Tiled map's or a cell's; "" for a kind of another group.
std::string ManifestReason(const ModProblem& problem);
std::string TmxReason(const ModProblem& problem);
std::string CellReason(const ModProblem& problem);

} // namespace drovak
