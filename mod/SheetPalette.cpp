#include "mod/SheetPalette.h"

#include "base/Errors.h"
#include "base/Stream.h"
#include "mod/ModProblem.h"

namespace drovak {

TilePalette SheetPalette(const RomBytes& rom, const SheetLayout& layout) {
    const uint64_t lineEnd =
        uint64_t(layout.paletteOffset) + 2 * PALETTE_LINE_COLOURS * (layout.paletteLine + 1);
    if (rom.bytes.size() < lineEnd) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::SheetPalettePastEnd,
                                   .file = rom.name,
                                   .limit = lineEnd,
                                   .line = layout.paletteLine,
                                   .offset = layout.paletteOffset,
                                   .size = rom.bytes.size()});
    }
    ViewStream stream(rom.bytes, rom.name);
    return PaletteLineOf(ReadPalette(stream, layout.paletteOffset),
                         {layout.paletteLine, layout.paletteOffset, rom.name});
}

} // namespace drovak
