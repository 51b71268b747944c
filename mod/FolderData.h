#pragma once

#include "mod/Manifest.h"
#include "rom/RomFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace drovak {

// The data a file of an unpacked folder holds now: its .bin, or its sheet when only the sheet
// changed.
struct FolderData {
    std::vector<uint8_t> data;
    bool changed = false; // not the data the unpack wrote
    std::string source;   // the path the data came from
    std::vector<std::string> notes;
    // What must be answered before it is written (a sheet drawn beyond its length); empty when
    // nothing.
    std::string question;
};

// Reads the .bin of `file` in `dir` (FileError when it can't be read) and, when it has one and
// it changed, its sheet (read back as png-to-tiles reads it, with the recorded palette line of
// `base` and layout, keeping the recorded length or, when the picture does not record one, the
// .bin's length at the unpack). A missing sheet counts as unchanged. RefusedError, naming the
// entry, when the .bin and the sheet both changed and hold different data.
FolderData ReadFolderData(const std::string& dir, const Manifest& manifest, const ModFile& file,
                          const RomBytes& base);

// "entry 0x1F (20000_1F.bin)", "the RLE block at 0x48120 (48120.bin)".
std::string ModFileDescription(const ModFile& file);

} // namespace drovak
