#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace drovak {

// Where a tile palette's 16 colours were read: line `line` of the 64-colour palette at `offset`
// of the image `rom`. A palette without one is the grey ramp that stands in for no palette.
struct PaletteOrigin {
    unsigned line = 0;
    uint32_t offset = 0;
    std::string rom;
};

using PaletteSource = std::optional<PaletteOrigin>;

} // namespace drovak
