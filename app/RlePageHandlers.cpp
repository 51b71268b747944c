#include "app/uMain.h"

#include "app/InsertQuestions.h"
#include "base/Errors.h"
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
    const size_t bytes = extracted.data.size();
    // Columns of four tiles stacked top to bottom, 64 columns to a row, 7 rows.
    const bool saved =
        ShowSheetAndSave(std::move(extracted.data), rom, rlePage_.sheetCell, outPath);
    ShowDecompressed("the block at " + HexText(offset), bytes, outPath, saved,
                     std::to_string(extracted.consumed) + " bytes in the ROM");
}

void MainForm::RleCompressAt() {
    RomPath = RleCompRomEdit->text();
    const uint32_t offset = FieldHexValue(RLE_OFFSET_CAPTION, RleOffsetEdit);
    const std::string inPath = RleCompInEdit->text().toStdString();
    const std::string romPath = RomPath.toStdString();

    // A picture without a recorded length gives back as many bytes as the old block held.
    std::vector<uint8_t> input;
    std::string pictureNote, paletteNote;
    const auto blockBytes = [&] { return RleBlockDataSize(ReadRom(romPath), offset); };
    const std::string block = "the block at " + HexText(offset);
    if (!ReadCompressData(inPath, block, blockBytes, rlePage_.sheetCell, input, pictureNote,
                          paletteNote)) {
        return;
    }
    // A run the encoder can't write, or an offset past the end, is refused here, before
    // anything is asked or written.
    const RleInsertPlan plan = PlanRleInsert(ReadRom(romPath), input, offset);
    if (plan.emptyInput && !Ask(RleEmptyInputQuestion(plan, FileNamePart(inPath)))) return;
    if (plan.needsConfirmation && !Ask(RleGrowthQuestion(plan))) return;
    const RomChange change = ApplyRleInsert(plan, romPath);
    ShowRomChange(change,
                  " Compressed into " + block + ": " + std::to_string(plan.packed.size()) +
                      " bytes, " +
                      (plan.oldBlockSize ? "was " + std::to_string(*plan.oldBlockSize)
                                         : std::string("no valid block was there")) +
                      "." + pictureNote,
                  paletteNote);
    // The preview shows what was written, decoded back from the ROM as it now is.
    ShowRleBlock(romPath);
    // The size of the block now in the ROM.
    dialogs_.SetClipboardText(QString::number(plan.packed.size()));
    dialogs_.Inform(this, "Succesfully Compressed!", "Information");
}

void MainForm::ShowRleBlock(const std::string& romPath) {
    const uint32_t offset = FieldHexValue(RLE_OFFSET_CAPTION, RleOffsetEdit);
    const RomBytes rom = ReadRom(romPath);
    ShowSheet(RleExtractAt(rom, offset).data, rom, rlePage_.sheetCell);
}

} // namespace drovak::app
