// The preview's context menu: the picture on show to the clipboard or a PNG file, the tiles of a
// sheet as an indexed PNG, and whether the picture keeps its proportions.
#include "app/uMain.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "graphics/PreviewPng.h"
#include "graphics/TileSheet.h"
#include "graphics/TilesToPng.h"
#include "preview/PreviewView.h"
#include "rom/RomLayout.h"

#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QMenu>

namespace drovak::app {

namespace {

// The picture's exact pixels.
QImage ToQImage(const PreviewImage& picture) {
    QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
    for (int y = 0; y < picture.Height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.Width; ++x) {
            const uint32_t pixel = picture.Pixels[size_t(y) * picture.Width + size_t(x)];
            row[x] = qRgb(pixel & 0xFF, (pixel >> 8) & 0xFF, (pixel >> 16) & 0xFF);
        }
    }
    return image;
}

} // namespace

void MainForm::BuildPreviewMenu() {
    PreviewMenu = new QMenu(this);
    CopyPictureAction = PreviewMenu->addAction("Copy picture");
    SavePictureAction = PreviewMenu->addAction("Save picture as PNG...");
    SaveTilesAction = PreviewMenu->addAction("Save tiles as PNG...");
    UndoChangeAction = PreviewMenu->addAction("Undo the last change...");
    PreviewMenu->addSeparator();
    KeepProportionsAction = PreviewMenu->addAction("Keep proportions");
    KeepProportionsAction->setCheckable(true);
    // Ctrl+C copies the picture while the view has the focus (a field keeps its own Ctrl+C).
    CopyPictureAction->setShortcut(QKeySequence::Copy);
    CopyPictureAction->setShortcutContext(Qt::WidgetShortcut);
    PreviewView->addAction(CopyPictureAction);

    const auto run = [this](void (MainForm::*handler)()) {
        return [this, handler] { RunOperation([this, handler] { (this->*handler)(); }); };
    };
    connect(CopyPictureAction, &QAction::triggered, this, run(&MainForm::CopyPicture));
    connect(SavePictureAction, &QAction::triggered, this, run(&MainForm::SavePictureAsPng));
    connect(SaveTilesAction, &QAction::triggered, this, run(&MainForm::SaveTilesAsPng));
    connect(UndoChangeAction, &QAction::triggered, this, [this] {
        RunOperation([this] {
            if (const CompressionPage* page = CompressionPageOnShow()) UndoLastChange(*page);
        });
    });
    connect(KeepProportionsAction, &QAction::toggled, PreviewView,
            &preview::PreviewView::SetKeepProportions);
    connect(PreviewMenu, &QMenu::aboutToShow, this, &MainForm::UpdatePreviewMenu);
    PreviewView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(
        PreviewView, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& position) { PreviewMenu->popup(PreviewView->mapToGlobal(position)); });
}

void MainForm::UpdatePreviewMenu() {
    const bool picture = !shownPicture_.Pixels.empty();
    CopyPictureAction->setEnabled(picture);
    SavePictureAction->setEnabled(picture);
    const CompressionPage* page = CompressionPageOnShow();
    SaveTilesAction->setVisible(page != nullptr);
    SaveTilesAction->setEnabled(shownTiles_.has_value());
    // The ROM of the page's tab on show, as Ctrl+Z outside a field.
    const QString rom = page ? RomFieldOnShow(*page)->text() : QString();
    UndoChangeAction->setVisible(page != nullptr);
    UndoChangeAction->setEnabled(!rom.isEmpty());
    UndoChangeAction->setText(
        rom.isEmpty() ? QString("Undo the last change...")
                      : QString::fromStdString("Undo the last change to " +
                                               FileNamePart(rom.toStdString()) + "..."));
}

void MainForm::CopyPicture() {
    if (shownPicture_.Pixels.empty()) return;
    dialogs_.SetClipboardImage(ToQImage(shownPicture_));
    ShowStatus(QString("Picture copied: %1 x %2 pixels.")
                   .arg(shownPicture_.Width)
                   .arg(shownPicture_.Height));
}

std::optional<QString> MainForm::AskPngPath() {
    SaveFileDialog.defaultExtension = "png";
    SaveFileDialog.filter = PNG_FILTER;
    return RunDialog(FileDialogKind::Save);
}

void MainForm::SavePictureAsPng() {
    if (shownPicture_.Pixels.empty()) return;
    const std::optional<QString> path = AskPngPath();
    if (!path) return;
    SavePreviewPng(shownPicture_, path->toStdString());
    ShowStatus(QString("Picture saved as %1: %2 x %3 pixels.")
                   .arg(QString::fromStdString(FileNamePart(path->toStdString())))
                   .arg(shownPicture_.Width)
                   .arg(shownPicture_.Height));
}

void MainForm::SaveTilesAsPng() {
    if (!shownTiles_) return;
    // The palette the sheet was drawn with: line 0 of the preview palette of its ROM.
    const TilePalette palette = ReadTilePalette(shownTiles_->romPath, PREVIEW_PALETTE_OFFSET, 0);
    const std::optional<QString> path = AskPngPath();
    if (!path) return;
    const std::vector<uint8_t>& tiles = shownTiles_->data;
    // Laid out as the preview lays them: 64 cells to a row.
    SaveTilesPng(tiles, palette, PREVIEW_SHEET_COLUMNS, path->toStdString(), shownTiles_->cell);
    std::string status = std::to_string(TileCount(tiles.size())) + " tiles (" +
                         std::to_string(tiles.size()) + " bytes) saved as " +
                         FileNamePart(path->toStdString()) + " with palette line 0 of the " +
                         "palette at " + HexText(PREVIEW_PALETTE_OFFSET) + ", " +
                         std::to_string(PREVIEW_SHEET_COLUMNS) +
                         (shownTiles_->cell == TileCell{}
                              ? " tiles"
                              : " cells of " + TileCellText(shownTiles_->cell) + " tiles") +
                         " a row as the preview shows them.";
    if (const auto repeated = RepeatedColour(palette)) {
        status += " Values " + std::to_string(repeated->second) + " and " +
                  std::to_string(repeated->first) + " have one colour: an RGB copy gives back " +
                  std::to_string(repeated->second) + " for both.";
    }
    ShowStatus(QString::fromStdString(status));
}

} // namespace drovak::app
