#pragma once

#include "rom/PointerTable.h"
#include "rom/RomFile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace drovak {

// One entry of a pointer table as the table lists it.
struct LzhListEntry {
    uint32_t index = 0;
    TableEntry entry;
    // Why it does not decode within the file (LzhEntryProblem); nothing when it does.
    std::optional<std::string> problem;
    // What the game keeps there (EntryRole); nothing when that is not known.
    std::optional<std::string> role;
};

// What an entry of the game's pointer table holds ("tile art, level 3", "blocks, level 3"; the
// levels counted from 1 as the level viewer shows them); nothing for other entries and other
// tables.
std::optional<std::string> EntryRole(uint32_t table, uint32_t index);

// Every entry of the table at `table` of a ROM image. RefusedError when the first DataOffset lies
// inside the leading word (no table); FileError, naming the file's size, when the entries'
// fields run past the end of the file.
std::vector<LzhListEntry> ListLzhTable(const RomBytes& rom, uint32_t table);

// The columns of the list, and an entry's cells: index and DataOffset in hexadecimal ("0x1F"),
// DecodedSize (as the table stores it) and PackedSize in decimal, "yes" or "no (why)", and the
// role or an empty cell.
constexpr std::array<const char*, 6> LZH_LIST_COLUMNS = {"Index",      "DataOffset", "DecodedSize",
                                                         "PackedSize", "Decodes",    "Holds"};
std::array<std::string, 6> LzhListCells(const LzhListEntry& entry);

} // namespace drovak
