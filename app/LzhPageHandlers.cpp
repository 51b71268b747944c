#include "app/uMain.h"

#include "base/Paths.h"
#include "rom/LzhPage.h"
#include "rom/RomFile.h"

#include <QLineEdit>

namespace drovak::app {

void MainForm::LzhDecompressEntry() {
    RomPath = LzhDecompRomEdit->text();
    const uint32_t table = FieldHexValue(TABLE_OFFSET_CAPTION, LzhTableOffsetEdit);
    const uint32_t index = FieldHexValue(TABLE_INDEX_CAPTION, LzhTableIndexEdit);
    const std::string outPath = LzhDecompOutEdit->text().toStdString();
    RefuseWritingOverRom(outPath, RomPath.toStdString());

    const RomBytes rom = ReadRom(RomPath.toStdString());
    LzhExtractResult extracted = LzhExtractEntry(rom, table, index);
    dialogs_.SetClipboardText(QString::number(extracted.entry.PackedSize));
    // Tiles row by row.
    ShowSheetAndSave(std::move(extracted.data), rom, 1, outPath);
}

void MainForm::LzhCompressEntry() {
    RomPath = LzhCompRomEdit->text();
    const uint32_t table = FieldHexValue(TABLE_OFFSET_CAPTION, LzhTableOffsetEdit);
    const uint32_t index = FieldHexValue(TABLE_INDEX_CAPTION, LzhTableIndexEdit);
    const std::string inPath = LzhCompInEdit->text().toStdString();

    // An index beyond the table is refused here, before any question.
    const LzhInsertPlan plan = PlanLzhInsert(RomPath.toStdString(), inPath, table, index);
    if (plan.emptyInput && !Ask(LzhEmptyInputQuestion(plan, FileNamePart(inPath)))) return;
    if (plan.needsConfirmation && !Ask(LzhGrowthQuestion(plan))) return;
    ShowRomChange(ApplyLzhInsert(plan, RomPath.toStdString()));
}

} // namespace drovak::app
