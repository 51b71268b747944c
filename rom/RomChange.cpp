#include "rom/RomChange.h"

#include "base/Errors.h"
#include "base/FileHandle.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "base/SwapFiles.h"
#include "base/TemporaryFiles.h"

#include <ctime>

namespace drovak {

namespace {

std::string TimeText(int64_t seconds) {
    const std::time_t time = std::time_t(seconds);
    std::tm local{};
    char text[32] = "?";
    if (::localtime_r(&time, &local)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

// The backup of the ROM image at `target`, checked: a regular file, not the image itself.
FileInfo CheckedBackup(const std::string& path, const std::string& backup, const FileInfo& rom) {
    FileInfo info;
    if (!StatLink(backup, info)) throw RefusedError(NoBackupMessage(path));
    if (!info.IsRegular()) {
        throw RefusedError(path + ": its backup " + backup + " is " + FileKind(info.mode) +
                           ", not a regular file; undo swaps only a regular file; nothing was "
                           "changed");
    }
    if (info.SameFileAs(rom)) {
        // A change that failed after keeping its backup leaves two names of one file.
        throw RefusedError(path + ": its backup " + backup +
                           " is the same file, with the same image; nothing was changed");
    }
    return info;
}

UndoSides SidesOf(const std::string& path, const FileInfo& rom, const std::string& backup,
                  const FileInfo& kept) {
    return {path, backup, rom.size, kept.size, rom.modified, kept.modified};
}

void NoteChecksum(const std::vector<uint8_t>& image, RomChange& change) {
    change.checksum = CheckChecksum(image);
    change.storedChecksum = StoredChecksum(image).value_or(0);
    change.computedChecksum = ComputeChecksum(image);
}

std::string ChecksumNote(const RomChange& change) {
    switch (change.checksum) {
    case ChecksumState::Right:
        return "; header checksum right (" + ChecksumText(change.computedChecksum) + ").";
    case ChecksumState::Wrong:
        return "; header checksum wrong (stored " + ChecksumText(change.storedChecksum) +
               ", computed " + ChecksumText(change.computedChecksum) + ").";
    case ChecksumState::NoHeader:
        break;
    }
    return ".";
}

} // namespace

RomChange ChangeRom(const std::string& path,
                    const std::function<std::vector<uint8_t>(const RomBytes&)>& change,
                    bool dataOnChecksum) {
    const std::string target = ReplacementTarget(path);
    FinishInterruptedSwap(target, target + ".bak");
    FileStream file(path, FileMode::Replace);
    const RomBytes old{path, ReadRomContent(file)};
    std::vector<uint8_t> image = change(old);
    CheckRomSize(path, image.size());
    KeepChecksum(old.bytes, image, dataOnChecksum);

    RomChange result;
    NoteChecksum(image, result);
    if (image == old.bytes) return result;
    result.backupPath =
        ReplaceFile(path, [&image](Stream& out) { out.Write(image.data(), image.size()); },
                    {.locked = &file, .keepBackup = true});
    result.written = true;
    return result;
}

std::string BackupPathOf(const std::string& path) {
    return ReplacementTarget(path) + ".bak";
}

std::string NoBackupMessage(const std::string& path) {
    return path + ": there is no backup " + BackupPathOf(path) +
           " to go back to; nothing was changed";
}

RomChange UndoRomChange(const std::string& path) {
    const std::string target = ReplacementTarget(path);
    const std::string backup = target + ".bak";
    if (FinishInterruptedSwap(target, backup) == InterruptedSwap::Finished) {
        FileStream rom(path, FileMode::Read);
        RomChange result;
        NoteChecksum(ReadRomContent(rom), result);
        result.written = true;
        result.backupPath = backup;
        result.finishedInterrupted = true;
        return result;
    }
    // Both files are held while they swap: no one reads or changes either meanwhile.
    FileStream rom(path, FileMode::Replace);
    const FileInfo info = CheckedBackup(path, backup, rom.Info());
    FileStream kept(backup, FileMode::Replace);
    RomChange result;
    NoteChecksum(ReadRomContent(kept), result);
    result.swapped = SidesOf(path, rom.Info(), backup, info);
    SwapFiles(target, backup);
    result.written = true;
    result.backupPath = backup;
    return result;
}

UndoSides DescribeUndo(const std::string& path) {
    const std::string backup = BackupPathOf(path);
    FileInfo rom;
    if (!StatPath(path, rom)) throw RefusedError(NoBackupMessage(path));
    return SidesOf(path, rom, backup, CheckedBackup(path, backup, rom));
}

std::string UndoSidesText(const UndoSides& sides) {
    return FileNamePart(sides.rom) + " (" + std::to_string(sides.romSize) + " bytes, changed " +
           TimeText(sides.romChanged) + ") with " + FileNamePart(sides.backup) + " (" +
           std::to_string(sides.backupSize) + " bytes, changed " + TimeText(sides.backupChanged) +
           ")";
}

std::string RomChangeSummary(const std::string& name, const RomChange& change) {
    if (!change.written) {
        return name + " unchanged: the new data is the same as the old; nothing was written" +
               ChecksumNote(change);
    }
    return name + " written; the previous image is kept as " + FileNamePart(change.backupPath) +
           ChecksumNote(change);
}

std::string RomUndoSummary(const std::string& name, const RomChange& change) {
    const std::string sides = change.finishedInterrupted
                                  ? " An undo that was interrupted has been finished."
                                  : " Swapped " + UndoSidesText(change.swapped) + ".";
    return name + ": last change undone, kept as " + FileNamePart(change.backupPath) +
           " (undo again to redo it)" + ChecksumNote(change) + sides;
}

} // namespace drovak
