#include "rom/RomChange.h"

#include "base/Errors.h"
#include "base/FileHandle.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "base/TemporaryFiles.h"

namespace drovak {

namespace {

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
    // Both files are held while they swap: no one reads or changes either meanwhile.
    FileStream rom(path, FileMode::Replace);
    const std::string backup = BackupPathOf(path);
    FileInfo info;
    if (!StatPath(backup, info)) throw RefusedError(NoBackupMessage(path));
    if (info.SameFileAs(rom.Info())) {
        // A change that failed after keeping its backup leaves two names of one file.
        throw RefusedError(path + ": its backup " + backup +
                           " is the same file, with the same image; nothing was changed");
    }
    FileStream kept(backup, FileMode::Replace);
    RomChange result;
    NoteChecksum(ReadRomContent(kept), result);
    SwapFiles(ReplacementTarget(path), backup);
    result.written = true;
    result.backupPath = backup;
    return result;
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
    return name + ": last change undone, kept as " + FileNamePart(change.backupPath) +
           " (undo again to redo it)" + ChecksumNote(change);
}

} // namespace drovak
