#include "app/uMain.h"

#include "rom/HexField.h"
#include "rom/RlePage.h"
#include "rom/RomFile.h"
#include "rom/RomLayout.h"

#include <QLineEdit>

namespace drovak::app {

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
    // Columns of four tiles stacked top to bottom, 64 columns to a row, 7 rows.
    ShowSheetAndSave(std::move(extracted.data), palette, 4, outPath);
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
