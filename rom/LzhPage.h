#pragma once

#include "rom/PointerTable.h"
#include "rom/RomChange.h"
#include "rom/RomFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace drovak {

// The suggested data-file name of the LZH page: the ROM path's folder part, the offset text,
// "_", the index text, ".bin" (texts as typed).
std::string SuggestedLzhFileName(const std::string& romPath, const std::string& offsetText,
                                 const std::string& indexText);

struct LzhExtractResult {
    TableEntry entry;          // as read from the table
    std::vector<uint8_t> data; // everything the decoder wrote (up to 59 bytes past DecodedSize)
};

// "Decompress": reads entry `index` of the table at `table` of a ROM image and decodes it.
// Throws FileError when the image is too short (for the fields, or for the PackedSize bytes of
// data of an entry with a DecodedSize), RefusedError for a decoded size over the limit and for
// an index beyond the table's entry count ("entry 0x40 is beyond the table at 0x20000, which
// has 32 entries; nothing was read or written").
LzhExtractResult LzhExtractEntry(Stream& rom, uint32_t table, uint32_t index);
LzhExtractResult LzhExtractEntry(const RomBytes& rom, uint32_t table, uint32_t index);
// The same from the ROM image at romPath; FileError too when it can't be opened.
LzhExtractResult LzhExtractEntry(const std::string& romPath, uint32_t table, uint32_t index);

// Why an extract of the entry would fail ("data past the end of the file", "decoded size over
// the limit"), or nothing when it decodes within a file of fileSize bytes.
std::optional<std::string> LzhEntryProblem(uint64_t fileSize, uint32_t table,
                                           const TableEntry& entry);

// The entry a compress would replace, read after the refusals of PlanLzhInsert that concern the
// table and the index (an index of 32 or more or beyond the table, a table of more than 32
// entries or whose first DataOffset is below 2).
TableEntry LzhTargetEntry(const RomBytes& rom, uint32_t table, uint32_t index);

// One entry's data moved by a compress: PackedSize bytes from absolute position `from` to `to`.
struct DataMove {
    uint32_t index = 0;
    uint32_t from = 0;
    uint32_t to = 0;
    uint32_t size = 0;
    bool operator==(const DataMove&) const = default;
};

// Everything "Compress" will do, worked out before anything is written.
struct LzhInsertPlan {
    uint32_t table = 0;
    uint32_t index = 0;
    uint32_t entryCount = 0;
    uint64_t fileSize = 0;    // the ROM image's size as planned
    uint64_t newFileSize = 0; // its size afterwards (larger when data runs past its end)
    uint32_t oldSize = 0;     // PackedSize before
    uint32_t newSize = 0;     // length of the new LZHUF stream
    uint32_t inputSize = 0;   // the input's length
    // The entry's new DecodedSize: the input's length, or the old DecodedSize when the input is
    // the old data's decoder overshoot past it, unedited (NewDecodedSize).
    uint32_t decodedSize = 0;
    std::vector<uint8_t> packed;
    // Asked first: the input is empty, so the entry will hold no data.
    bool emptyInput = false;
    // Asked before anything is written: the new data is larger than the old.
    bool needsConfirmation = false;
    // When the data grows, the bytes after the table's data (entries index .. entryCount - 1)
    // that it overwrites: where that data ends, how many bytes of the file from there on are
    // overwritten, and how many of those are neither 00 nor FF.
    uint64_t tailStart = 0;
    uint32_t tailOverwritten = 0;
    uint32_t tailNotBlank = 0;
    // The moves, in entry order from the last down when the data grew, up when it shrank; none
    // when the size is unchanged.
    std::vector<DataMove> moves;
    // The table's fields or an entry's data lie on the header checksum's two bytes: they keep
    // what the table holds there, and the checksum is not stored.
    bool dataOnChecksum = false;
    // Entries index .. entryCount - 1 as read, and as they will be written.
    std::vector<TableEntry> oldEntries;
    std::vector<TableEntry> newEntries;
};

// Encodes the input, checks that the stream decodes back to it, reads the table of the image
// and plans the new image. Pure: reads and writes no file. Throws RefusedError (an index of 32
// or more, or beyond the table; more than 32 entries; a first DataOffset below 2; an input over
// MAX_DECODED_SIZE; a new image over MAX_ROM_SIZE) or FileError (the table's fields or an
// entry's data, the target's included, do not lie in the image).
LzhInsertPlan PlanLzhInsert(const RomBytes& rom, const std::vector<uint8_t>& input, uint32_t table,
                            uint32_t index);
// The same with the input read from inputPath (first) and the ROM image from romPath (whole,
// under a shared lock). FileError when either can't be read; missing files are not created.
LzhInsertPlan PlanLzhInsert(const std::string& romPath, const std::string& inputPath,
                            uint32_t table, uint32_t index);

// The complete new image: the plan carried out on the image as it is now. Pure. RefusedError
// when the image's size or the table entries the plan read are no longer what they were.
std::vector<uint8_t> ApplyLzhInsert(const LzhInsertPlan& plan, const RomBytes& rom);
// The same on the ROM image at romPath, replaced whole through ChangeRom (backup, checksum).
RomChange ApplyLzhInsert(const LzhInsertPlan& plan, const std::string& romPath);

} // namespace drovak
