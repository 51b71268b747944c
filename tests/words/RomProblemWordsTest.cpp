#include "words/RomProblemWords.h"

#include "words/RomChangeWords.h"

#include "compression/Rle.h"

#include "words/HexFieldWords.h"
#include "words/LzhListWords.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <tuple>

namespace drovak {
namespace {

RomProblem Problem(RomProblemKind kind) {
    RomProblem problem{kind, "rom.bin", 0x20000, 3, 32};
    problem.at = 0x220F2;
    problem.size = 2716;
    problem.fileSize = 0x80000;
    problem.value = 0x1;
    problem.other = "game.bin";
    return problem;
}

// Each kind leaves the core as the exception its exit code and box go by (a file too short is
// a FileError, everything else a RefusedError), and is worded naming the file first and, where
// the kind wrote nothing, saying so.
TEST(RomProblemWords, EachKindIsThrownAsItsErrorAndWordedWithItsNumbers) {
    using K = RomProblemKind;
    const std::tuple<K, bool, std::string> cases[] = {
        {K::FieldPastEnd, true,
         "rom.bin: too short for the table at 0x20000: the DataOffset of entry 0x3 lies at "
         "0x220F2, but the file ends at 0x80000 (524288 bytes)"},
        {K::TableRunsPastEnd, true,
         "rom.bin: too short for the table at 0x20000: its 32 entries run to 0x220F2, but the "
         "file ends at 0x80000 (524288 bytes)"},
        {K::EntryDataPastEnd, true,
         "rom.bin: too short: the data of entry 0x3 of the table at 0x20000 (2716 bytes at "
         "0x220F2) runs past the end of the file at 0x80000; nothing was written"},
        {K::EntryBeyondTable, false,
         "rom.bin: entry 0x3 is beyond the table at 0x20000, which has 32 entries; nothing was "
         "read or written"},
        {K::NotATable, false,
         "rom.bin: the table at 0x20000 is not a table: its first data offset 0x1 lies inside "
         "its leading word; nothing was written"},
        {K::ImageSizeChanged, false,
         "rom.bin: changed since it was read (now 524288 bytes, then 1); nothing was written"},
        {K::RleOffsetPastEnd, false,
         "rom.bin: offset 0x220F2 is at or past the end of the file (524288 bytes); nothing was "
         "written"},
        {K::RomOverLimit, false,
         "rom.bin: 2716 bytes are more than a ROM image may hold (1); nothing was written"},
        {K::OutputIsRom, false,
         "rom.bin: is the ROM image game.bin itself; a decompress never writes over its ROM; "
         "nothing was written"},
        {K::NoBackup, false,
         "rom.bin: there is no backup game.bin to go back to; nothing was changed"},
        {K::BackupIsRom, false,
         "rom.bin: its backup game.bin is the same file, with the same image; nothing was "
         "changed"},
        {K::RleBlockChanged, false,
         "rom.bin: the RLE data at 0x220F2 changed since it was read; nothing was written"}};
    for (const auto& [kind, shortFile, words] : cases) {
        SCOPED_TRACE(words);
        try {
            ThrowRomProblem(Problem(kind));
        } catch (const FileError& error) {
            EXPECT_TRUE(shortFile);
            EXPECT_EQ(ErrorText(error), words);
        } catch (const RefusedError& error) {
            EXPECT_FALSE(shortFile);
            EXPECT_EQ(ErrorText(error), words);
        }
    }
}

// An overwrite names what would write and what it would land on, each as the plan leaves it.
TEST(RomProblemWords, OverwriteNamesBothPieces) {
    RomProblem problem = Problem(RomProblemKind::Overwrite);
    problem.writer = {PieceKind::MovedData, 2, 0x2147A, 16};
    problem.overwritten = {PieceKind::NewData, 0, 0, 0};
    EXPECT_EQ(RomProblemText(problem),
              "rom.bin: the moved data of entry 0x2 of the table at 0x20000 (16 bytes at "
              "0x2147A) would overwrite the new data of entry 0x0 of the table at 0x20000; "
              "nothing was written");
    problem.writer = {PieceKind::NewFields, 5, 0x2003E, 36};
    problem.overwritten = {PieceKind::StayingData, 1, 0, 0};
    EXPECT_EQ(RomProblemText(problem),
              "rom.bin: the new fields of entry 0x5 of the table at 0x20000 and the entries "
              "after it (36 bytes at 0x2003E) would overwrite the data of entry 0x1 of the table "
              "at 0x20000, which stays where it is; nothing was written");
}

// A field's text that is no hexadecimal number is quoted with the field's caption.
TEST(RomProblemWords, HexFieldRefusalQuotesTheText) {
    EXPECT_EQ(HexFieldValue("Table Index (HEX)", " $1f "), 0x1Fu);
    try {
        HexFieldValue("Table Index (HEX)", "zz");
        ADD_FAILURE() << "no refusal";
    } catch (const RefusedError& error) {
        EXPECT_STREQ(error.what(),
                     "Table Index (HEX): \"zz\" is not a hexadecimal number (an optional 0x or "
                     "$, then 1 to 8 hexadecimal digits); nothing was read or written");
    }
}

// Errors that carry no problem show their own message; the encoder's names its count.
TEST(RomProblemWords, OtherErrorsKeepTheirMessage) {
    EXPECT_EQ(ErrorText(UnsupportedRepeatError(131073)), "Unsupported repeat count: 131073");
    EXPECT_EQ(ErrorText(RefusedError("in.bin: too large")), "in.bin: too large");
    EXPECT_EQ(ErrorText(std::runtime_error("x")), "x");
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
    change.checksum = ChecksumState::Right;
    change.computedChecksum = 0x0001;
    EXPECT_EQ(RomChangeSummary("tf3.bin", change),
              "tf3.bin written; the previous image is kept as tf3.bin.bak; header checksum right "
              "(0001).");
    change.checksum = ChecksumState::NoHeader;
    change.finishedInterrupted = true;
    EXPECT_EQ(RomUndoSummary("tf3.bin", change),
              "tf3.bin: last change undone, kept as tf3.bin.bak (undo again to redo it). An undo "
              "that was interrupted has been finished.");
    change.written = false;
    EXPECT_EQ(RomChangeSummary("tf3.bin", change),
              "tf3.bin unchanged: the new data is the same as the old; nothing was written.");
}

} // namespace
} // namespace drovak
