#pragma once

#include "mod/FolderData.h"
#include "mod/Manifest.h"
#include "mod/ViewEdits.h"
#include "rom/LzhPage.h"
#include "rom/RlePage.h"
#include "rom/RomChange.h"
#include "rom/RomFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace drovak {

// One file of the folder that changed since the unpack, compressed back into the image.
struct PackedChange {
    ModFile file;              // its record in the manifest
    std::string source;        // the file the new data came from (the .bin or the sheet .png)
    std::vector<uint8_t> data; // the data it holds now
    // The compress it took (an entry's or a block's), planned on the image as the changes before
    // it left it: its sizes, moves and questions (the data grows, or is empty).
    std::optional<LzhInsertPlan> lzh;
    std::optional<RleInsertPlan> rle;
    // A sheet read back: the palette its values were taken by, by colour (a note), and how it
    // grew when drawn beyond its length (a question of its own before it is written).
    std::optional<TilePalette> decidedBy;
    std::optional<SheetGrowth> grown;

    uint32_t OldPackedSize() const;
    uint32_t NewPackedSize() const;
};

// Everything a pack will write, worked out in memory before anything is.
struct PackPlan {
    std::string dir;
    Manifest manifest;
    RomBytes base;              // the base image as read (its CRC-32 the manifest's)
    std::vector<uint8_t> image; // the new image, its header checksum as the change rule keeps it
    std::vector<PackedChange> changes;
    // The maps and palettes that changed (a level's block data they give is among `changes`;
    // palettes are written in place).
    std::vector<ViewChange> views;
    bool dataOnChecksum = false;
};

// The base image's path: basePath, or else the ROM the manifest names, seen from `dir`.
std::string PackBasePath(const Manifest& manifest, const std::string& dir,
                         const std::optional<std::string>& basePath);

// Reads the manifest of `dir` and the base image (basePath, or else the ROM the manifest names,
// seen from `dir`), tells which files changed (their CRC-32 is not the one recorded; a sheet
// that changed is read back as png-to-tiles reads it, with its recorded palette and layout) and
// applies each change to one image in memory as lzh-insert and rle-insert would, entries in
// table order, then blocks; then checks that every entry and block of the manifest decodes to
// its file's data. RefusedError (nothing written) for: a base whose CRC-32 or size is not the
// manifest's (both CRCs named), a .bin and its sheet that both changed and disagree (naming
// the entry), a change the page operations refuse, an image that does not decode back;
// FileError for a data file that can't be read.
PackPlan PlanPack(const std::string& dir, const std::optional<std::string>& basePath);

// Refuses (RefusedError) an output of a pack (the image, a patch) that lies inside the folder it
// packs: it would replace a file the folder holds (a .bin, drovak.toml). Nothing may answer
// that question.
void RefuseOutputInside(const std::string& dir, const std::string& outPath);

// Writes the plan's image to outPath through the one change path: an existing file (the base
// itself, or another) is replaced whole with its old image kept as NAME.bak, an image the same
// as the file's is not written; a missing one is written whole. RefusedError when outPath lies
// inside the folder (RefuseOutputInside), or is the base and changed since it was read;
// OtherContentError when it is another file that holds other data, unless `replaceOther`.
RomChange WritePack(const PackPlan& plan, const std::string& outPath, bool replaceOther);

} // namespace drovak
