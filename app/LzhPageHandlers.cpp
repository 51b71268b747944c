#include "app/uMain.h"

#include "app/InsertQuestions.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "rom/LzhPage.h"
#include "rom/RomFile.h"

#include <QLineEdit>

namespace drovak::app {

namespace {

std::string EntryText(uint32_t table, uint32_t index) {
    return "entry " + HexText(index) + " of the table at " + HexText(table);
}

} // namespace

void MainForm::LzhDecompressEntry() {
    RomPath = LzhDecompRomEdit->text();
    const uint32_t table = FieldHexValue(TABLE_OFFSET_CAPTION, LzhTableOffsetEdit);
    const uint32_t index = FieldHexValue(TABLE_INDEX_CAPTION, LzhTableIndexEdit);
    const std::string outPath = LzhDecompOutEdit->text().toStdString();
    RefuseWritingOverRom(outPath, RomPath.toStdString());

    const RomBytes rom = ReadRom(RomPath.toStdString());
    LzhExtractResult extracted = LzhExtractEntry(rom, table, index);
    dialogs_.SetClipboardText(QString::number(extracted.entry.PackedSize));
    const size_t bytes = extracted.data.size();
    // Tiles row by row.
    const bool saved =
        ShowSheetAndSave(std::move(extracted.data), rom, lzhPage_.sheetCell, outPath);
    ShowDecompressed(EntryText(table, index), bytes, outPath, saved,
                     std::to_string(extracted.entry.PackedSize) + " bytes packed");
}

void MainForm::LzhCompressEntry() {
    RomPath = LzhCompRomEdit->text();
    const uint32_t table = FieldHexValue(TABLE_OFFSET_CAPTION, LzhTableOffsetEdit);
    const uint32_t index = FieldHexValue(TABLE_INDEX_CAPTION, LzhTableIndexEdit);
    const std::string inPath = LzhCompInEdit->text().toStdString();
    const std::string romPath = RomPath.toStdString();

    // A picture without a recorded length gives back as many bytes as the entry decodes to.
    std::vector<uint8_t> input;
    std::string pictureNote, paletteNote;
    const auto entryBytes = [&]() -> std::optional<uint64_t> {
        return LzhTargetEntry(ReadRom(romPath), table, index).DecodedSize;
    };
    if (!ReadCompressData(inPath, EntryText(table, index), entryBytes, lzhPage_.sheetCell, input,
                          pictureNote, paletteNote)) {
        return;
    }
    // An index beyond the table is refused here, before any question.
    const LzhInsertPlan plan = PlanLzhInsert(ReadRom(romPath), input, table, index);
    if (plan.emptyInput && !Ask(LzhEmptyInputQuestion(plan, FileNamePart(inPath)))) return;
    if (plan.needsConfirmation && !Ask(LzhGrowthQuestion(plan))) return;
    const RomChange change = ApplyLzhInsert(plan, romPath);
    const size_t moved = plan.moves.size();
    const std::string decodedSize =
        plan.decodedSize == plan.inputSize
            ? ""
            : " Its decoded size stays " + std::to_string(plan.decodedSize) + ": the " +
                  std::to_string(plan.inputSize - plan.decodedSize) +
                  " bytes past it are what the old data decoded to there.";
    ShowRomChange(change,
                  " Compressed into " + EntryText(table, index) + ": packed size " +
                      std::to_string(plan.oldSize) + " to " + std::to_string(plan.newSize) +
                      " bytes, " + std::to_string(moved) + (moved == 1 ? " entry" : " entries") +
                      " moved." + decodedSize + pictureNote,
                  paletteNote);
    // The preview shows what was written, decoded back from the ROM as it now is.
    ShowLzhEntry(romPath);
}

void MainForm::ShowLzhEntry(const std::string& romPath) {
    const uint32_t table = FieldHexValue(TABLE_OFFSET_CAPTION, LzhTableOffsetEdit);
    const uint32_t index = FieldHexValue(TABLE_INDEX_CAPTION, LzhTableIndexEdit);
    const RomBytes rom = ReadRom(romPath);
    ShowSheet(LzhExtractEntry(rom, table, index).data, rom, lzhPage_.sheetCell);
}

} // namespace drovak::app
