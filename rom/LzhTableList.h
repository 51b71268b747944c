#pragma once

#include "rom/LzhPage.h"
#include "rom/PointerTable.h"
#include "rom/RomFile.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace drovak {

// What an entry of the game's pointer table holds: a level's tile art or its blocks (the level
// counted from 0).
struct EntryRole {
    enum Kind { TileArt, Blocks } kind = TileArt;
    unsigned level = 0;
    bool operator==(const EntryRole&) const = default;
};

// One entry of a pointer table as the table lists it.
struct LzhListEntry {
    uint32_t index = 0;
    TableEntry entry;
    // Why it does not decode within the file (LzhEntryProblem); nothing when it does.
    std::optional<EntryProblem> problem;
    // What the game keeps there (RoleOfEntry); nothing when that is not known.
    std::optional<EntryRole> role;
};

// What an entry of the game's pointer table holds; nothing for other entries and other tables.
std::optional<EntryRole> RoleOfEntry(uint32_t table, uint32_t index);

// Every entry of the table at `table` of a ROM image. RomRefusal when the first DataOffset lies
// inside the leading word (no table); RomShortFile, with the file's size, when the entries'
// fields run past the end of the file.
std::vector<LzhListEntry> ListLzhTable(const RomBytes& rom, uint32_t table);

} // namespace drovak
