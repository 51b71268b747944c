#pragma once

#include "graphics/TilePalette.h"
#include "mod/ModLayout.h"
#include "rom/RomFile.h"

namespace drovak {

// The palette line a sheet is drawn with, read from a ROM image in memory as tiles-to-png reads
// it from the file. FileError when the image ends before the line.
TilePalette SheetPalette(const RomBytes& rom, const SheetLayout& layout);

} // namespace drovak
