// "RLE Compression": its header, the name it suggests and its two operations.
#include "app/CompressionPage.h"

#include "app/InsertQuestions.h"
#include "app/MainForm.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "rom/RlePage.h"
#include "rom/RomFile.h"
#include "rom/RomLayout.h"
#include "words/WindowStatusWords.h"

namespace drovak::app {

namespace {

constexpr int RLE_DECOMPRESS_ROW_HEIGHT = 46;

// The block of the header's field, drawn from the ROM image at romPath as it now is.
void ShowRleBlock(CompressionPage& page, const std::string& romPath) {
    const uint32_t offset = page.HexValue(RLE_OFFSET_CAPTION);
    const RomBytes rom = ReadRom(romPath);
    page.ShowSheet(RleExtractAt(rom, offset).data, rom);
}

void RleDecompressAt(CompressionPage& page) {
    MainForm& form = page.Form();
    form.Document().RomPath = page.DecompRomText();
    const uint32_t offset = page.HexValue(RLE_OFFSET_CAPTION);
    const std::string outPath = page.DecompOutText().toStdString();
    RefuseWritingOverRom(outPath, form.Document().RomPath.toStdString());

    const RomBytes rom = ReadRom(form.Document().RomPath.toStdString());
    RleExtractResult extracted = RleExtractAt(rom, offset);
    form.Dialogs().SetClipboardText(QString::number(extracted.consumed));
    const size_t bytes = extracted.data.size();
    const bool saved = page.ShowSheetAndSave(std::move(extracted.data), rom, outPath);
    page.ShowDecompressed(RleBlockText(offset), bytes, outPath, saved,
                          BytesInRomNote(extracted.consumed));
}

void RleCompressAt(CompressionPage& page) {
    MainForm& form = page.Form();
    form.Document().RomPath = page.CompRomText();
    const uint32_t offset = page.HexValue(RLE_OFFSET_CAPTION);
    const std::string inPath = page.CompInText().toStdString();
    const std::string romPath = form.Document().RomPath.toStdString();

    // A picture without a recorded length gives back as many bytes as the old block held.
    std::vector<uint8_t> input;
    std::string pictureNote, paletteNote;
    const auto blockBytes = [&] { return RleBlockDataSize(ReadRom(romPath), offset); };
    const std::string block = RleBlockText(offset);
    const auto blockData = [&]() -> std::vector<uint8_t> {
        try {
            return RleExtractAt(ReadRom(romPath), offset).data;
        } catch (const DrovakError&) {
            return {};
        }
    };
    if (!page.ReadCompressData(inPath, block, blockBytes, blockData, input, pictureNote,
                               paletteNote)) {
        return;
    }
    // A run the encoder can't write, or an offset past the end, is refused here, before
    // anything is asked or written.
    const RleInsertPlan plan = PlanRleInsert(ReadRom(romPath), input, offset);
    if (plan.emptyInput && !form.Ask(RleEmptyInputQuestion(plan, FileNamePart(inPath)))) return;
    if (plan.needsConfirmation && !form.Ask(RleGrowthQuestion(plan))) return;
    const RomChange change = ApplyRleInsert(plan, romPath);
    page.ShowRomChange(
        change, RleCompressedText(block, plan.packed.size(), plan.oldBlockSize) + pictureNote,
        paletteNote);
    // The size of the block now in the ROM.
    form.Dialogs().SetClipboardText(QString::number(plan.packed.size()));
    form.Dialogs().Inform(&form, "Succesfully Compressed!", "Information");
}

} // namespace

CompressionPageSetup RlePageSetup() {
    CompressionPageSetup setup;
    setup.prefix = "Rle";
    setup.hexFields = {
        {"RleOffsetEdit", "RleOffsetLabel", RLE_OFFSET_CAPTION, DEFAULT_RLE_OFFSET, Dock::Left}};
    setup.decompressRowHeight = RLE_DECOMPRESS_ROW_HEIGHT;
    setup.suggestedFileName = [](const CompressionPage& page) {
        return SuggestedRleFileName(page.DecompRomText().toStdString(),
                                    page.HexText(RLE_OFFSET_CAPTION).toStdString());
    };
    setup.decompress = RleDecompressAt;
    setup.compress = RleCompressAt;
    // Four tiles stacked top to bottom in a cell, the order of a sprite's tiles.
    setup.sheetCell = {1, 4};
    setup.showFromRom = ShowRleBlock;
    return setup;
}

} // namespace drovak::app
