#include "app/uMain.h"

#include "base/Paths.h"
#include "rom/RlePage.h"
#include "rom/RomFile.h"

#include <QLineEdit>

namespace drovak::app {

void MainForm::RleDecompressAt() {
    RomPath = RleDecompRomEdit->text();
    const uint32_t offset = FieldHexValue(RLE_OFFSET_CAPTION, RleOffsetEdit);
    const std::string outPath = RleDecompOutEdit->text().toStdString();
    RefuseWritingOverRom(outPath, RomPath.toStdString());

    const RomBytes rom = ReadRom(RomPath.toStdString());
    RleExtractResult extracted = RleExtractAt(rom, offset);
    dialogs_.SetClipboardText(QString::number(extracted.consumed));
    // Columns of four tiles stacked top to bottom, 64 columns to a row, 7 rows.
    ShowSheetAndSave(std::move(extracted.data), rom, 4, outPath);
}

void MainForm::RleCompressAt() {
    RomPath = RleCompRomEdit->text();
    const uint32_t offset = FieldHexValue(RLE_OFFSET_CAPTION, RleOffsetEdit);
    const std::string inPath = RleCompInEdit->text().toStdString();

    // A run the encoder can't write, or an offset past the end, is refused here, before
    // anything is asked or written.
    const RleInsertPlan plan = PlanRleInsert(RomPath.toStdString(), inPath, offset);
    if (plan.emptyInput && !Ask(RleEmptyInputQuestion(plan, FileNamePart(inPath)))) return;
    if (plan.needsConfirmation && !Ask(RleGrowthQuestion(plan))) return;
    ShowRomChange(ApplyRleInsert(plan, RomPath.toStdString()));
    // The size of the block now in the ROM.
    dialogs_.SetClipboardText(QString::number(plan.packed.size()));
    dialogs_.Inform(this, "Succesfully Compressed!", "Information");
}

} // namespace drovak::app
