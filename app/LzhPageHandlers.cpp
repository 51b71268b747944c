#include "app/uMain.h"

#include "base/ReplaceFile.h"
#include "base/Stream.h"
#include "rom/HexField.h"
#include "rom/LzhPage.h"
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

constexpr uint8_t SHEET_WIDTH_TILES = 64;
constexpr uint8_t SHEET_HEIGHT_TILES = 28;

} // namespace

void MainForm::LzhKeyUp(int key) {
    if (!IsEnterKey(key)) return;
    // The buttons' state is not consulted: Enter works with empty fields too.
    if (LzhModeTabs->currentIndex() != DecompressionTab) {
        LzhCompressEntry();
    } else {
        LzhDecompressEntry();
    }
}

void MainForm::UpdateLzhFileName() {
    LzhDecompOutEdit->setText(QString::fromStdString(SuggestedLzhFileName(
        LzhDecompRomEdit->text().toStdString(), LzhTableOffsetEdit->text().toStdString(),
        LzhTableIndexEdit->text().toStdString())));
    LzhCompInEdit->setText(LzhDecompOutEdit->text());
}

void MainForm::UpdateLzhDecompressButton() {
    LzhDecompressButton->setEnabled(!LzhDecompOutEdit->text().isEmpty() &&
                                    !LzhDecompRomEdit->text().isEmpty());
}

void MainForm::UpdateLzhCompressButton() {
    LzhCompressButton->setEnabled(!LzhCompRomEdit->text().isEmpty() &&
                                  !LzhCompInEdit->text().isEmpty());
}

void MainForm::BrowseLzhDecompOut() {
    SaveFileDialog.filter = "BIN Files (*.bin)|*.bin";
    SaveFileDialog.defaultExtension = "bin";
    if (const std::optional<QString> path = RunDialog(FileDialogKind::Save)) {
        LzhDecompOutEdit->setText(*path);
        LzhCompInEdit->setText(*path);
    }
}

void MainForm::BrowseLzhCompIn() {
    if (const std::optional<QString> path = RunDialog(FileDialogKind::Open)) {
        LzhCompInEdit->setText(*path);
        LzhDecompOutEdit->setText(*path);
    }
}

void MainForm::LzhDecompressEntry() {
    RomPath = LzhDecompRomEdit->text();
    const uint32_t table = ParseHex(LzhTableOffsetEdit->text().toStdString());
    const uint32_t index = ParseHex(LzhTableIndexEdit->text().toStdString());
    const std::string outPath = LzhDecompOutEdit->text().toStdString();

    LzhExtractResult extracted;
    PaletteTable palette;
    {
        const auto rom = OpenRomRead(RomPath.toStdString());
        extracted = LzhExtractEntry(*rom, table, index);
        palette = ReadPalette(*rom, PREVIEW_PALETTE_OFFSET);
    }
    dialogs_.SetClipboardText(QString::number(extracted.entry.PackedSize));

    MemoryStream data(std::move(extracted.data));
    ShowPicture(RenderTiles(data, 1, 1, SHEET_WIDTH_TILES, SHEET_HEIGHT_TILES, palette, nullptr,
                            FrameBuffer));
    SaveStreamToFile(data, outPath);
}

void MainForm::LzhCompressEntry() {
    RomPath = LzhCompRomEdit->text();
    const uint32_t table = ParseHex(LzhTableOffsetEdit->text().toStdString());
    const uint32_t index = ParseHex(LzhTableIndexEdit->text().toStdString());

    const LzhInsertPlan plan =
        PlanLzhInsert(RomPath.toStdString(), LzhCompInEdit->text().toStdString(), table, index);
    if (plan.needsConfirmation &&
        !dialogs_.AskYesNo(this, QString::fromUtf8(LZH_GROWTH_QUESTION), "Warning")) {
        return;
    }
    ApplyLzhInsert(plan);
}

} // namespace drovak::app
