#pragma once

// What a change or an undo of a ROM image did, and the refusal of an undo without a backup, in
// the user's words: one line each, the same in the window and on the terminal.

#include "rom/RomChange.h"

#include <cstdint>
#include <string>

namespace drovak {

// "2026-12-07 12:57:02": a time (seconds since 1970) in local time.
std::string LocalTimeText(int64_t seconds);

// "tf3.bin (4096 bytes, changed 2026-12-07 12:57:02) with tf3.bin.bak (4000 bytes, changed
// 2026-12-07 12:50:11)": the two sides of an undo, named without their folder, local time.
std::string UndoSidesText(const UndoSides& sides);

// The refusal of an undo without a backup (the words of NoBackupProblem).
std::string NoBackupMessage(const std::string& path);

// What a change or an undo of the ROM image called `name` did, in one line: "tf3.bin written;
// the previous image is kept as tf3.bin.bak; header checksum right (1A2B)." The backup is
// named without its folder (it lies beside the file).
std::string RomChangeSummary(const std::string& name, const RomChange& change);
std::string RomUndoSummary(const std::string& name, const RomChange& change);

} // namespace drovak
