// "LZH Compression": its header, the name it suggests and its two operations.
#include "app/CompressionPage.h"

#include "app/InsertQuestions.h"
#include "app/MainForm.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "rom/LzhPage.h"
#include "rom/RomFile.h"
#include "rom/RomLayout.h"
#include "words/WindowStatusWords.h"

namespace drovak::app {

namespace {

constexpr int LZH_DECOMPRESS_ROW_HEIGHT = 48;

// The entry the header's fields name.
struct Entry {
    uint32_t table;
    uint32_t index;
    std::string Text() const { return LzhEntryText(index, table); }
};

Entry HeaderEntry(const CompressionPage& page) {
    return {page.HexValue(TABLE_OFFSET_CAPTION), page.HexValue(TABLE_INDEX_CAPTION)};
}

// The entry of the header's fields, drawn from the ROM image at romPath as it now is.
void ShowLzhEntry(CompressionPage& page, const std::string& romPath) {
    const Entry entry = HeaderEntry(page);
    const RomBytes rom = ReadRom(romPath);
    page.ShowSheet(LzhExtractEntry(rom, entry.table, entry.index).data, rom);
}

void LzhDecompressEntry(CompressionPage& page) {
    MainForm& form = page.Form();
    form.Document().RomPath = page.DecompRomText();
    const Entry entry = HeaderEntry(page);
    const std::string outPath = page.DecompOutText().toStdString();
    RefuseWritingOverRom(outPath, form.Document().RomPath.toStdString());

    const RomBytes rom = ReadRom(form.Document().RomPath.toStdString());
    LzhExtractResult extracted = LzhExtractEntry(rom, entry.table, entry.index);
    form.Dialogs().SetClipboardText(QString::number(extracted.entry.PackedSize));
    const size_t bytes = extracted.data.size();
    const bool saved = page.ShowSheetAndSave(std::move(extracted.data), rom, outPath);
    page.ShowDecompressed(entry.Text(), bytes, outPath, saved,
                          PackedBytesNote(extracted.entry.PackedSize));
}

void LzhCompressEntry(CompressionPage& page) {
    MainForm& form = page.Form();
    form.Document().RomPath = page.CompRomText();
    const Entry entry = HeaderEntry(page);
    const std::string inPath = page.CompInText().toStdString();
    const std::string romPath = form.Document().RomPath.toStdString();

    // A picture without a recorded length gives back as many bytes as the entry decodes to.
    std::vector<uint8_t> input;
    std::string pictureNote, paletteNote;
    const auto entryBytes = [&]() -> std::optional<uint64_t> {
        return LzhTargetEntry(ReadRom(romPath), entry.table, entry.index).DecodedSize;
    };
    const auto entryData = [&]() -> std::vector<uint8_t> {
        try {
            return LzhExtractEntry(ReadRom(romPath), entry.table, entry.index).data;
        } catch (const DrovakError&) {
            return {};
        }
    };
    if (!page.ReadCompressData(inPath, entry.Text(), entryBytes, entryData, input, pictureNote,
                               paletteNote)) {
        return;
    }
    // An index beyond the table is refused here, before any question.
    const LzhInsertPlan plan = PlanLzhInsert(ReadRom(romPath), input, entry.table, entry.index);
    if (plan.emptyInput && !form.Ask(LzhEmptyInputQuestion(plan, FileNamePart(inPath)))) return;
    if (plan.needsConfirmation && !form.Ask(LzhGrowthQuestion(plan))) return;
    const RomChange change = ApplyLzhInsert(plan, romPath);
    page.ShowRomChange(change,
                       LzhCompressedText(entry.Text(), plan.oldSize, plan.newSize,
                                         plan.moves.size(), plan.decodedSize, plan.inputSize) +
                           pictureNote,
                       paletteNote);
}

} // namespace

CompressionPageSetup LzhPageSetup() {
    CompressionPageSetup setup;
    setup.prefix = "Lzh";
    // The header reads: "Table offset (HEX)", its field, free space, the index field, "Table
    // Index (HEX)".
    setup.hexFields = {{"LzhTableIndexEdit", "LzhTableIndexLabel", TABLE_INDEX_CAPTION,
                        DEFAULT_TABLE_INDEX, Dock::Right},
                       {"LzhTableOffsetEdit", "LzhTableOffsetLabel", TABLE_OFFSET_CAPTION,
                        POINTER_TABLE_OFFSET, Dock::Left}};
    setup.decompressRowHeight = LZH_DECOMPRESS_ROW_HEIGHT;
    setup.suggestedFileName = [](const CompressionPage& page) {
        return SuggestedLzhFileName(page.DecompRomText().toStdString(),
                                    page.HexText(TABLE_OFFSET_CAPTION).toStdString(),
                                    page.HexText(TABLE_INDEX_CAPTION).toStdString());
    };
    setup.decompress = LzhDecompressEntry;
    setup.compress = LzhCompressEntry;
    setup.sheetCell = {1, 1}; // tiles row by row
    setup.showFromRom = ShowLzhEntry;
    setup.valueList = ValueListSetup{TABLE_INDEX_CAPTION, "TableListAction",
                                     "Choose an entry of the table...", ChooseTableEntry};
    return setup;
}

} // namespace drovak::app
