#include "words/RomChangeWords.h"

#include "base/Paths.h"
#include "words/RomProblemWords.h"

#include <ctime>

namespace drovak {

std::string LocalTimeText(int64_t seconds) {
    const std::time_t time = std::time_t(seconds);
    std::tm local{};
    char text[32] = "?";
    if (::localtime_r(&time, &local)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

namespace {

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

std::string NoBackupMessage(const std::string& path) {
    return RomProblemText(NoBackupProblem(path));
}

std::string UndoSidesText(const UndoSides& sides) {
    return FileNamePart(sides.rom) + " (" + std::to_string(sides.romSize) + " bytes, changed " +
           LocalTimeText(sides.romChanged) + ") with " + FileNamePart(sides.backup) + " (" +
           std::to_string(sides.backupSize) + " bytes, changed " +
           LocalTimeText(sides.backupChanged) + ")";
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
