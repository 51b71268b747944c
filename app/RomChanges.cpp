// What the window does when the ROM changes: the undo it offers, and the pages drawn anew after
// any change the document reports.
#include "app/MainForm.h"

#include "app/LevelsPage.h"
#include "app/Page.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "rom/RomChange.h"
#include "words/RomChangeWords.h"
#include "words/RomProblemWords.h"
#include "words/WindowStatusWords.h"
#include "words/WindowWords.h"

namespace drovak::app {

void MainForm::UndoPageRomChange() {
    const std::string path = PageRomPath().toStdString();
    if (path.empty()) return;
    // Refused when there is no backup; the question names both files, on every page.
    const UndoSides sides = DescribeUndo(path);
    if (!Ask(UndoQuestion(FileNamePart(path), UndoSidesText(sides)))) return;
    document_.Undo(path);
}

void MainForm::RomChanged(const QString& path, const QString& summary) {
    std::string status = summary.toStdString();
    // The level the Levels Viewer decoded is of the ROM as it was.
    levelsPage_->RomChanged();
    Page* page = pages_[size_t(PageOnShow())];
    const QString pageRom = page->RomOnShow();
    if (pageRom == path || SameFile(pageRom.toStdString(), path.toStdString())) {
        // The picture first: drawing it may put its own line on the status line.
        try {
            page->DrawFromRom(path);
        } catch (const DrovakError& error) {
            status += PreviewNotDrawnNote(ErrorText(error));
        }
    }
    ShowStatus(QString::fromStdString(status));
}

} // namespace drovak::app
