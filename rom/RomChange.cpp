#include "rom/RomChange.h"

#include "base/FileHandle.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "base/SwapFiles.h"
#include "base/TemporaryFiles.h"
#include "rom/RomProblem.h"

namespace drovak {

namespace {

// The backup of the ROM image at `target`, checked: a regular file, not the image itself.
FileInfo CheckedBackup(const std::string& path, const std::string& backup, const FileInfo& rom) {
    FileInfo info;
    if (!StatLink(backup, info)) ThrowRomProblem(NoBackupProblem(path));
    if (!info.IsRegular()) {
        RomProblem problem{RomProblemKind::BackupNotRegular, path};
        problem.other = backup;
        problem.value = info.mode;
        ThrowRomProblem(problem);
    }
    if (info.links > 1 && !info.SameFileAs(rom)) {
        RomProblem problem{RomProblemKind::BackupHasOtherNames, path};
        problem.other = backup;
        problem.value = uint32_t(info.links);
        ThrowRomProblem(problem);
    }
    if (info.SameFileAs(rom)) {
        // A change that failed after keeping its backup leaves two names of one file.
        RomProblem problem{RomProblemKind::BackupIsRom, path};
        problem.other = backup;
        ThrowRomProblem(problem);
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

} // namespace

RomChange ChangeRom(const std::string& path,
                    const std::function<std::vector<uint8_t>(const RomBytes&)>& change,
                    bool dataOnChecksum, const FileSystemPolicy& fileSystem) {
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
                    {.locked = &file, .keepBackup = true, .fileSystem = &fileSystem});
    result.written = true;
    return result;
}

std::string BackupPathOf(const std::string& path) {
    return ReplacementTarget(path) + ".bak";
}

RomProblem NoBackupProblem(const std::string& path) {
    RomProblem problem{RomProblemKind::NoBackup, path};
    problem.other = BackupPathOf(path);
    return problem;
}

RomChange UndoRomChange(const std::string& path, const FileSystemPolicy& fileSystem) {
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
    SwapFiles(target, backup, fileSystem);
    result.written = true;
    result.backupPath = backup;
    return result;
}

UndoSides DescribeUndo(const std::string& path) {
    const std::string backup = BackupPathOf(path);
    FileInfo rom;
    if (!StatPath(path, rom)) ThrowRomProblem(NoBackupProblem(path));
    return SidesOf(path, rom, backup, CheckedBackup(path, backup, rom));
}

} // namespace drovak
