#pragma once

#include "mod/Manifest.h"
#include "rom/RomFile.h"

#include <cstdint>
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace drovak {

// The views an unpack writes beside the data files (Manifest.h, ViewRecord): for each level of
// the game's table its map, its block map and the drawings they show, and every palette the
// layout knows as a palette file.

struct ViewOutput {
    ViewRecord record; // its CRC-32 that of `bytes`
    std::vector<uint8_t> bytes;
};

struct ViewOutputs {
    std::vector<ViewOutput> outputs;
    // What can't be drawn (a level whose data does not decode, a palette past the end), by
    // name, and why.
    std::vector<std::pair<std::string, std::exception_ptr>> skipped;
};

// The views of a ROM image unpacked with the table `table` (only the game's table has levels).
ViewOutputs MakeViews(const RomBytes& rom, uint32_t table);

// The colour words of a palette of a ROM image (count words at offset); RefusedError naming the
// image when it ends before them.
std::vector<uint16_t> PaletteWordsAt(const RomBytes& rom, uint32_t offset, unsigned count);

} // namespace drovak
