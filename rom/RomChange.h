#pragma once

#include "rom/HeaderChecksum.h"
#include "rom/RomFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace drovak {

// What a change of a ROM image did.
struct RomChange {
    // False when the new image was the same as the old one: nothing was written.
    bool written = false;
    // Where the previous image is kept (NAME.bak beside the file), when written.
    std::string backupPath;
    // The header checksum of the ROM image as it is now.
    ChecksumState checksum = ChecksumState::NoHeader;
    uint16_t storedChecksum = 0;
    uint16_t computedChecksum = 0;
};

// The one way a ROM image is changed: it is opened under its exclusive lock (InUseError while
// another program reads or changes it) and read whole; `change` builds the new image from the
// bytes it holds now (and may throw to refuse); a header checksum that was right is kept right
// (the two bytes are part of the new image), a wrong one is left alone, and so is one that the
// change's own data lies on (`dataOnChecksum`, see KeepChecksum); the file is then
// replaced through ReplaceFile, with the old image kept as NAME.bak. An image the same as the
// old one is not written, and the backup stays as it was.
RomChange ChangeRom(const std::string& path,
                    const std::function<std::vector<uint8_t>(const RomBytes&)>& change,
                    bool dataOnChecksum = false);

// Where the backup of the ROM image at path lies: NAME.bak beside the file (beside a link's
// target when path is a link).
std::string BackupPathOf(const std::string& path);

// Swaps the ROM image and its backup, under the image's lock: the last change is undone, and a
// second undo redoes it. RefusedError when there is no backup (nothing is changed).
RomChange UndoRomChange(const std::string& path);

// The refusal of an undo without a backup.
std::string NoBackupMessage(const std::string& path);

// What a change or an undo of the ROM image called `name` did, in one line: "tf3.bin written;
// the previous image is kept as tf3.bin.bak; header checksum right (1A2B)." The backup is
// named without its folder (it lies beside the file).
std::string RomChangeSummary(const std::string& name, const RomChange& change);
std::string RomUndoSummary(const std::string& name, const RomChange& change);

} // namespace drovak
