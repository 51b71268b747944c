#include "rom/LzhTableList.h"

#include "base/Errors.h"
#include "rom/LzhPage.h"
#include "rom/RomLayout.h"

namespace drovak {

std::vector<LzhListEntry> ListLzhTable(const RomBytes& rom, uint32_t table) {
    ViewStream stream(rom.bytes, rom.name);
    if (ReadTableEntry(stream, table, 0).DataOffset < TABLE_LEADING_WORD_SIZE) {
        throw RefusedError(rom.name + ": no table at " + HexText(table) +
                           ": its first data offset lies inside its leading word");
    }
    // Checked before anything is listed: a count read from what is no table can be millions.
    const uint32_t count = EntryCount(stream, table);
    const uint64_t fieldsEnd =
        uint64_t(table) + TABLE_LEADING_WORD_SIZE + uint64_t(TABLE_ENTRY_SIZE) * count;
    if (fieldsEnd > rom.bytes.size()) {
        throw FileError(rom.name + ": too short for the table at " + HexText(table) + ": its " +
                        std::to_string(count) + " entries run to " + HexText(fieldsEnd) +
                        ", but the file ends at " + HexText(rom.bytes.size()) + " (" +
                        std::to_string(rom.bytes.size()) + " bytes)");
    }
    std::vector<LzhListEntry> entries;
    entries.reserve(count);
    for (uint32_t index = 0; index < count; ++index) {
        const TableEntry entry = ReadTableEntry(stream, table, index);
        entries.push_back({index, entry, LzhEntryProblem(rom.bytes.size(), table, entry),
                           EntryRole(table, index)});
    }
    return entries;
}

std::optional<std::string> EntryRole(uint32_t table, uint32_t index) {
    if (table != POINTER_TABLE_OFFSET) return std::nullopt;
    for (unsigned level = 0; level < LEVEL_COUNT; ++level) {
        const std::string shown = ", level " + std::to_string(level + 1);
        if (index == TileArtEntry(level)) return "tile art" + shown;
        if (index == BlockDataEntry(level)) return "blocks" + shown;
    }
    return std::nullopt;
}

std::array<std::string, 6> LzhListCells(const LzhListEntry& entry) {
    return {HexText(entry.index),
            HexText(entry.entry.DataOffset),
            std::to_string(entry.entry.DecodedSize),
            std::to_string(entry.entry.PackedSize),
            entry.problem ? "no (" + *entry.problem + ")" : "yes",
            entry.role.value_or("")};
}

} // namespace drovak
