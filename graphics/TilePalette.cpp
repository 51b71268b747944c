#include "graphics/TilePalette.h"

#include "base/Errors.h"
#include "graphics/GraphicsProblem.h"
#include "rom/RomFile.h"

#include <algorithm>
#include <cstdio>

namespace drovak {

TilePalette PaletteLineOf(const PaletteTable& palette, PaletteOrigin origin) {
    const unsigned line = origin.line;
    if (line >= PALETTE_LINE_COUNT) {
        ThrowGraphicsProblem({GraphicsProblemKind::NoSuchPaletteLine, "", line});
    }
    TilePalette result;
    std::copy_n(palette.begin() + PALETTE_LINE_COLOURS * line, PALETTE_LINE_COLOURS,
                result.colours.begin());
    result.source = std::move(origin);
    return result;
}

TilePalette ReadTilePalette(const std::string& romPath, uint32_t paletteOffset, unsigned line) {
    const auto rom = OpenRomRead(romPath);
    const uint64_t lineEnd = uint64_t(paletteOffset) + 2 * PALETTE_LINE_COLOURS * (line + 1);
    if (line < PALETTE_LINE_COUNT && rom->Size() < lineEnd) {
        GraphicsProblem problem{GraphicsProblemKind::PaletteLinePastEnd, romPath, line};
        problem.at = paletteOffset;
        problem.end = lineEnd;
        problem.size = rom->Size();
        ThrowGraphicsProblem(std::move(problem));
    }
    return PaletteLineOf(ReadPalette(*rom, paletteOffset), {line, paletteOffset, romPath});
}

TilePalette GreyRampPalette() {
    TilePalette result;
    for (uint32_t v = 0; v < PALETTE_LINE_COLOURS; ++v) result.colours[v] = 17 * v * 0x010101;
    result.known = false;
    return result;
}

std::optional<std::pair<unsigned, unsigned>> RepeatedColour(const TilePalette& palette) {
    for (unsigned later = 1; later < PALETTE_LINE_COLOURS; ++later) {
        for (unsigned lower = 0; lower < later; ++lower) {
            if (palette.colours[lower] == palette.colours[later]) return std::pair{later, lower};
        }
    }
    return std::nullopt;
}

std::string ColourText(uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return text;
}

} // namespace drovak
