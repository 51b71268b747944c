#include "words/FileProblemWords.h"

#include "patch/PatchProblem.h"
#include "words/PatchRefusalWords.h"
#include "words/PatchWords.h"
#include "words/RomProblemWords.h"

#include "support/TestSupport.h"

#include <cerrno>
#include <sys/stat.h>

namespace drovak {
namespace {

// Each kind, worded whole from its facts, and thrown as the exception its exit code goes by:
// F a file error, R a refusal, O other content (asked again), U in use.
TEST(FileProblemWords, EachKindIsWordedWholeAndThrownAsItsClass) {
    using K = FileProblemKind;
    const FileProblem failed{.kind = K::CannotRename, .path = "a", .error = ENOENT};
    const std::exception_ptr cause = std::make_exception_ptr(FileFailure(failed));
    const std::string gone = "No such file or directory";
    // A problem with the file "a" (or `path`) that the system said is gone.
    const auto lost = [](K kind, std::string path = "a") {
        return FileProblem{.kind = kind, .path = std::move(path), .error = ENOENT};
    };
    // A swap of "a" with "b" through "b.swap" that the system said is gone.
    const auto swapping = [](K kind) {
        return FileProblem{
            .kind = kind, .path = "a", .other = "b", .third = "b.swap", .error = ENOENT};
    };
    // Another program's file at the target "t" after the rename, and the words that name it.
    const auto atTarget = [](uint32_t mode, uint64_t links, std::string text = "",
                             std::string third = "") {
        return FileProblem{.kind = K::OtherAtTarget,
                           .path = "a",
                           .other = "t",
                           .third = third,
                           .text = text,
                           .mode = mode,
                           .links = links};
    };
    const auto target = [](const std::string& holds, const std::string& kept) {
        return "F a: not written: after the new file was renamed into place, t holds " + holds +
               ": another program changed the folder meanwhile; " + kept +
               "look at t before using it";
    };
    // Each case's words begin with the type's letter.
    const std::pair<FileProblem, std::string> cases[] = {
        {{.kind = K::NoFileName}, "F No file name given"},
        {lost(K::CannotOpen), "F a: cannot open for reading: " + gone},
        {{.kind = K::CannotOpen, .path = "a", .error = ENOENT, .flag = true},
         "F a: cannot open for writing: " + gone},
        {lost(K::CannotStat), "F a: cannot open: " + gone},
        {lost(K::CannotOpenToChange),
         "F a: cannot open for writing: " + gone + "; nothing was written"},
        {{.kind = K::NotRegularToWrite, .path = "a", .mode = S_IFDIR},
         "F a: is a folder, not a regular file; nothing was written"},
        {lost(K::CannotRead), "F a: cannot read: " + gone},
        {{.kind = K::CannotReadAt, .path = "a", .error = ENOENT, .at = 31},
         "F a: cannot read at 0x1F: " + gone},
        {{.kind = K::CannotWriteAt, .path = "a", .error = ENOENT, .at = 32},
         "F a: cannot write at 0x20: " + gone},
        {lost(K::CannotSync), "F a: cannot write to storage: " + gone},
        {{.kind = K::TooShort, .path = "a", .count = 4, .at = 16, .end = 18},
         "F a: too short: 4 bytes needed at 0x10, the data ends at 0x12"},
        {{.kind = K::ReadOnlyView, .path = "a"}, "F a: is read-only here; nothing was written"},
        {{.kind = K::NoReader, .path = "a"}, "F a: nothing was written: no program reads from it"},
        {lost(K::CannotOpenThrough), "F a: nothing was written: cannot open: " + gone},
        {{.kind = K::CannotWriteThrough, .path = "a", .error = ENOENT, .count = 3, .total = 9},
         "F a: cannot write (3 of 9 bytes written): " + gone},
        {lost(K::CannotCreateTemporary),
         "F cannot create a temporary file in the folder of a: " + gone},
        {lost(K::CannotCheckNewFile), "F cannot check the new file of a: " + gone},
        {lost(K::CannotGiveMode), "F cannot give the new file the mode of a: " + gone},
        {{.kind = K::CannotGiveAttribute, .path = "a", .text = "user.x", .error = ENOENT},
         "F cannot give the new file the attribute user.x of a: " + gone},
        {failed, "F cannot rename the new file over it: " + gone},
        {{.kind = K::NothingWritten, .path = "a", .cause = cause},
         "F a: nothing was written: cannot rename the new file over it: " + gone},
        {atTarget(S_IFLNK, 0, "/x"), target("a symbolic link to /x", "")},
        {atTarget(S_IFREG, 2, "", "k"),
         target("a second name of another file", "the old image is kept as k; ")},
        {atTarget(S_IFREG, 1), target("another regular file", "")},
        {atTarget(0, 0), target("nothing", "")},
        {atTarget(S_IFDIR, 0), target("a folder", "")},
        {{.kind = K::BackupNotNamed, .path = "a", .other = "a.bak", .third = "k", .error = ENOENT},
         "F a: the new content was written, but the old one could not be named a.bak (" + gone +
             "); it is kept as k, which no run of this program removes"},
        {{.kind = K::FolderNotSynced, .path = "a", .other = "a.bak", .error = ENOENT},
         "F a: the new content was written (the old one kept as a.bak), but its folder could not "
         "be synced to storage: " +
             gone},
        {swapping(K::CannotSwap), "F a: nothing was changed: cannot swap it with b: " + gone},
        {swapping(K::SwapNotPutBack),
         "F a: cannot swap it with b (" + gone + "), nor put it back: it is b.swap"},
        {swapping(K::SwapHalfDone),
         "F a: now holds what b held, but the old a could not be named b (" + gone +
             "); it is b.swap"},
        {swapping(K::SwapNotSynced),
         "F a: swapped with b, but the folder could not be synced to storage: " + gone},
        {swapping(K::InterruptedNotRestored),
         "F a: an undo was interrupted and left b.swap, which can't be put in its place: " + gone},
        {{.kind = K::CannotMakeFolder, .path = "d"},
         "F d: cannot make the folder: something else is there"},
        {lost(K::CannotReadFolder, "d"), "F d: cannot read the folder: " + gone},
        {lost(K::CannotWatch, "d"), "F d: can't be watched (" + gone + ")"},
        {{.kind = K::WatchFailed, .error = ENOENT}, "F watching the folder failed (" + gone + ")"},
        {{.kind = K::NoSuchProgram, .path = "emu"}, "F emu: no such program (on PATH) to start"},
        {lost(K::CannotStart, "emu"), "F emu: can't be started (" + gone + ")"},
        {{.kind = K::NotRegular, .path = "a", .mode = S_IFIFO},
         "R a: is a FIFO, not a regular file; nothing was read or written"},
        {{.kind = K::ReadOnlyMode, .path = "a"},
         "R a: read-only; nothing was written (its mode lets no one write it)"},
        {{.kind = K::ReadOnlyForUser, .path = "a"},
         "R a: read-only; nothing was written (this user may not write it)"},
        {{.kind = K::ReadOnlyFileSystem, .path = "a"},
         "R a: read-only; nothing was written (its file system is mounted read-only)"},
        {{.kind = K::NothingToReadNow, .path = "a", .mode = S_IFCHR},
         "R a: is a character device with nothing to read now: it can't be read to an end; nothing "
         "was written"},
        {{.kind = K::TooLarge, .path = "a", .count = 9, .total = 8, .limit = SizeLimit::Patch},
         "R a: 9 bytes, more than a patch may be (8 bytes); nothing was written"},
        {{.kind = K::MoreBytesThan, .path = "a", .total = 7, .limit = SizeLimit::DataBlock},
         "R a: more bytes than the 7 a compressed block may hold; nothing was written"},
        {{.kind = K::NotRegularInFolder, .path = "d/a", .other = "d", .mode = S_IFSOCK},
         "R d/a: is a socket; only regular files inside d are read; nothing was written"},
        {{.kind = K::LeadsOutside, .path = "d/a", .other = "d", .text = "/etc/x"},
         "R d/a: leads outside the folder, to /etc/x; only regular files inside d are read; "
         "nothing was written"},
        {{.kind = K::TemporaryReplaced, .path = "a", .other = "a.tmp"},
         "R a: its temporary file a.tmp was replaced by another program meanwhile; nothing was "
         "written"},
        {{.kind = K::ReplacedMeanwhile, .path = "a"},
         "R a: replaced by another program meanwhile; nothing was written"},
        {{.kind = K::OwnerNotKept, .path = "a", .owner = 7, .group = 8},
         "R a: owned by user 7, group 8; this user can't give a new file that owner, and its owner "
         "is never changed; nothing was written"},
        {{.kind = K::InterruptedSwapLeft, .path = "a", .other = "b", .third = "b.swap"},
         "R a: an undo was interrupted and left b.swap, and it can't tell from a and b where that "
         "image belongs: look at the three, keep the one you want as a and remove b.swap; nothing "
         "was changed"},
        {{.kind = K::IntermediateNotRegular, .path = "a", .third = "b.swap", .mode = S_IFDIR},
         "R a: b.swap is a folder, not an image an undo left; nothing was changed"},
        {{.kind = K::QuoteOpen, .text = "emu \"x"},
         "R the command line \"emu \"x\" leaves a quote open"},
        {{.kind = K::EmptyCommandLine}, "R the command line is empty"},
        {{.kind = K::OtherContent, .path = "a"},
         "O a: already exists and holds other data; nothing was written"},
        {{.kind = K::InUse, .path = "a"}, "U a: in use by another program; nothing was written"},
        {{.kind = K::KeepsBeingReplaced, .path = "a"},
         "U a: in use by another program (it keeps being replaced); nothing was written"},
    };
    for (const auto& [problem, typed] : cases) {
        const std::string words = typed.substr(2);
        SCOPED_TRACE(words);
        EXPECT_EQ(FileProblemText(problem), words);
        try {
            ThrowFileProblem(problem);
        } catch (const std::exception& e) {
            EXPECT_EQ(ErrorText(e), words);
            const char type = dynamic_cast<const InUseError*>(&e)          ? 'U'
                              : dynamic_cast<const OtherContentError*>(&e) ? 'O'
                              : dynamic_cast<const RefusedError*>(&e)      ? 'R'
                              : dynamic_cast<const FileError*>(&e)         ? 'F'
                                                                           : '?';
            EXPECT_EQ(type, typed[0]);
        }
    }
}

// What each kind of file is called, and what each size limit is for, as a refusal of a file
// over it says.
TEST(FileProblemWords, EachKindOfFileAndEachSizeLimitIsNamed) {
    // clang-format off
    const std::pair<uint32_t, const char*> kinds[] = {
        {S_IFREG | 0644, "a regular file"}, {S_IFDIR, "a folder"}, {S_IFLNK, "a symbolic link"},
        {S_IFIFO, "a FIFO"}, {S_IFCHR, "a character device"}, {S_IFBLK, "a block device"},
        {S_IFSOCK, "a socket"}, {0, "not a regular file"}};
    // clang-format on
    for (const auto& [mode, words] : kinds) EXPECT_EQ(FileKind(mode), words);
    using L = SizeLimit;
    // clang-format off
    const std::pair<L, std::string> limits[] = {
        {L::None, ""}, {L::CodecInput, "the codecs take (5, a ROM image's)"},
        {L::DataBlock, "the 5 a compressed block may hold"}, {L::Patch, "a patch may be (5 bytes)"},
        {L::Metadata, "metadata may be (1 MiB)"}, {L::TilePicture, "one tile picture holds (16 MiB)"},
        {L::PngFile, "a PNG file may have here (512 MiB)"}, {L::Sheet, "a sheet holds"},
        {L::Manifest, "a manifest holds (1 MiB)"}, {L::UnpackedFile, "an unpacked file holds"},
        {L::MapOrPalette, "a map or palette holds (64 MiB)"}};
    // clang-format on
    for (const auto& [limit, words] : limits) {
        const FileProblem p{
            .kind = FileProblemKind::MoreBytesThan, .path = "a", .total = 5, .limit = limit};
        EXPECT_EQ(FileProblemText(p), "a: more bytes than " + words + "; nothing was written");
    }
}

// A patch not made: each kind once, found in the exception it is thrown in.
TEST(FileProblemWords, EachPatchMakingProblemIsWordedWhole) {
    using K = PatchProblemKind;
    const std::pair<PatchProblem, std::string> cases[] = {
        {{.kind = K::OriginalTooLarge, .size = 70},
         "the original image's 70 bytes are more than a patch may be made of (67108864)"},
        {{.kind = K::ModifiedTooLarge, .size = 71},
         "the modified image's 71 bytes are more than a patch may be made of (67108864)"},
        {{.kind = K::BeyondIpsReach, .size = 17},
         "the modified image's 17 bytes are more than IPS can reach (16 MiB: its offsets have 24 "
         "bits); make a BPS patch instead"},
        {{.kind = K::IpsCannotCutTo, .size = 16},
         "the modified image is cut to 16 bytes, a size IPS can't write (24 bits); make a BPS "
         "patch instead"},
        {{.kind = K::MetadataNotBps, .size = 0}, "not a BPS patch: its metadata can't be set"},
        {{.kind = K::MetadataDamagedBps, .size = 0},
         "a damaged BPS patch: its metadata can't be set"},
        {{.kind = K::SuffixArrayFailed, .size = 5},
         "the suffix array of 5 bytes could not be made"},
    };
    for (const auto& [problem, words] : cases) {
        try {
            ThrowPatchProblem(problem.kind, problem.size);
        } catch (const DrovakError& e) {
            EXPECT_EQ(ErrorText(e), words);
            EXPECT_EQ(dynamic_cast<const RefusedError*>(&e) != nullptr,
                      problem.kind != K::SuffixArrayFailed);
        }
    }
}

// Both forms of a refusal name the patch, then the ROM.
TEST(PatchWords, ARefusalNamesThePatchThenTheRom) {
    PatchResult result = PatchResult::Refused(PatchRefusal::AlreadyApplied, 0, PatchFault{});
    result.actualCrc = 0xABCD;
    const std::string reason = "a.bps is already applied: b.bin (CRC-32 0000ABCD) is the image it "
                               "makes, and it would change nothing";
    EXPECT_EQ(std::pair(PatchRefusedLine(result, "a.bps", "b.bin"),
                        PatchRefusedMessage(result, "a.bps", "b.bin")),
              std::pair(reason + "; nothing was written", reason + ". Nothing was written."));
}

TEST(PatchWords, ABpsPatchsActionsAreCountedByKindAndInAll) {
    PatchInfo info;
    info.format = PatchFormat::Bps;
    info.bps.emplace();
    std::tie(info.bps->sourceReads, info.bps->targetReads, info.bps->sourceCopies,
             info.bps->targetCopies) = std::tuple(1, 2, 3, 4);
    info.bps->metadata = "\x1F \x7F~\t\r\n"; // control characters shown as numbers, the rest as is
    const std::string text = PatchInfoText(info, "a.bps", 9);
    EXPECT_TRUE(text.starts_with("a.bps: BPS patch of 9 bytes\n")) << text;
    EXPECT_TRUE(test::Holds(text, "  metadata: 7 bytes\n    \\x1F \\x7F~\t\n  actions")) << text;
    EXPECT_TRUE(test::Holds(text,
                            "actions: 10 (1 read in place, 2 literals, 3 copies from the source, 4 "
                            "copies from the target)\n"));
    // An IPS patch's records, its runs and the bytes they write, one and more.
    info.ips = IpsInfo{1, 1, 1, std::nullopt};
    EXPECT_TRUE(test::Holds(PatchInfoText(info, "a.ips", 9),
                            "  records: 1 (1 run), writing 1 byte\n  truncation: none"));
    info.ips = IpsInfo{3, 2, 70, std::nullopt};
    EXPECT_TRUE(
        test::Holds(PatchInfoText(info, "a.ips", 9), "  records: 3 (2 runs), writing 70 bytes\n"));
}

} // namespace
} // namespace drovak
