#pragma once

#include "base/FileSystem.h"
#include "rom/HeaderChecksum.h"
#include "rom/RomFile.h"
#include "rom/RomProblem.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace drovak {

// The two files an undo swaps: the ROM image and its backup, their sizes and when each was
// last changed (seconds since 1970).
struct UndoSides {
    std::string rom, backup;
    uint64_t romSize = 0, backupSize = 0;
    int64_t romChanged = 0, backupChanged = 0;
};

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
    // For an undo: the two files it swapped, as they were before (unknown when it finished an
    // undo that a killed run had left half-way: `finishedInterrupted`).
    UndoSides swapped;
    bool finishedInterrupted = false;
};

// The one way a ROM image is changed: it is opened under its exclusive lock (InUseError while
// another program reads or changes it) and read whole; `change` builds the new image from the
// bytes it holds now (and may throw to refuse); a header checksum that was right is kept right
// (the two bytes are part of the new image), a wrong one is left alone, and so is one that the
// change's own data lies on (`dataOnChecksum`, see KeepChecksum); the file is then
// replaced through ReplaceFile, with the old image kept as NAME.bak. An image the same as the
// old one is not written, and the backup stays as it was.
// `fileSystem` says which calls the file system offers.
RomChange ChangeRom(const std::string& path,
                    const std::function<std::vector<uint8_t>(const RomBytes&)>& change,
                    bool dataOnChecksum = false,
                    const FileSystemPolicy& fileSystem = RealFileSystem());

// Where the backup of the ROM image at path lies: NAME.bak beside the file (beside a link's
// target when path is a link).
std::string BackupPathOf(const std::string& path);

// Swaps the ROM image and its backup, under the image's lock: the last change is undone, and a
// second undo redoes it. An undo that a killed run left half-way is finished instead: that was
// the undo asked for (base/SwapFiles.h); a change finishes it too before it begins. RomRefusal
// when there is no backup, or it is not a regular file (a link, a FIFO, a folder): nothing is
// changed.
RomChange UndoRomChange(const std::string& path,
                        const FileSystemPolicy& fileSystem = RealFileSystem());

// What an undo of the ROM image at path would swap, for the question asked before it;
// RomRefusal as UndoRomChange when there is nothing it could swap.
UndoSides DescribeUndo(const std::string& path);

// The refusal of an undo of the ROM image at path that has no backup.
RomProblem NoBackupProblem(const std::string& path);

} // namespace drovak
