#include "words/WindowWords.h"
#include "words/WindowStatusWords.h"

#include "words/CommandWords.h"

#include <gtest/gtest.h>

namespace drovak {
namespace {

// The window's sentences that no window test reads whole, and the forms the window and the
// terminal build from one core.
TEST(WindowWords, SentencesReadWhole) {
    const std::pair<std::string, std::string> cases[] = {
        {DroppedPictureQuestion("a.png", 1024, RleBlockText(0x9000), 3, 40),
         "The picture a.png is drawn beyond the 32 tiles (1024 bytes) that go into the block at "
         "0x9000 (the pixel at x 3, y 40 is not blank); that part is left out.\r\nDo you want to "
         "continue?"},
        {LzhCompressedText(LzhEntryText(2, 0x100), 90, 80, 1, 500, 512) +
             PictureTilesNote("a.png", 40, 1024, false),
         " Compressed into entry 0x2 of the table at 0x100: packed size 90 to 80 bytes, 1 entry "
         "moved. Its decoded size stays 500: the 12 bytes past it are what the old data decoded "
         "to there. a.png: 40 tiles in the picture, 32 tiles (1024 bytes) compressed, as many as "
         "the data it replaces."},
        {DecompressedText("entry 0x2", 96, "a.bin", true, "90 bytes packed") + " " +
             DecompressedText("entry 0x2", 96, "a.bin", false, ""),
         "Decompressed entry 0x2: 96 bytes written to a.bin (90 bytes packed). Decompressed entry "
         "0x2: 96 bytes shown; a.bin kept as it was."},
        {DecodedSizeStaysText(500, 512),
         "The entry's decoded size stays 500: the 12 bytes past it are what the old data decoded "
         "to there."},
        {RleCompressedText("the block at 0x10", 7, std::nullopt) + RleCompressedText("b", 7, 9),
         " Compressed into the block at 0x10: 7 bytes, no valid block was there. Compressed into "
         "b: 7 bytes, was 9."},
        {TilesSavedText(64, "t.png", 0x1000, 64, "1x4", RepeatedValues{1, 0}),
         "2 tiles (64 bytes) saved as t.png with palette line 0 of the palette at 0x1000, 64 cells "
         "of 1x4 tiles a row as the preview shows them. Values 1 and 0 have one colour: an RGB "
         "copy gives back 1 for both."},
        {LevelSavedText("L.png", 16384, 512, 900, 0.25),
         "L.png saved: 16384 x 512 pixels, 900 bytes, in 0.2 s."},
        {PictureSavedText("t.png", 320, 224) + " " + PictureCopiedText(512, 28),
         "Picture saved as t.png: 320 x 224 pixels. Picture copied: 512 x 28 pixels."},
        {TaskStepText("Exporting L.png", 42), "Exporting L.png: 42 %... (Esc or Cancel stops it)"},
        {TaskRunsMessage("Applying m.bps", "Exporting L.png"),
         "Applying m.bps waits: Exporting L.png runs; cancel it (Esc) or wait for its end. "
         "Nothing was done."},
        {NoRomForPatchMessage("m.bps"),
         "There is no ROM on this page to apply m.bps to: choose one first. Nothing was written."},
        {PatchOverImageMessage("m.bps", "r.bin") + "|" + PatchOverImageText("m.bps", "r.bin"),
         "m.bps: is the ROM image r.bin itself; a patch is never written over its images. Nothing "
         "was written.|m.bps: is the ROM image r.bin itself; a patch is never written over its "
         "images; nothing was written"},
        {SameImageMessage("a.bin", "b.bin", 0x1A2B3C4D, 512) + "|" +
             SameImageText("a.bin", "b.bin", 0x1A2B3C4D, 512),
         "a.bin and b.bin are the same image (CRC-32 1A2B3C4D, 512 bytes): a patch would change "
         "nothing. Nothing was written.|a.bin and b.bin are the same image (CRC-32 1A2B3C4D, 512 "
         "bytes): a patch would change nothing; nothing was written"},
        {NoHeaderChecksumMessage("s.bin", 256) + "|" + NoHeaderChecksumText("s.bin", 256),
         "s.bin: 256 bytes hold no header checksum (it lies at 0x18E); nothing was written|s.bin: "
         "too short: 256 bytes hold no header checksum (it lies at 0x18E)"},
        {ChecksumRightText("r.bin", 0x1A2B) + "|" + ChecksumRightText("r.bin"),
         "r.bin: the header checksum is right (1A2B); nothing was written.|r.bin: the header "
         "checksum is right; nothing was written."},
        {ReplaceFileQuestion("a.bin") + "|" + UndoQuestion("r.bin", "two images") + "|" +
             ApplyPatchQuestion("m.bps", "r.bin"),
         "The file a.bin already exists and holds other data!\r\nDo you want to replace it?|Undo "
         "the last change to r.bin?\r\nIt swaps two images.|Apply m.bps to r.bin?"},
        {UnknownErrorText() + "|" + RomNotOpenedText("gone") + "|" +
             WindowUsageProblemText(UnknownWindowOptionText("-x") + ", " + TooManyRomsText(2)),
         "Unknown error|ROM image not opened: gone|drovak: unknown option \"-x\", one ROM image at "
         "most, not 2\nUsage: drovak [ROM]\n"},
        {NothingToShowText("a.bin", "empty") + PreviewNotDrawnNote("no GL") + "|" +
             TitleDrawnText("r.bin", 320, 224) + "|" + ChecksumFixedText("x") + "|" +
             PatchMadeText("m.bps", 9, "a", "b") + "|" + PatchAppliedStatus("m.ips", "ok.", true),
         "a.bin: nothing to show on this page: empty The preview could not be drawn: no GL|Title "
         "screen background of r.bin drawn: 320 x 224 pixels.|Header checksum fixed: x|m.bps "
         "written: 9 bytes, the patch from a to b.|m.ips applied: ok. An IPS patch has no "
         "checksums: nothing told whether it was made for this ROM."},
        {PackedBytesNote(9) + ", " + BytesInRomNote(8) + "|" +
             TaskRunningText(ApplyingPatchText("m")) + "|" +
             TaskRunningText(MakingPatchText("p") + ", " + ExportingText("e")) + "|" +
             TableEntriesTitle(0x20000, "r.bin"),
         "9 bytes packed, 8 bytes in the ROM|Applying m... (Esc or Cancel stops it)|Making the "
         "patch p, Exporting e... (Esc or Cancel stops it)|Entries of the table at 0x20000 in "
         "r.bin"},
        {WindowHelpText().substr(0, 53) + NoGlContextMessage().substr(0, 12),
         "Usage: drovak [ROM]\n       drovak --help | --version\nNo OpenGL co"},
    };
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

} // namespace
} // namespace drovak
