#pragma once

#include "mod/ModLayout.h"
#include "rom/RomLayout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drovak {

// drovak.toml: what an unpack wrote into a folder, so that a pack can tell what changed and put
// it back. Written and read as TOML.

constexpr const char* MANIFEST_NAME = "drovak.toml";
// The manifest's format; a manifest of a later format is refused.
// Format 1 had no views; it is still read.
constexpr int64_t MANIFEST_FORMAT = 2;

enum class ModKind { LzhEntry, RleBlock };

// A sheet written beside a data file, and the CRC-32 of the PNG file written.
struct SheetRecord {
    std::string name;
    uint32_t crc = 0;
    SheetLayout layout;
    bool operator==(const SheetRecord&) const = default;
};

// One data file: an entry of the table (its index and the fields stored for it) or an RLE block
// (its offset; decodedSize its data's length, packedSize the block's length in the ROM).
struct ModFile {
    ModKind kind = ModKind::LzhEntry;
    std::string name;
    uint32_t index = 0;
    uint32_t offset = 0;
    uint32_t dataOffset = 0;
    uint32_t decodedSize = 0;
    uint32_t packedSize = 0;
    uint64_t size = 0; // the bytes written
    uint32_t crc = 0;  // their CRC-32
    std::optional<SheetRecord> sheet;
    bool operator==(const ModFile&) const = default;
};

// A file written to show data in another tool's format: a level's map or block map and a
// palette, which a pack reads back, and a drawing a map shows as its tileset, which it never
// reads. `level` is 0 to 7 (maps and drawings); `offset` and `colours` are a palette's.
enum class ViewKind { LevelMap, BlockMap, Palette, Drawing };
struct ViewRecord {
    ViewKind kind = ViewKind::LevelMap;
    std::string name; // in a subfolder: "levels/level01.tmx", "palettes/title.gpl"
    uint32_t crc = 0;
    unsigned level = 0;
    uint32_t offset = 0;
    unsigned colours = 0;
    bool operator==(const ViewRecord&) const = default;
};

struct Manifest {
    int64_t format = MANIFEST_FORMAT;
    std::string romName; // the file's name
    std::string romPath; // the ROM image's path, seen from the folder
    uint64_t romSize = 0;
    uint32_t romCrc = 0;
    uint32_t table = 0;
    std::vector<ModFile> files;
    // Written first by an unpack that has not finished writing the files it lists (a run killed,
    // a disk full): the same unpack run again finishes it; a pack refuses it.
    bool unfinished = false;
    std::vector<ViewRecord> views;
    bool operator==(const Manifest&) const = default;
};

// The expected data-file name of a record ("20000_1F.bin", "48120.bin") and sheet name (".png").
std::string DataFileName(const Manifest& manifest, const ModFile& file);
std::string SheetFileName(const Manifest& manifest, const ModFile& file);

// What a file of the folder holds, as the game's layout knows it.
enum class ModContentKind { TileArt, LevelBlocks, SpriteSheet, TitleArt, Data };
struct ModContent {
    ModContentKind kind = ModContentKind::Data;
    unsigned level = 0; // 0 to 7, for tile art and level blocks
};
ModContent ContentOf(const ModFile& file, uint32_t table);

// What a record holds as the manifest stores it (its `role`; the words for the user are
// words/' ContentText): "tile art, level 3", "blocks, level 3", "title art", "sprite sheet";
// "not known" for other data. And a view's: "level map, level 3", "palette of the tile sheets".
std::string FileRole(const Manifest& manifest, const ModFile& file);
std::string ViewRole(const ViewRecord& view);

// The name a view record must have: the one its kind and level (or palette) give; empty for a
// palette the layout does not know.
std::string ViewName(const ViewRecord& view);
// "level map", "block map", "palette", "drawing": the kind as the manifest writes it.
const char* ViewKindText(ViewKind kind);

// The manifest as TOML text.
std::string ManifestText(const Manifest& manifest);

// Reads a manifest. RefusedError naming `sourceName` (and the line, for a TOML fault) for
// anything that is not one this program wrote: not TOML, a later format, a missing or
// mistyped key, a number out of range, a file name other than the one its record gives, a
// record repeated.
Manifest ParseManifest(std::string_view text, const std::string& sourceName);

// The same from DIR/drovak.toml (FileError when it can't be read), and written there whole.
Manifest ReadManifest(const std::string& dir);
void WriteManifest(const std::string& dir, const Manifest& manifest);

} // namespace drovak
