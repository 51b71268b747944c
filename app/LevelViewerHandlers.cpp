#include "app/uMain.h"

#include "base/Paths.h"
#include "graphics/Level.h"
#include "graphics/LevelExport.h"
#include "preview/PreviewView.h"
#include "rom/LevelLayout.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <algorithm>
#include <optional>

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
    shownLevel_.reset(); // decoded anew: the level, the plane or the ROM changed
    DrawLevelView();
}

void MainForm::DrawLevelView() {
    if (!shownLevel_) shownLevel_ = DecodeLevel(RomPath.toStdString(), SelectedLevel());
    ShowPicture(AssembleLevel(*shownLevel_, PlaneBSelected(), ScrollColumn));
    ShowLevelPosition();
}

void MainForm::ShowLevelPosition() {
    // Start-up's own drawing leaves the credits on show.
    if (!started_) return;
    ShowStatus(QString("%1, Plane %2: column %3 of %4, screen %5 of %6")
                   .arg(LevelCombo->currentText(), PlaneBSelected() ? "B" : "A")
                   .arg(ScrollColumn)
                   .arg(LEVEL_LAST_SCROLL_COLUMN)
                   .arg(ScrollColumn / BLOCK_COLUMNS_SHOWN + 1)
                   .arg(LEVEL_SCREENS));
}

namespace {

// Where a key moves the first column of the view: the arrows one column, Page Up and Page Down
// one screen, Home and End to the first and the last; nothing for any other key.
std::optional<int> ColumnAfterKey(int key, int column) {
    switch (key) {
    case Qt::Key_Left:
        return column - 1;
    case Qt::Key_Right:
        return column + 1;
    case Qt::Key_PageUp:
        return column - int(BLOCK_COLUMNS_SHOWN);
    case Qt::Key_PageDown:
        return column + int(BLOCK_COLUMNS_SHOWN);
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return int(LEVEL_LAST_SCROLL_COLUMN);
    default:
        return std::nullopt;
    }
}

} // namespace

void MainForm::ScrollLevel(int key) {
    const std::optional<int> column = ColumnAfterKey(key, ScrollColumn);
    if (!column || !PreviewView->hasFocus()) return;
    // Only the level on show scrolls; nothing before a ROM is there or while an export runs.
    if (PageTabs->currentIndex() != TabIndex(MainPage::Levels) || exportRunning_ ||
        !RomExists(RomPath)) {
        return;
    }
    // At either end the view stays but is still drawn again.
    ScrollColumn = uint16_t(std::clamp(*column, 0, int(LEVEL_LAST_SCROLL_COLUMN)));
    DrawLevelView();
}

void MainForm::WheelLevel(int angleDelta) {
    if (PageTabs->currentIndex() != TabIndex(MainPage::Levels) || exportRunning_ ||
        !RomExists(RomPath)) {
        return;
    }
    // One column a step (120), a turn away from the user to the left, as a Left arrow.
    wheelRest_ += angleDelta;
    const int steps = wheelRest_ / 120;
    wheelRest_ %= 120;
    if (steps == 0) return;
    ScrollColumn = uint16_t(std::clamp(ScrollColumn - steps, 0, int(LEVEL_LAST_SCROLL_COLUMN)));
    DrawLevelView();
}

void MainForm::UpdateSaveButton() {
    SaveMapButton->setEnabled(!LevelRomEdit->text().isEmpty() && !LevelPngEdit->text().isEmpty());
}

void MainForm::BrowsePngPath() {
    SaveFileDialog.defaultExtension = "png";
    SaveFileDialog.filter = PNG_FILTER;
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
            // The arrow keys scroll again at once.
            form->FocusPreview();
        }
    } endOfExport{this};

    const QString pngPath = LevelPngEdit->text();
    QElapsedTimer time;
    time.start();
    ExportLevelPng(
        RomPath.toStdString(), SelectedLevel(), PlaneBSelected(), pngPath.toStdString(),
        FrameBuffer,
        [this](unsigned screensDone) {
            ExportProgress->setValue(static_cast<int>(screensDone));
            ScrollColumn = static_cast<uint16_t>(screensDone);
            // The window repaints and answers between screens.
            QCoreApplication::processEvents();
        },
        0, [] { QCoreApplication::processEvents(); });
    ShowStatus(QString("%1 saved: %2 x %3 pixels, %4 bytes, in %5 s.")
                   .arg(QFileInfo(pngPath).fileName())
                   .arg(LEVEL_PNG_WIDTH)
                   .arg(LEVEL_PNG_HEIGHT)
                   .arg(QFileInfo(pngPath).size())
                   .arg(double(time.elapsed()) / 1000, 0, 'f', 1));
}

} // namespace drovak::app
