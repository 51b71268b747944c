#pragma once

#include "rom/PointerTable.h"

#include <cstdint>
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

// "Decompress": reads entry `index` of the table at `table` of an open ROM image and decodes
// it. Throws FileError when the ROM is too short (for the fields, or for the PackedSize bytes of
// data of an entry with a DecodedSize), RefusedError for a decoded size over the limit.
LzhExtractResult LzhExtractEntry(Stream& rom, uint32_t table, uint32_t index);
// The same from the ROM image at romPath; FileError too when it can't be opened.
LzhExtractResult LzhExtractEntry(const std::string& romPath, uint32_t table, uint32_t index);

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
    std::string romPath;
    uint32_t table = 0;
    uint32_t index = 0;
    uint32_t entryCount = 0;
    uint32_t oldSize = 0; // PackedSize before (0 when the index is beyond the table)
    uint32_t newSize = 0; // length of the new LZHUF stream
    std::vector<uint8_t> packed;
    // Asked before anything is written: the new data is larger than the old.
    bool needsConfirmation = false;
    // The moves, in the order they are carried out (from the last entry down when the data
    // grew, from index + 1 up when it shrank, none when the size is unchanged).
    std::vector<DataMove> moves;
    // Entries index .. entryCount - 1 as they will be written (empty when index >= entryCount).
    std::vector<TableEntry> newEntries;
    bool writesNothing() const { return newEntries.empty(); }
};

// The text of the question asked when needsConfirmation is set.
extern const char* const LZH_GROWTH_QUESTION;

// Reads the input and the table, encodes the input, checks that the stream decodes back to the
// input, and plans the writes. Writes nothing. Throws FileError (a file missing or too short)
// or RefusedError (index of 32 or more, more than 32 entries, a first DataOffset below 2).
LzhInsertPlan PlanLzhInsert(const std::string& romPath, const std::string& inputPath,
                            uint32_t table, uint32_t index);

// Carries the plan out on the ROM: reads the data of every moved entry first, then moves it,
// writes the new stream and the table entries. Throws FileError before any write when a read
// fails, and RefusedError before any write when the table entries no longer hold what the
// plan read. A plan that writes nothing leaves the file alone.
void ApplyLzhInsert(const LzhInsertPlan& plan);

} // namespace drovak
