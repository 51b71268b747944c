#include "app/RomDocument.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "rom/HeaderChecksum.h"
#include "rom/RomLayout.h"
#include "words/CommandWords.h"
#include "words/RomChangeWords.h"
#include "words/WindowStatusWords.h"
#include "words/WindowWords.h"

namespace drovak::app {

RomChange RomDocument::Undo(const std::string& path) {
    const RomChange change = UndoRomChange(path);
    Changed(path, RomUndoSummary(FileNamePart(path), change));
    return change;
}

RomChange RomDocument::FixChecksum(const std::string& path) {
    const RomChange change = ChangeRom(path, [&path](const RomBytes& now) {
        if (!StoredChecksum(now.bytes)) {
            throw RefusedError(NoHeaderChecksumMessage(FileNamePart(path), now.bytes.size()));
        }
        std::vector<uint8_t> fixed = now.bytes;
        StoreChecksum(fixed);
        return fixed;
    });
    Changed(path, change.written ? ChecksumFixedText(RomChangeSummary(FileNamePart(path), change))
                                 : ChecksumRightText(FileNamePart(path), change.storedChecksum));
    return change;
}

void RomDocument::Changed(const std::string& path, const std::string& summary) {
    emit changed(QString::fromStdString(path), QString::fromStdString(summary));
}

} // namespace drovak::app
