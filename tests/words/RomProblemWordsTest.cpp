#include "words/RomProblemWords.h"
#include "words/CliWords.h"
#include "words/PackCommandWords.h"
#include "words/PatchWords.h"
#include "words/RomChangeWords.h"

#include "compression/CodecProblem.h"
#include "compression/Rle.h"
#include "graphics/GraphicsProblem.h"

#include "words/HexFieldWords.h"
#include "words/LzhListWords.h"
#include "words/ModProblemWords.h"
#include "words/PackWords.h"
#include "words/PngProblemWords.h"
#include "words/RomChangeWords.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <tuple>

namespace drovak {
namespace {

// The words of what `action` throws after the letter of its class: "F " a FileError, "R " a
// RefusedError.
template <class F> std::string Thrown(F&& action) {
    try {
        action();
    } catch (const FileError& error) {
        return "F " + ErrorText(error);
    } catch (const RefusedError& error) {
        return "R " + ErrorText(error);
    }
    return "nothing thrown";
}

RomProblem Problem(RomProblemKind kind) {
    RomProblem problem{kind, "rom.bin", 0x20000, 3, 32};
    std::tie(problem.at, problem.size, problem.fileSize, problem.value, problem.field,
             problem.other) = std::tuple(0x220F2, 2716, 0x80000, 0x1, 2, "game.bin");
    return problem;
}

// Each kind leaves the core as the exception its exit code and box go by (a file too short is
// a FileError, everything else a RefusedError), and is worded naming the file first and, where
// the kind wrote nothing, saying so.
TEST(RomProblemWords, EachKindIsThrownAsItsErrorAndWordedWithItsNumbers) {
    using K = RomProblemKind;
    const std::pair<K, std::string> cases[] = {
        {K::FieldPastEnd, "F rom.bin: too short for the table at 0x20000: the PackedSize of entry "
                          "0x3 lies at 0x220F2, but the file ends at 0x80000 (524288 bytes)"},
        {K::TableRunsPastEnd, "F rom.bin: too short for the table at 0x20000: its 32 entries run "
                              "to 0x220F2, but the file ends at 0x80000 (524288 bytes)"},
        {K::EntryDataPastEnd,
         "F rom.bin: too short: the data of entry 0x3 of the table at 0x20000 (2716 bytes at "
         "0x220F2) runs past the end of the file at 0x80000; nothing was written"},
        {K::EntryBeyondTable, "R rom.bin: entry 0x3 is beyond the table at 0x20000, which has 32 "
                              "entries; nothing was read or written"},
        {K::NotATable, "R rom.bin: the table at 0x20000 is not a table: its first data offset 0x1 "
                       "lies inside its leading word; nothing was written"},
        {K::ImageSizeChanged,
         "R rom.bin: changed since it was read (now 524288 bytes, then 1); nothing was written"},
        {K::RleOffsetPastEnd, "R rom.bin: offset 0x220F2 is at or past the end of the file (524288 "
                              "bytes); nothing was written"},
        {K::RomOverLimit,
         "R rom.bin: 2716 bytes are more than a ROM image may hold (1); nothing was written"},
        {K::OutputIsRom, "R rom.bin: is the ROM image game.bin itself; a decompress never writes "
                         "over its ROM; nothing was written"},
        {K::NoBackup, "R rom.bin: there is no backup game.bin to go back to; nothing was changed"},
        {K::BackupIsRom, "R rom.bin: its backup game.bin is the same file, with the same image; "
                         "nothing was changed"},
        {K::EntryChanged, "R rom.bin: entry 0x3 of the table at 0x20000 changed since it was read; "
                          "nothing was written"},
        {K::RleBlockChanged,
         "R rom.bin: the RLE data at 0x220F2 changed since it was read; nothing was written"},
        {K::NoTableToList,
         "R rom.bin: no table at 0x20000: its first data offset lies inside its leading word"},
        {K::TooManyEntries, "R rom.bin: the table at 0x20000 has 32 entries (first data offset "
                            "0x1); a compress can recalculate at most 32; nothing was written"},
        {K::LzhNotDecodedBack, "R rom.bin: the LZH stream made from the new data does not decode "
                               "back to it; nothing was written"},
        {K::RleNotDecodedBack, "R rom.bin: the RLE block made from the new data does not decode "
                               "back to it; nothing was written"},
        {K::DataOverLimit, "R rom.bin: the new data's 2716 bytes are more than the 1 a compressed "
                           "block may hold; nothing was written"}};
    for (const auto& [kind, words] : cases)
        EXPECT_EQ(Thrown([&, k = kind] { ThrowRomProblem(Problem(k)); }), words);
    EXPECT_EQ(NoBackupMessage("/r/a.bin"),
              "/r/a.bin: there is no backup /r/a.bin.bak to go back to; nothing was changed");
}

// An overwrite names what would write and what it would land on, each as the plan leaves it.
TEST(RomProblemWords, OverwriteNamesBothPieces) {
    RomProblem problem = Problem(RomProblemKind::Overwrite);
    problem.writer = {PieceKind::MovedData, 2, 0x2147A, 16};
    problem.overwritten = {PieceKind::NewData, 0, 0, 0};
    EXPECT_EQ(
        RomProblemText(problem),
        "rom.bin: the moved data of entry 0x2 of the table at 0x20000 (16 bytes at 0x2147A) would "
        "overwrite the new data of entry 0x0 of the table at 0x20000; nothing was written");
    problem.writer = {PieceKind::NewFields, 5, 0x2003E, 36};
    problem.overwritten = {PieceKind::StayingData, 1, 0, 0};
    EXPECT_EQ(RomProblemText(problem),
              "rom.bin: the new fields of entry 0x5 of the table at 0x20000 and the entries after "
              "it (36 bytes at 0x2003E) would overwrite the data of entry 0x1 of the table at "
              "0x20000, which stays where it is; nothing was written");
}

// A field's text that is no hexadecimal number is quoted with the field's caption.
TEST(RomProblemWords, HexFieldRefusalQuotesTheText) {
    EXPECT_EQ(HexFieldValue("Table Index (HEX)", " $1f "), 0x1Fu);
    EXPECT_EQ(Thrown([] { HexFieldValue("Table Index (HEX)", "zz"); }),
              "R Table Index (HEX): \"zz\" is not a hexadecimal number (an optional 0x or $, then "
              "1 to 8 hexadecimal digits); nothing was read or written");
}

// A codec's problem is thrown as its error and worded with its numbers, naming the source first.
TEST(RomProblemWords, CodecProblemsAreWordedWithTheirNumbers) {
    using K = CodecProblemKind;
    const std::pair<CodecProblem, std::string> cases[] = {
        {CodecProblem{K::RleHeaderPastEnd, "a.bin", 0x7FFFE, 0x80000},
         "F a.bin: too short: 4 bytes needed at 0x7FFFE, the data ends at 0x80000"},
        {CodecProblem{K::RleBlockEndsEarly, "a.bin", 0, 5, 8, 4},
         "F a.bin: the RLE block at 0x0 ends early at 0x5: 4 of 8 bytes decoded"},
        {CodecProblem{K::LzhSizeOverLimit, "a.bin", 0, 0, 16777217, 0, 16777216},
         "R a.bin: the decoded size 16777217 (0x1000001) is over the limit of 16777216 bytes"},
        {CodecProblem{K::RleSizeOverLimit, "a.bin", 0x100, 0, 16777217, 0, 16777216},
         "R a.bin: the RLE block at 0x100 announces 16777217 bytes, more than the limit of "
         "16777216"},
        {CodecProblem{K::RleDataOverLimit, "memory", 0, 0, 17000000, 0, 16777216},
         "R memory: 17000000 bytes are more than an RLE block may hold (16777216)"},
    };
    for (const auto& [problem, text] : cases)
        EXPECT_EQ(Thrown([&, p = problem] { ThrowCodecProblem(p); }), text);
}

// A picture's problem is thrown as its error and worded with its numbers.
TEST(RomProblemWords, GraphicsProblemsAreWordedWithTheirNumbers) {
    using K = GraphicsProblemKind;
    const auto problem = [](K kind, std::string file = "", bool cells = false) {
        return GraphicsProblem{kind, std::move(file), 2, 8, 0x7C0, 0x7E0, 0x7D0, 16, 3, 4, 5, 6,
                               cells};
    };
    const std::pair<GraphicsProblem, std::string> cases[] = {
        {problem(K::LevelDataPastEnd, "a.bin"), "F a.bin: the data of level table entry 2 would "
                                                "begin at 0x7C0, past the end of the file (0x7E0)"},
        {problem(K::PaletteLinePastEnd, "a.bin"),
         "F a.bin: too short: palette line 2 of the palette at 0x7C0 ends at 0x7E0, the file ends "
         "at 0x7D0"},
        {problem(K::NoPngName), "F No file name given for the PNG picture"},
        {problem(K::NoSuchLevel), "R There is no level 3: the game has 8"},
        {problem(K::EmptyCell), "R Cannot draw tiles in cells of 3 x 4 tiles"},
        {problem(K::OverFrameBuffer),
         "R A picture of 3 x 4 pixels is larger than the frame buffer"},
        {problem(K::NoSuchPaletteLine), "R palette line 2: the lines are 0 to 3"},
        {problem(K::SheetColumns), "R a tile picture of 5 tiles a row: it takes 1 to 16"},
        {problem(K::SheetCellSides),
         "R a tile picture of cells of 3x4 tiles: a cell's sides take 1 to 16 tiles"},
        {problem(K::SheetDataOverLimit),
         "R 2000 bytes are more tile data than one picture holds (16)"},
        {problem(K::SheetTooLarge, "", true),
         "R 8 cells at 5 a row make a picture of 3 x 4 pixels, more than a picture may have (16 "
         "pixels a side, 2000 in all); take at least 6 cells a row"},
        {problem(K::EmptyPicture, "o.png"), "R o.png: not written: the picture is empty"},
        {problem(K::NotWholeCells, "p.png"),
         "R p.png: the picture is 3 x 4 pixels; a picture of cells of 5x8 tiles (40 x 64 pixels) "
         "has a width and a height that are multiples of 40 and 64"},
        {{.kind = K::NotWholeCells,
          .file = "q.png",
          .count = 1,
          .width = 12,
          .height = 8,
          .columns = 1},
         "R q.png: the picture is 12 x 8 pixels; a picture of 8 x 8 tiles has a width and a height "
         "that are multiples of 8"},
        {{.kind = K::ColourNotInPalette, .file = "c.png", .x = 3, .text = "#123456", .flag = true},
         "R c.png: the colour #123456 at x 3, y 0 is not in the grey ramp (the picture's palette "
         "is not that line, so its colours decide)"},
    };
    for (const auto& [thrown, text] : cases)
        EXPECT_EQ(Thrown([&, t = thrown] { ThrowGraphicsProblem(t); }), text);
}

// Errors that carry no problem show their own message; the encoder's names its count.
TEST(RomProblemWords, OtherErrorsKeepTheirMessage) {
    EXPECT_EQ(ErrorText(UnsupportedRepeatError(131073)), "Unsupported repeat count: 131073");
    EXPECT_EQ(ErrorText(RefusedError("in.bin: too large")), "in.bin: too large");
    EXPECT_EQ(ErrorText(std::runtime_error("x")), "x");
    EXPECT_EQ(ErrorText(std::make_exception_ptr(std::runtime_error("y"))), "y");
    EXPECT_EQ(ErrorText(std::make_exception_ptr(7)), "unexpected failure");
    EXPECT_EQ(PngProblemText({PngProblemKind::NothingToCompress}),
              "PNG image data: nothing to compress");
    EXPECT_EQ(PngProblemText({PngProblemKind::CompressorNotPrimed}),
              "PNG image data: the compressor could not be primed");
    PngProblem tooLong{PngProblemKind::ChunkTooLong};
    std::tie(tooLong.text, tooLong.size) = std::tuple("IDAT", uint64_t(1) << 31);
    EXPECT_EQ(PngProblemText(tooLong),
              "PNG chunk IDAT: 2147483648 bytes is more than a chunk can hold");
    PngProblem palette{PngProblemKind::PaletteSize, "p.png"};
    std::tie(palette.size, palette.limit) = std::tuple(300, 256);
    std::string texts = PngProblemText(palette);
    for (const auto kind : {PngProblemKind::PaletteMissing, PngProblemKind::ReaderNotStarted,
                            PngProblemKind::CompressorNotStarted, PngProblemKind::CompressorFailed})
        texts += "|" + PngProblemText({kind, "p.png"});
    EXPECT_EQ(texts + "|" + ErrorText(CancelledError()) + "|" + ErrorText(CancelledError("a.png")),
              "PNG picture: a palette of 300 colours; this image takes 1 to 256|PNG picture: a "
              "palette image without palette|p.png: libpng could not start|PNG image data: the "
              "compressor could not start|PNG image data: the compressor failed|cancelled; nothing "
              "was written|a.png: cancelled; nothing was written");
    EXPECT_EQ(OutOfMemoryText("pack") + "|" + UnexpectedText("pack", "x") + "|" +
                  RomWrittenText("y", "r.bin") + "|" + StatusNoteLine("z") + "|" +
                  ImageDifferenceText({0, 0, 0, 0, 4, 2}),
              "pack: out of memory|pack: x|y; r.bin was written|    note: z|changes no byte; "
              "shrinks from 4 to 2 bytes");
}

// A change's and an undo's words, whole: both sides of the swap with their own sizes and times,
// the checksum's note in each state with four digits.
TEST(RomChangeWords, SummariesNameBothSidesAndTheChecksum) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    RomChange change{
        true,   "/r/tf3.bin.bak", ChecksumState::Wrong,
        0x0A0B, 0x00FF,           UndoSides{"/r/tf3.bin", "/r/tf3.bin.bak", 1024, 2048, 0, 86461}};
    const std::string swapped = " Swapped tf3.bin (1024 bytes, changed 1970-01-01 00:00:00) with "
                                "tf3.bin.bak (2048 bytes, changed 1970-01-02 00:01:01).";
    EXPECT_EQ(RomChangeSummary("tf3.bin", change),
              "tf3.bin written; the previous image is kept as tf3.bin.bak; header checksum wrong "
              "(stored 0A0B, computed 00FF).");
    EXPECT_EQ(RomUndoSummary("tf3.bin", change),
              "tf3.bin: last change undone, kept as tf3.bin.bak (undo again to redo it); header "
              "checksum wrong (stored 0A0B, computed 00FF)." +
                  swapped);
    EXPECT_EQ(NewFileLine("out.bin", change),
              "out.bin written; header checksum wrong (stored 0A0B, computed 00FF).");
    change.checksum = ChecksumState::Right;
    change.computedChecksum = 0x0001;
    EXPECT_EQ(RomChangeSummary("tf3.bin", change), "tf3.bin written; the previous image is kept as "
                                                   "tf3.bin.bak; header checksum right (0001).");
    change.checksum = ChecksumState::NoHeader;
    EXPECT_EQ(NewFileLine("out.bin", change), "out.bin written.");
    change.finishedInterrupted = true;
    EXPECT_EQ(RomUndoSummary("tf3.bin", change),
              "tf3.bin: last change undone, kept as tf3.bin.bak (undo again to redo it). An undo "
              "that was interrupted has been finished.");
    change.written = false;
    EXPECT_EQ(RomChangeSummary("tf3.bin", change),
              "tf3.bin unchanged: the new data is the same as the old; nothing was written.");
}

// What a packed file holds, as status and pack say it.
TEST(PackWords, ContentIsNamedByKind) {
    using K = ModContentKind;
    const std::pair<ModContent, std::string> cases[] = {
        {{K::TileArt, 2}, "tile art of level 3"},
        {{K::LevelBlocks, 0}, "blocks and layout of level 1"},
        {{K::SpriteSheet, 0}, "the sprite sheet"},
        {{K::TitleArt, 0}, "the title-screen art"},
        {{K::Data, 5}, "data"}};
    for (const auto& [content, text] : cases) EXPECT_EQ(ContentText(content), text);
}

} // namespace
} // namespace drovak
