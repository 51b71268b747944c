#include "app/uMain.h"

#include "base/Paths.h"
#include "graphics/Level.h"
#include "graphics/LevelExport.h"
#include "preview/PreviewView.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace drovak::app {

namespace {

bool RomExists(const QString& path) {
    return FileExists(path.toStdString());
}

} // namespace

unsigned MainForm::SelectedLevel() const {
    const int index = LevelCombo->currentIndex();
    return index < 0 ? 0u : static_cast<unsigned>(index);
}

bool MainForm::PlaneBSelected() const {
    return !PlaneARadio->isChecked();
}

void MainForm::PageSwitched() {
    if (!RomExists(RomPath)) return;
    switch (static_cast<MainPage>(PageTabs->currentIndex())) {
    case MainPage::Lzh:
        LzhDecompRomEdit->setText(RomPath);
        LzhCompRomEdit->setText(RomPath);
        break;
    case MainPage::Rle:
        RleDecompRomEdit->setText(RomPath);
        RleCompRomEdit->setText(RomPath);
        break;
    case MainPage::Levels:
        LevelRomEdit->setText(RomPath);
        ShowLevel();
        break;
    case MainPage::Title:
        TitleRomEdit->setText(RomPath);
        break;
    }
}

void MainForm::ShowLevel() {
    // While an export runs, the level on show stays as it is.
    if (exportRunning_ || !RomExists(RomPath)) return;
    LevelPngEdit->setText(programFolder_ + QString::fromStdString(DefaultLevelPngName(
                                               SelectedLevel(), PlaneBSelected())));
    UpdateSaveButton();
    ScrollColumn = 0;
    DrawLevelView();
}

void MainForm::DrawLevelView() {
    // Decoding the level anew on every key press costs about 0.2 ms on the demo ROM, a few per
    // cent of a scroll step; keeping it decoded is not worth the staleness it risks.
    ShowPicture(AssembleLevel(DecodeLevel(RomPath.toStdString(), SelectedLevel()), PlaneBSelected(),
                              ScrollColumn, FrameBuffer));
}

void MainForm::ScrollLevel(int key) {
    if (key != Qt::Key_Left && key != Qt::Key_Right) return;
    if (!PreviewView->hasFocus()) return;
    // Nothing to scroll before a ROM is there, and nothing while an export runs.
    if (exportRunning_ || !RomExists(RomPath)) return;
    if (key == Qt::Key_Left && ScrollColumn > 0) --ScrollColumn;
    if (key == Qt::Key_Right && ScrollColumn < LEVEL_LAST_SCROLL_COLUMN) ++ScrollColumn;
    DrawLevelView();
}

void MainForm::UpdateSaveButton() {
    SaveMapButton->setEnabled(!LevelRomEdit->text().isEmpty() && !LevelPngEdit->text().isEmpty());
}

void MainForm::BrowsePngPath() {
    SaveFileDialog.defaultExtension = "png";
    SaveFileDialog.filter = "PNG Files (*.png)|*.png";
    if (const std::optional<QString> path = RunDialog(FileDialogKind::Save)) {
        LevelPngEdit->setText(*path);
    }
}

void MainForm::SaveLevelMap() {
    if (exportRunning_) return;
    exportRunning_ = true;
    ExportProgress->setValue(0);
    ExportProgress->setMaximum(static_cast<int>(LEVEL_SCREENS));
    ScrollColumn = 0;
    struct EndOfExport {
        MainForm* form;
        ~EndOfExport() {
            form->FrameBuffer.fill(0);
            form->ExportProgress->setValue(0);
            form->exportRunning_ = false;
        }
    } endOfExport{this};

    ExportLevelPng(RomPath.toStdString(), SelectedLevel(), PlaneBSelected(),
                   LevelPngEdit->text().toStdString(), FrameBuffer, [this](unsigned screensDone) {
                       ExportProgress->setValue(static_cast<int>(screensDone));
                       ScrollColumn = static_cast<uint16_t>(screensDone);
                       // The window repaints and answers between screens.
                       QCoreApplication::processEvents();
                   });
}

} // namespace drovak::app
