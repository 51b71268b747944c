// The handlers of the controls that the two compression pages share, control for control.
#include "app/uMain.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "base/Stream.h"
#include "base/WholeFile.h"
#include "graphics/CompressInput.h"
#include "graphics/TileSheet.h"
#include "rom/HexField.h"
#include "rom/RomChange.h"
#include "rom/RomLayout.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>

namespace drovak::app {

namespace {

// The tile sheet of the two pages: PREVIEW_SHEET_COLUMNS cells to a row, 28 tiles high.
constexpr uint16_t SHEET_HEIGHT_TILES = 28;

} // namespace

uint32_t FieldHexValue(const char* caption, const QLineEdit* field) {
    return HexFieldValue(caption, field->text().toStdString());
}

void MainForm::WireCompressionPage(const CompressionPage& page) {
    // Each handler runs on its own: a failure of one does not keep the next from running.
    auto run = [this, &page](void (MainForm::*handler)(const CompressionPage&)) {
        return [this, &page, handler] {
            RunOperation([this, &page, handler] { (this->*handler)(page); });
        };
    };
    for (QLineEdit* field : page.hexFields) {
        connect(field, &QLineEdit::textChanged, this, run(&MainForm::UpdateDataFileName));
    }
    connect(page.decompRomEdit, &QLineEdit::textChanged, this, [this, &page] {
        RunOperation([this, &page] { UpdateDataFileName(page); });
        RunOperation([this, &page] { UpdateDecompressButton(page); });
    });
    connect(page.decompOutEdit, &QLineEdit::textChanged, this,
            run(&MainForm::UpdateDecompressButton));
    connect(page.compInEdit, &QLineEdit::textChanged, this, run(&MainForm::UpdateCompressButton));
    connect(page.compRomEdit, &QLineEdit::textChanged, this, run(&MainForm::UpdateCompressButton));
    // A ROM named: the start-up hint on how to choose one has done its work.
    for (QLineEdit* rom : {page.decompRomEdit, page.compRomEdit}) {
        connect(rom, &QLineEdit::textChanged, this, [this] {
            if (StatusText() == NO_ROM_STATUS) ShowStatus(QString());
        });
    }
    connect(page.decompRomBrowse, &QPushButton::clicked, this, [this, &page] {
        RunOperation([this, &page] { BrowseRom(false, {page.decompRomEdit, page.compRomEdit}); });
    });
    connect(page.compRomBrowse, &QPushButton::clicked, this, [this, &page] {
        RunOperation([this, &page] { BrowseRom(true, {page.decompRomEdit, page.compRomEdit}); });
    });
    connect(page.decompOutBrowse, &QPushButton::clicked, this, run(&MainForm::BrowseDecompOut));
    connect(page.compInBrowse, &QPushButton::clicked, this, run(&MainForm::BrowseCompIn));
    connect(page.decompressButton, &QPushButton::clicked, this,
            [this, &page] { RunOperation(page.decompress); });
    connect(page.compressButton, &QPushButton::clicked, this,
            [this, &page] { RunOperation(page.compress); });
}

const CompressionPage* MainForm::PageOfHexField(const QObject* field) const {
    for (const CompressionPage* page : {&lzhPage_, &rlePage_}) {
        if (std::find(page->hexFields.begin(), page->hexFields.end(), field) !=
            page->hexFields.end()) {
            return page;
        }
    }
    return nullptr;
}

void MainForm::PageEnterReleased(const CompressionPage& page) {
    // The buttons' state is not consulted: Enter works with empty fields too.
    if (page.modeTabs->currentIndex() != TabIndex(ModeTab::Decompression)) {
        page.compress();
    } else {
        page.decompress();
    }
}

void MainForm::UpdateDataFileName(const CompressionPage& page) {
    page.decompOutEdit->setText(page.suggestedFileName());
    page.compInEdit->setText(page.decompOutEdit->text());
}

void MainForm::UpdateDecompressButton(const CompressionPage& page) {
    page.decompressButton->setEnabled(!page.decompOutEdit->text().isEmpty() &&
                                      !page.decompRomEdit->text().isEmpty());
}

void MainForm::UpdateCompressButton(const CompressionPage& page) {
    page.compressButton->setEnabled(!page.compRomEdit->text().isEmpty() &&
                                    !page.compInEdit->text().isEmpty());
}

void MainForm::BrowseDecompOut(const CompressionPage& page) {
    SaveFileDialog.filter = SAVE_BIN_FILTER;
    SaveFileDialog.defaultExtension = "bin";
    if (const std::optional<QString> path = RunDialog(FileDialogKind::Save)) {
        page.decompOutEdit->setText(*path);
        page.compInEdit->setText(*path);
    }
}

void MainForm::BrowseCompIn(const CompressionPage& page) {
    if (const std::optional<QString> path = RunDialog(FileDialogKind::Open)) {
        page.compInEdit->setText(*path);
        page.decompOutEdit->setText(*path);
    }
}

void MainForm::ShowSheet(std::vector<uint8_t> data, const RomBytes& rom, TileCell cell) {
    const PaletteTable palette = PaletteAt(rom.bytes, PREVIEW_PALETTE_OFFSET);
    PreviewImage picture =
        RenderTiles(data, uint8_t(cell.width), uint8_t(cell.height),
                    uint16_t(PREVIEW_SHEET_COLUMNS * cell.width), SHEET_HEIGHT_TILES, palette);
    ShowPicture(std::move(picture), SheetTiles{std::move(data), rom.name, cell});
}

bool MainForm::ShowSheetAndSave(std::vector<uint8_t> data, const RomBytes& rom, TileCell cell,
                                const std::string& outPath) {
    ShowSheet(std::move(data), rom, cell);
    MemoryStream stream(shownTiles_->data);
    // A data file that holds something else (edited since, perhaps) is replaced only when the
    // user says so.
    if (FileHoldsOtherBytes(outPath, stream.Data()) &&
        !Ask("The file " + FileNamePart(outPath) +
             " already exists and holds other data!\r\nDo you want to replace it?")) {
        return false;
    }
    SaveStreamToFile(stream, outPath);
    return true;
}

void MainForm::ShowDecompressed(const std::string& what, size_t bytes, const std::string& outPath,
                                bool saved, const std::string& packedNote) {
    const std::string file = FileNamePart(outPath);
    ShowStatus(
        QString::fromStdString("Decompressed " + what + ": " + std::to_string(bytes) +
                               (saved ? " bytes written to " + file + " (" + packedNote + ")."
                                      : " bytes shown; " + file + " kept as it was.")));
}

bool MainForm::ReadCompressData(const std::string& inPath, const std::string& what,
                                const std::function<std::optional<uint64_t>()>& entryBytes,
                                TileCell cell, std::vector<uint8_t>& data, std::string& pictureNote,
                                std::string& paletteNote) {
    // A picture is drawn with the palette of the tile sheets: line 0 of the preview palette.
    std::optional<TilePalette> palette;
    CompressInput input = ReadCompressInput(
        inPath,
        [this, &palette] {
            palette = ReadTilePalette(RomPath.toStdString(), PREVIEW_PALETTE_OFFSET, 0);
            return *palette;
        },
        entryBytes, cell);
    data = std::move(input.data);
    if (!input.picture) return true;
    const TilesFromPng& picture = *input.picture;
    const std::string name = FileNamePart(inPath);
    const std::string kept = std::to_string(TileCount(data.size())) + " tiles (" +
                             std::to_string(data.size()) + " bytes)";
    if (picture.droppedPixel &&
        !Ask("The picture " + name + " is drawn beyond the " + kept + " that go into " + what +
             " (the pixel at x " + std::to_string(picture.droppedPixel->x) + ", y " +
             std::to_string(picture.droppedPixel->y) +
             " is not blank); that part is left out.\r\nDo you want to continue?")) {
        return false;
    }
    pictureNote = " " + name + ": " + std::to_string(picture.pictureTiles) +
                  " tiles in the picture, " + kept + " compressed" +
                  (picture.lengthRecorded ? "" : ", as many as the data it replaces") + ".";
    if (picture.valuesByColour && palette) {
        paletteNote = PaletteDecidedText(name, *palette) + " ";
    }
    return true;
}

const CompressionPage* MainForm::CompressionPageOnShow() const {
    switch (static_cast<MainPage>(PageTabs->currentIndex())) {
    case MainPage::Lzh:
        return &lzhPage_;
    case MainPage::Rle:
        return &rlePage_;
    default:
        return nullptr;
    }
}

QLineEdit* RomFieldOnShow(const CompressionPage& page) {
    return page.modeTabs->currentIndex() == TabIndex(ModeTab::Compression) ? page.compRomEdit
                                                                           : page.decompRomEdit;
}

void MainForm::UndoLastChange(const CompressionPage& page) {
    const std::string path = RomFieldOnShow(page)->text().toStdString();
    if (path.empty()) return;
    const UndoSides sides = DescribeUndo(path);
    if (!Ask("Undo the last change to " + FileNamePart(path) + "?\r\nIt swaps " +
             UndoSidesText(sides) + ".")) {
        return;
    }
    const std::string summary = RomUndoSummary(FileNamePart(path), UndoRomChange(path));
    ShowStatus(QString::fromStdString(summary));
    // The preview follows the ROM: the page's entry or block as it now is.
    try {
        RomPath = QString::fromStdString(path);
        page.showFromRom(path);
    } catch (const DrovakError& error) {
        ShowStatus(
            QString::fromStdString(summary + " The preview could not be drawn: " + error.what()));
    }
}

bool MainForm::Ask(const std::string& question) {
    return dialogs_.AskYesNo(this, QString::fromStdString(question), "Warning");
}

void MainForm::ShowRomChange(const RomChange& change, const std::string& details,
                             const std::string& lead) {
    ShowStatus(QString::fromStdString(
        lead + RomChangeSummary(FileNamePart(RomPath.toStdString()), change) + details));
}

} // namespace drovak::app
