#include "rom/LzhTableList.h"

#include "rom/RomLayout.h"
#include "rom/RomProblem.h"

namespace drovak {

std::vector<LzhListEntry> ListLzhTable(const RomBytes& rom, uint32_t table) {
    ViewStream stream(rom.bytes, rom.name);
    if (ReadTableEntry(stream, table, 0).DataOffset < TABLE_LEADING_WORD_SIZE) {
        ThrowRomProblem({RomProblemKind::NoTableToList, rom.name, table});
    }
    // Checked before anything is listed: a count read from what is no table can be millions.
    const uint32_t count = EntryCount(stream, table);
    const uint64_t fieldsEnd =
        uint64_t(table) + TABLE_LEADING_WORD_SIZE + uint64_t(TABLE_ENTRY_SIZE) * count;
    if (fieldsEnd > rom.bytes.size()) {
        RomProblem problem{RomProblemKind::TableRunsPastEnd, rom.name, table};
        problem.count = count;
        problem.at = fieldsEnd;
        problem.fileSize = rom.bytes.size();
        ThrowRomProblem(problem);
    }
    std::vector<LzhListEntry> entries;
    entries.reserve(count);
    for (uint32_t index = 0; index < count; ++index) {
        const TableEntry entry = ReadTableEntry(stream, table, index);
        entries.push_back({index, entry, LzhEntryProblem(rom.bytes.size(), table, entry),
                           RoleOfEntry(table, index)});
    }
    return entries;
}

std::optional<EntryRole> RoleOfEntry(uint32_t table, uint32_t index) {
    if (table != POINTER_TABLE_OFFSET) return std::nullopt;
    for (unsigned level = 0; level < LEVEL_COUNT; ++level) {
        if (index == TileArtEntry(level)) return EntryRole{EntryRole::TileArt, level};
        if (index == BlockDataEntry(level)) return EntryRole{EntryRole::Blocks, level};
    }
    return std::nullopt;
}

} // namespace drovak
