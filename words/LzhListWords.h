#pragma once

// The list of a pointer table's entries in words: its columns and each entry's cells, the same
// in the window's list and on the terminal.

#include "rom/LzhTableList.h"

#include <array>
#include <string>

namespace drovak {

// "tile art, level 3", "blocks, level 3": the level counted from 1, as the level viewer shows it.
std::string EntryRoleText(const EntryRole& role);
// "data past the end of the file", "decoded size over the limit".
std::string EntryProblemText(EntryProblem problem);

// The columns of the list, and an entry's cells: index and DataOffset in hexadecimal ("0x1F"),
// DecodedSize (as the table stores it) and PackedSize in decimal, "yes" or "no (why)", and the
// role or an empty cell.
constexpr std::array<const char*, 6> LZH_LIST_COLUMNS = {"Index",      "DataOffset", "DecodedSize",
                                                         "PackedSize", "Decodes",    "Holds"};
std::array<std::string, 6> LzhListCells(const LzhListEntry& entry);

} // namespace drovak
