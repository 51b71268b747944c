#include "app/uMain.h"

#include "rom/HexField.h"
#include "rom/LzhPage.h"
#include "rom/RomFile.h"
#include "rom/RomLayout.h"

#include <QLineEdit>

namespace drovak::app {

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
    // Tiles row by row.
    ShowSheetAndSave(std::move(extracted.data), palette, 1, outPath);
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
