#pragma once

#include "graphics/TilePalette.h"
#include "mod/Manifest.h"
#include "rom/RomFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace drovak {

// A sheet drawn beyond the tiles of its data: how many it held and how many it holds now.
struct SheetGrowth {
    uint64_t before = 0;
    uint64_t after = 0;
};

// The data a file of an unpacked folder holds now: its .bin, or its sheet when only the sheet
// changed.
struct FolderData {
    std::vector<uint8_t> data;
    bool changed = false; // not the data the unpack wrote
    std::string source;   // the path the data came from
    // The palette a changed sheet's values were taken by, by colour (a note for the user).
    std::optional<TilePalette> decidedBy;
    // A sheet drawn beyond its length: asked before it is written.
    std::optional<SheetGrowth> grown;
};

// Reads the .bin of `file` in `dir` (FileError when it can't be read) and, when it has one and
// it changed, its sheet (read back as png-to-tiles reads it, with the recorded palette line of
// `base` and layout, keeping the recorded length or, when the picture does not record one, the
// .bin's length at the unpack). A missing sheet counts as unchanged. RefusedError, naming the
// entry, when the .bin and the sheet both changed and hold different data.
FolderData ReadFolderData(const std::string& dir, const Manifest& manifest, const ModFile& file,
                          const RomBytes& base);

} // namespace drovak
