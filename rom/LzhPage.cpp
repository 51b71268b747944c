#include "rom/LzhPage.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "compression/Lzh.h"
#include "rom/DataFile.h"
#include "rom/RomFile.h"

#include <algorithm>

namespace drovak {

const char* const LZH_GROWTH_QUESTION =
    "New size of the compressed data is greater then previous!\r\n"
    "Drovak may recalculate sizes table. Do you want to continue?";

std::string SuggestedLzhFileName(const std::string& romPath, const std::string& offsetText,
                                 const std::string& indexText) {
    return FolderPart(romPath) + offsetText + "_" + indexText + ".bin";
}

namespace {

std::string EntryName(uint32_t table, uint32_t index) {
    return "entry " + HexText(index) + " of the table at " + HexText(table);
}

// The entry's stream must lie in the file: bytes past its end were never there to be read.
void CheckDataInFile(const Stream& rom, uint32_t table, uint32_t index, uint32_t at,
                     uint32_t size) {
    if (uint64_t(at) + size > rom.Size()) {
        throw FileError(rom.Name() + ": too short: the data of " + EntryName(table, index) + " (" +
                        std::to_string(size) + " bytes at " + HexText(at) +
                        ") runs past the end of the file at " + HexText(rom.Size()));
    }
}

// What the table held before the plan, rebuilt from the plan (entries index .. count - 1).
std::vector<TableEntry> EntriesBefore(const LzhInsertPlan& plan) {
    std::vector<TableEntry> before = plan.newEntries;
    const uint32_t delta = plan.newSize - plan.oldSize;
    for (size_t k = 0; k < before.size(); ++k) {
        if (k == 0) {
            before[k].PackedSize = plan.oldSize;
        } else {
            before[k].DataOffset -= delta;
        }
    }
    return before;
}

} // namespace

LzhExtractResult LzhExtractEntry(Stream& rom, uint32_t table, uint32_t index) {
    LzhExtractResult result;
    result.entry = ReadTableEntry(rom, table, index);
    const uint32_t at = table + result.entry.DataOffset;
    if (result.entry.DecodedSize > 0) {
        CheckDataInFile(rom, table, index, at, result.entry.PackedSize);
    }
    rom.Seek(at, SeekOrigin::Begin);
    MemoryStream data;
    LzhDecode(rom, data, result.entry.DecodedSize);
    result.data = data.Take();
    return result;
}

LzhExtractResult LzhExtractEntry(const std::string& romPath, uint32_t table, uint32_t index) {
    return LzhExtractEntry(*OpenRomRead(romPath), table, index);
}

LzhInsertPlan PlanLzhInsert(const std::string& romPath, const std::string& inputPath,
                            uint32_t table, uint32_t index) {
    if (index >= WORK_TABLE_CAPACITY) {
        throw RefusedError(romPath + ": " + EntryName(table, index) +
                           " is beyond the 32 entries (0x0 to 0x1F) that a compress can "
                           "recalculate; nothing was written");
    }

    // Encode the input and make sure the stream gives it back before the ROM is touched.
    const std::vector<uint8_t> input = ReadDataFile(inputPath);
    const uint32_t inputSize = uint32_t(input.size());
    MemoryStream source(input);
    MemoryStream packed;
    LzhEncode(source, packed, inputSize);
    packed.Seek(0, SeekOrigin::Begin);
    MemoryStream decoded;
    LzhDecode(packed, decoded, inputSize);
    if (decoded.Size() < inputSize ||
        !std::equal(input.begin(), input.end(), decoded.Data().begin())) {
        throw RefusedError(inputPath + ": the LZH stream made from it does not decode back to "
                                       "it; nothing was written");
    }

    LzhInsertPlan plan;
    plan.romPath = romPath;
    plan.table = table;
    plan.index = index;
    plan.newSize = uint32_t(packed.Size());
    plan.packed = packed.Take();

    // Read-only: a ROM that is missing is reported, never created.
    auto rom = OpenRomRead(romPath);
    rom->Seek(EntryPosition(table, 0), SeekOrigin::Begin);
    const uint32_t firstOffset = rom->ReadBigEndian32();
    if (firstOffset < TABLE_LEADING_WORD_SIZE) {
        throw RefusedError(romPath + ": the table at " + HexText(table) +
                           " is not a table: its first data offset " + HexText(firstOffset) +
                           " lies inside its leading word; nothing was written");
    }
    plan.entryCount = EntryCount(*rom, table);
    if (plan.entryCount > WORK_TABLE_CAPACITY) {
        throw RefusedError(romPath + ": the table at " + HexText(table) + " has " +
                           std::to_string(plan.entryCount) + " entries (first data offset " +
                           HexText(firstOffset) +
                           "); a compress can recalculate at most 32; nothing was written");
    }

    std::vector<TableEntry> entries;
    for (uint32_t k = index; k < plan.entryCount; ++k) {
        entries.push_back(ReadTableEntry(*rom, table, k));
    }
    // An index beyond the table counts as an empty entry: nothing is written for it.
    plan.oldSize = entries.empty() ? 0 : entries[0].PackedSize;
    plan.needsConfirmation = plan.newSize > plan.oldSize;
    if (entries.empty()) return plan;

    // The following entries shift by the change in size, in 32-bit wrap-around arithmetic; a
    // shrink is a negative shift. DecodedSize fields stay as they are.
    const uint32_t delta = plan.newSize - plan.oldSize;
    plan.newEntries = entries;
    plan.newEntries[0].PackedSize = plan.newSize;
    for (size_t k = 1; k < entries.size(); ++k) {
        plan.newEntries[k].DataOffset = entries[k].DataOffset + delta;
        if (delta == 0) continue;
        DataMove move;
        move.index = index + uint32_t(k);
        move.from = table + entries[k].DataOffset;
        move.to = table + plan.newEntries[k].DataOffset;
        move.size = entries[k].PackedSize;
        CheckDataInFile(*rom, table, move.index, move.from, move.size);
        plan.moves.push_back(move);
    }
    // Growing, the last entry moves first; shrinking, the first: no entry's old bytes are
    // overwritten before they have been read.
    if (plan.needsConfirmation) std::reverse(plan.moves.begin(), plan.moves.end());
    return plan;
}

void ApplyLzhInsert(const LzhInsertPlan& plan) {
    if (plan.writesNothing()) return;
    // The plan found the ROM; if it has gone since, don't create an empty one.
    if (!FileExists(plan.romPath)) {
        throw FileError(plan.romPath + ": cannot open for writing: the file no longer exists");
    }
    auto rom = OpenRomPatch(plan.romPath);

    // Every read comes before the first write: the table as the plan saw it, then the data of
    // every entry that moves.
    const std::vector<TableEntry> before = EntriesBefore(plan);
    for (size_t k = 0; k < before.size(); ++k) {
        if (ReadTableEntry(*rom, plan.table, plan.index + uint32_t(k)) != before[k]) {
            throw RefusedError(plan.romPath + ": " +
                               EntryName(plan.table, plan.index + uint32_t(k)) +
                               " changed since it was read; nothing was written");
        }
    }
    std::vector<std::vector<uint8_t>> movedData;
    movedData.reserve(plan.moves.size());
    for (const DataMove& move : plan.moves) {
        std::vector<uint8_t> bytes(move.size);
        rom->Seek(move.from, SeekOrigin::Begin);
        rom->ReadExact(bytes.data(), bytes.size());
        movedData.push_back(std::move(bytes));
    }

    for (size_t m = 0; m < plan.moves.size(); ++m) {
        rom->Seek(plan.moves[m].to, SeekOrigin::Begin);
        rom->Write(movedData[m].data(), movedData[m].size());
    }
    rom->Seek(uint32_t(plan.table + plan.newEntries[0].DataOffset), SeekOrigin::Begin);
    rom->Write(plan.packed.data(), plan.packed.size());
    for (size_t k = 0; k < plan.newEntries.size(); ++k) {
        WriteTableEntry(*rom, plan.table, plan.index + uint32_t(k), plan.newEntries[k]);
    }
    rom->Sync();
}

} // namespace drovak
