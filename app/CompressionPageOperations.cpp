// What the operations of the two compression pages share: the sheet shown and saved, the data
// to compress read, the status line after either, and Ctrl+Z.
#include "app/CompressionPage.h"

#include "app/MainForm.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "base/Stream.h"
#include "base/WholeFile.h"
#include "graphics/CompressInput.h"
#include "graphics/PngToTiles.h"
#include "graphics/TileSheet.h"
#include "rom/HexField.h"
#include "rom/RomChange.h"
#include "rom/RomLayout.h"
#include "words/GraphicsProblemWords.h"
#include "words/RomChangeWords.h"
#include "words/RomProblemWords.h"
#include "words/WindowStatusWords.h"
#include "words/WindowWords.h"

namespace drovak::app {

namespace {

// The tile sheet of the two pages: PREVIEW_SHEET_COLUMNS cells to a row, 28 tiles high.
constexpr uint16_t SHEET_HEIGHT_TILES = 28;

} // namespace

void CompressionPage::ShowSheet(std::vector<uint8_t> data, const RomBytes& rom) {
    const TileCell cell = setup_.sheetCell;
    const PaletteTable palette = PaletteAt(rom.bytes, PREVIEW_PALETTE_OFFSET);
    PreviewImage picture =
        RenderTiles(data, uint8_t(cell.width), uint8_t(cell.height),
                    uint16_t(PREVIEW_SHEET_COLUMNS * cell.width), SHEET_HEIGHT_TILES, palette);
    form_.ShowPicture(std::move(picture),
                      MainForm::SheetTiles{std::move(data), rom.name, cell,
                                           FileNamePart(DecompOutText().toStdString())});
}

bool CompressionPage::ShowSheetAndSave(std::vector<uint8_t> data, const RomBytes& rom,
                                       const std::string& outPath) {
    ShowSheet(std::move(data), rom);
    MemoryStream stream(form_.ShownTiles()->data);
    // A data file that holds something else (edited since, perhaps) is replaced only when the
    // user says so.
    if (FileHoldsOtherBytes(outPath, stream.Data()) &&
        !form_.Ask(ReplaceFileQuestion(FileNamePart(outPath)))) {
        return false;
    }
    SaveStreamToFile(stream, outPath);
    return true;
}

void CompressionPage::ShowDecompressed(const std::string& what, size_t bytes,
                                       const std::string& outPath, bool saved,
                                       const std::string& packedNote) {
    form_.ShowStatus(QString::fromStdString(
        DecompressedText(what, bytes, FileNamePart(outPath), saved, packedNote)));
}

bool CompressionPage::ReadCompressData(const std::string& inPath, const std::string& what,
                                       const std::function<std::optional<uint64_t>()>& entryBytes,
                                       const std::function<std::vector<uint8_t>()>& previous,
                                       std::vector<uint8_t>& data, std::string& pictureNote,
                                       std::string& paletteNote) {
    // A picture is drawn with the palette of the tile sheets: line 0 of the preview palette.
    std::optional<TilePalette> palette;
    std::vector<uint8_t> old;
    CompressInput input = ReadCompressInput(
        inPath,
        [this, &palette] {
            palette =
                ReadTilePalette(form_.Document().RomPath.toStdString(), PREVIEW_PALETTE_OFFSET, 0);
            return *palette;
        },
        entryBytes, setup_.sheetCell,
        [&previous, &old] {
            old = previous();
            return SheetHints{old, {}};
        });
    data = std::move(input.data);
    if (!input.picture) return true;
    const TilesFromPng& picture = *input.picture;
    const std::string name = FileNamePart(inPath);
    if (picture.droppedPixel &&
        !form_.Ask(DroppedPictureQuestion(name, data.size(), what, picture.droppedPixel->x,
                                          picture.droppedPixel->y))) {
        return false;
    }
    pictureNote = PictureTilesNote(name, picture.pictureTiles, data.size(), picture.lengthRecorded);
    if (picture.valuesByColour && palette) {
        paletteNote = PaletteDecidedText(name, palette->source) + " ";
    }
    return true;
}

void CompressionPage::RomChosen() {
    const std::string path = RomTextOnShow().toStdString();
    try {
        DrawFromRom(QString::fromStdString(path));
    } catch (const DrovakError& error) {
        // The picture of the ROM before is no picture of this one.
        form_.ClearPicture();
        form_.ShowStatus(
            QString::fromStdString(NothingToShowText(FileNamePart(path), ErrorText(error))));
    }
}

void CompressionPage::ShowRomChange(const RomChange& change, const std::string& details,
                                    const std::string& lead) {
    const std::string path = form_.Document().RomPath.toStdString();
    form_.Document().Changed(path, lead + RomChangeSummary(FileNamePart(path), change) + details);
}

} // namespace drovak::app
