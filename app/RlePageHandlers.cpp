#include "app/uMain.h"

#include "base/ReplaceFile.h"
#include "base/Stream.h"
#include "rom/HexField.h"
#include "rom/RlePage.h"
#include "rom/RomFile.h"
#include "rom/RomLayout.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace drovak::app {

namespace {

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Columns of four tiles stacked top to bottom, 64 columns to a row, 7 rows.
constexpr uint8_t CELL_WIDTH_TILES = 1;
constexpr uint8_t CELL_HEIGHT_TILES = 4;
constexpr uint8_t SHEET_WIDTH_TILES = 64;
constexpr uint8_t SHEET_HEIGHT_TILES = 28;

} // namespace

void MainForm::RleKeyUp(int key) {
    if (!IsEnterKey(key)) return;
    if (RleModeTabs->currentIndex() != DecompressionTab) {
        RleCompressAt();
    } else {
        RleDecompressAt();
    }
}

void MainForm::UpdateRleFileName() {
    RleDecompOutEdit->setText(QString::fromStdString(SuggestedRleFileName(
        RleDecompRomEdit->text().toStdString(), RleOffsetEdit->text().toStdString())));
    RleCompInEdit->setText(RleDecompOutEdit->text());
}

void MainForm::UpdateRleDecompressButton() {
    RleDecompressButton->setEnabled(!RleDecompOutEdit->text().isEmpty() &&
                                    !RleDecompRomEdit->text().isEmpty());
}

void MainForm::UpdateRleCompressButton() {
    RleCompressButton->setEnabled(!RleCompRomEdit->text().isEmpty() &&
                                  !RleCompInEdit->text().isEmpty());
}

void MainForm::BrowseRleDecompOut() {
    SaveFileDialog.filter = "BIN Files (*.bin)|*.bin";
    SaveFileDialog.defaultExtension = "bin";
    if (const std::optional<QString> path = RunDialog(FileDialogKind::Save)) {
        RleDecompOutEdit->setText(*path);
        RleCompInEdit->setText(*path);
    }
}

void MainForm::BrowseRleCompIn() {
    if (const std::optional<QString> path = RunDialog(FileDialogKind::Open)) {
        RleCompInEdit->setText(*path);
        RleDecompOutEdit->setText(*path);
    }
}

void MainForm::RleDecompressAt() {
    RomPath = RleDecompRomEdit->text();
    const uint32_t offset = ParseHex(RleOffsetEdit->text().toStdString());
    const std::string outPath = RleDecompOutEdit->text().toStdString();

    RleExtractResult extracted;
    PaletteTable palette;
    {
        const auto rom = OpenRomRead(RomPath.toStdString());
        extracted = RleExtractAt(*rom, offset);
        palette = ReadPalette(*rom, PREVIEW_PALETTE_OFFSET);
    }
    dialogs_.SetClipboardText(QString::number(extracted.consumed));

    MemoryStream data(std::move(extracted.data));
    ShowPicture(RenderTiles(data, CELL_WIDTH_TILES, CELL_HEIGHT_TILES, SHEET_WIDTH_TILES,
                            SHEET_HEIGHT_TILES, palette, nullptr, FrameBuffer));
    SaveStreamToFile(data, outPath);
}

void MainForm::RleCompressAt() {
    RomPath = RleCompRomEdit->text();
    const uint32_t offset = ParseHex(RleOffsetEdit->text().toStdString());

    // A run the encoder can't write is refused here, before anything is written.
    const RleInsertPlan plan =
        PlanRleInsert(RomPath.toStdString(), RleCompInEdit->text().toStdString(), offset);
    dialogs_.SetClipboardText(QString::number(plan.packed.size()));
    if (plan.needsConfirmation &&
        !dialogs_.AskYesNo(this, QString::fromStdString(RleGrowthQuestion(plan)), "Warning")) {
        return;
    }
    ApplyRleInsert(plan);
    dialogs_.Inform(this, "Succesfully Compressed!", "Information");
}

} // namespace drovak::app
