// The handlers of the controls that the two compression pages share, control for control.
#include "app/uMain.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "base/Stream.h"
#include "base/WholeFile.h"
#include "rom/HexField.h"
#include "rom/RomChange.h"
#include "rom/RomLayout.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>

namespace drovak::app {

namespace {

// The tile sheet of the two pages: 64 x 28 cells of one tile across.
constexpr uint8_t CELL_WIDTH_TILES = 1;
constexpr uint16_t SHEET_WIDTH_TILES = 64;
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
    SaveFileDialog.filter = "BIN Files (*.bin)|*.bin";
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

void MainForm::ShowSheetAndSave(std::vector<uint8_t> data, const RomBytes& rom,
                                uint8_t cellHeightTiles, const std::string& outPath) {
    ViewStream romStream(rom.bytes, rom.name);
    const PaletteTable palette = ReadPalette(romStream, PREVIEW_PALETTE_OFFSET);
    MemoryStream stream(std::move(data));
    ShowPicture(RenderTiles(stream, CELL_WIDTH_TILES, cellHeightTiles, SHEET_WIDTH_TILES,
                            SHEET_HEIGHT_TILES, palette, nullptr, FrameBuffer));
    // A data file that holds something else (edited since, perhaps) is replaced only when the
    // user says so.
    if (FileHoldsOtherBytes(outPath, stream.Data()) &&
        !Ask("The file " + FileNamePart(outPath) +
             " already exists and holds other data!\r\nDo you want to replace it?")) {
        return;
    }
    SaveStreamToFile(stream, outPath);
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

void MainForm::UndoLastChange(const CompressionPage& page) {
    // The ROM of the tab on show.
    const QLineEdit* romField = page.modeTabs->currentIndex() == TabIndex(ModeTab::Compression)
                                    ? page.compRomEdit
                                    : page.decompRomEdit;
    const std::string path = romField->text().toStdString();
    if (path.empty()) return;
    if (!FileExists(BackupPathOf(path))) throw RefusedError(NoBackupMessage(path));
    if (!Ask("Undo the last change to " + FileNamePart(path) + "?")) return;
    ShowStatus(QString::fromStdString(RomUndoSummary(FileNamePart(path), UndoRomChange(path))));
}

bool MainForm::Ask(const std::string& question) {
    return dialogs_.AskYesNo(this, QString::fromStdString(question), "Warning");
}

void MainForm::ShowRomChange(const RomChange& change) {
    ShowStatus(
        QString::fromStdString(RomChangeSummary(FileNamePart(RomPath.toStdString()), change)));
}

} // namespace drovak::app
