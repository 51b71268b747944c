#pragma once

#include "mod/FolderData.h"
#include "mod/Manifest.h"
#include "rom/RomFile.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace drovak {

// What the views of a folder (its maps and palettes) change, worked out before the image is:
// facts about each view file that changed, the block data its level's maps give, the palette
// words to write in place.

struct ViewChange {
    ViewRecord record;
    std::string path;
    size_t cellsChanged = 0;              // a map's cells whose tile changed
    std::vector<unsigned> coloursChanged; // a palette's colours whose words change
    std::vector<unsigned> snapped;        // of them, those moved to the nearest console colour
};

struct EntryFromViews {
    std::vector<uint8_t> data;
    std::vector<std::string> sources; // the maps it came from
};

struct PaletteWrite {
    uint32_t offset = 0;
    std::vector<uint8_t> bytes; // big-endian colour words
};

struct ViewEdits {
    std::vector<ViewChange> changes; // every view file whose CRC-32 is not the recorded one
    std::map<uint32_t, EntryFromViews> entries; // by index in the table: the new block data
    std::vector<PaletteWrite> palettes;
};

// Reads every map and palette of `dir` that changed since the unpack (a missing one counts as
// unchanged; drawings are never read) against `base`, the image unpacked. A map or palette
// saved again with the same content changes nothing. RefusedError (nothing written) naming the
// file for what ApplyLevelTmx, ApplyBlockTmx, ParseTmx and ParseGimpPalette refuse.
ViewEdits ReadViewEdits(const std::string& dir, const Manifest& manifest, const RomBytes& base);

// Takes the block data the maps give for `file` into `now` (as changed, its source the maps).
// RefusedError naming the .bin and the maps when the .bin changed too and holds other data.
void TakeViewData(const ViewEdits& edits, const ModFile& file, FolderData& now);

} // namespace drovak
