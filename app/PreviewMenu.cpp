// The preview's context menu: the picture on show to the clipboard or a PNG file, the tiles of a
// sheet as an indexed PNG, and whether the picture keeps its proportions.
#include "app/MainForm.h"

#include "app/CompressionPage.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "graphics/PreviewPng.h"
#include "graphics/TileSheet.h"
#include "graphics/TilesToPng.h"
#include "preview/PreviewView.h"
#include "rom/RomChange.h"
#include "rom/RomLayout.h"
#include "words/WindowStatusWords.h"

#include <QAction>
#include <QImage>
#include <QMenu>

#include <algorithm>
#include <filesystem>

namespace drovak::app {

namespace {

// The picture's exact pixels. A picture holds its rows one after another, as an image of 32-bit
// pixels does (its lines need no padding), so its Width x Height pixels go over in one run.
QImage ToQImage(const PreviewImage& picture) {
    QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
    const auto pixels = picture.Pixels.begin();
    std::transform(pixels, pixels + ptrdiff_t(picture.Width) * picture.Height,
                   reinterpret_cast<QRgb*>(image.bits()), [](uint32_t pixel) {
                       return qRgb(pixel & 0xFF, (pixel >> 8) & 0xFF, (pixel >> 16) & 0xFF);
                   });
    return image;
}

} // namespace

void MainForm::BuildPreviewMenu() {
    previewMenu_ = new QMenu(this);
    previewMenu_->setObjectName("PreviewMenu");
    copyPictureAction_ = previewMenu_->addAction("Copy picture");
    savePictureAction_ = previewMenu_->addAction("Save picture as PNG...");
    saveTilesAction_ = previewMenu_->addAction("Save tiles as PNG...");
    undoChangeAction_ = previewMenu_->addAction("Undo the last change...");
    previewMenu_->addSeparator();
    keepProportionsAction_ = previewMenu_->addAction("Keep proportions");
    keepProportionsAction_->setCheckable(true);
    copyPictureAction_->setObjectName("CopyPictureAction");
    savePictureAction_->setObjectName("SavePictureAction");
    saveTilesAction_->setObjectName("SaveTilesAction");
    undoChangeAction_->setObjectName("UndoChangeAction");
    keepProportionsAction_->setObjectName("KeepProportionsAction");
    // Ctrl+C copies the picture while the view has the focus (a field keeps its own Ctrl+C).
    copyPictureAction_->setShortcut(QKeySequence::Copy);
    copyPictureAction_->setShortcutContext(Qt::WidgetShortcut);
    previewView_->addAction(copyPictureAction_);

    const auto run = [this](void (MainForm::*handler)()) {
        return [this, handler] { RunOperation([this, handler] { (this->*handler)(); }); };
    };
    connect(copyPictureAction_, &QAction::triggered, this, run(&MainForm::CopyPicture));
    connect(savePictureAction_, &QAction::triggered, this, run(&MainForm::SavePictureAsPng));
    connect(saveTilesAction_, &QAction::triggered, this, run(&MainForm::SaveTilesAsPng));
    connect(undoChangeAction_, &QAction::triggered, this, run(&MainForm::UndoPageRomChange));
    connect(keepProportionsAction_, &QAction::toggled, previewView_,
            &preview::PreviewView::SetKeepProportions);
    connect(previewMenu_, &QMenu::aboutToShow, this, &MainForm::UpdatePreviewMenu);
    previewView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(previewView_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) {
                previewMenu_->popup(previewView_->mapToGlobal(position));
            });
}

void MainForm::UpdatePreviewMenu() {
    const bool picture = !shownPicture_.Pixels.empty();
    copyPictureAction_->setEnabled(picture);
    savePictureAction_->setEnabled(picture);
    const CompressionPage* page = CompressionPageOnShow();
    saveTilesAction_->setVisible(page != nullptr);
    saveTilesAction_->setEnabled(shownTiles_.has_value());
    // The ROM of the page's tab on show, as Ctrl+Z outside a field: offered where it has a
    // backup to go back to.
    const std::string rom = page ? page->RomTextOnShow().toStdString() : std::string();
    const bool backup = !rom.empty() && FileExists(BackupPathOf(rom));
    undoChangeAction_->setVisible(backup);
    undoChangeAction_->setEnabled(backup);
    undoChangeAction_->setText(
        QString::fromStdString("Undo the last change to " + FileNamePart(rom) + "..."));
}

void MainForm::CopyPicture() {
    if (shownPicture_.Pixels.empty()) return;
    dialogs_.SetClipboardImage(ToQImage(shownPicture_));
    ShowStatus(
        QString::fromStdString(PictureCopiedText(shownPicture_.Width, shownPicture_.Height)));
}

std::optional<QString> MainForm::AskPngPath(const std::string& suggestedFrom) {
    SaveFileDialog.defaultExtension = "png";
    SaveFileDialog.filter = PNG_FILTER;
    FileDialogSettings settings = SaveFileDialog;
    if (settings.startFolder.isEmpty()) settings.startFolder = OutputFolder();
    // The name of the file the picture comes from, as a PNG.
    if (!suggestedFrom.empty()) {
        settings.fileName =
            QString::fromStdString(std::filesystem::path(suggestedFrom).stem().string() + ".png");
    }
    return dialogs_.RunFileDialog(this, FileDialogKind::Save, settings);
}

void MainForm::SavePictureAsPng() {
    if (shownPicture_.Pixels.empty()) return;
    const std::optional<QString> path = AskPngPath(PageRomPath().toStdString());
    if (!path) return;
    SavePreviewPng(shownPicture_, path->toStdString());
    ShowStatus(QString::fromStdString(PictureSavedText(FileNamePart(path->toStdString()),
                                                       shownPicture_.Width, shownPicture_.Height)));
}

void MainForm::SaveTilesAsPng() {
    if (!shownTiles_) return;
    // The palette the sheet was drawn with: line 0 of the preview palette of its ROM.
    const TilePalette palette = ReadTilePalette(shownTiles_->romPath, PREVIEW_PALETTE_OFFSET, 0);
    const std::optional<QString> path =
        AskPngPath(shownTiles_->dataName.empty() ? shownTiles_->romPath : shownTiles_->dataName);
    if (!path) return;
    const std::vector<uint8_t>& tiles = shownTiles_->data;
    // Laid out as the preview lays them: 64 cells to a row.
    SaveTilesPng(tiles, palette, PREVIEW_SHEET_COLUMNS, path->toStdString(), shownTiles_->cell);
    std::optional<RepeatedValues> repeated;
    if (const auto values = RepeatedColour(palette)) repeated = {values->second, values->first};
    const std::string cell =
        shownTiles_->cell == TileCell{} ? std::string() : TileCellText(shownTiles_->cell);
    ShowStatus(QString::fromStdString(
        TilesSavedText(tiles.size(), FileNamePart(path->toStdString()), PREVIEW_PALETTE_OFFSET,
                       PREVIEW_SHEET_COLUMNS, cell, repeated)));
}

} // namespace drovak::app
