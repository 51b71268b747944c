#include "app/RomDocument.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "rom/HeaderChecksum.h"
#include "rom/RomLayout.h"
#include "words/RomChangeWords.h"

namespace drovak::app {

RomChange RomDocument::Undo(const std::string& path) {
    const RomChange change = UndoRomChange(path);
    Changed(path, RomUndoSummary(FileNamePart(path), change));
    return change;
}

RomChange RomDocument::FixChecksum(const std::string& path) {
    const RomChange change = ChangeRom(path, [&path](const RomBytes& now) {
        if (!StoredChecksum(now.bytes)) {
            throw RefusedError(FileNamePart(path) + ": " + std::to_string(now.bytes.size()) +
                               " bytes hold no header checksum (it lies at " +
                               HexText(HEADER_CHECKSUM_OFFSET) + "); nothing was written");
        }
        std::vector<uint8_t> fixed = now.bytes;
        StoreChecksum(fixed);
        return fixed;
    });
    Changed(path, change.written
                      ? "Header checksum fixed: " + RomChangeSummary(FileNamePart(path), change)
                      : FileNamePart(path) + ": the header checksum is right (" +
                            ChecksumText(change.storedChecksum) + "); nothing was written.");
    return change;
}

void RomDocument::Changed(const std::string& path, const std::string& summary) {
    emit changed(QString::fromStdString(path), QString::fromStdString(summary));
}

} // namespace drovak::app
