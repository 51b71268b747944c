#include "words/FileProblemWords.h"

#include "base/FileHandle.h"
#include "words/CommandWords.h"
#include "words/RomProblemWords.h"

#include <exception>

namespace drovak {

std::string FileKind(uint32_t mode) {
    switch (FileTypeOf(mode)) {
    case FileType::Regular:
        return "a regular file";
    case FileType::Folder:
        return "a folder";
    case FileType::SymbolicLink:
        return "a symbolic link";
    case FileType::Fifo:
        return "a FIFO";
    case FileType::CharacterDevice:
        return "a character device";
    case FileType::BlockDevice:
        return "a block device";
    case FileType::Socket:
        return "a socket";
    case FileType::Other:
        break;
    }
    return "not a regular file";
}

namespace {

std::string Number(uint64_t value) {
    return std::to_string(value);
}

// What stood at a path where the new file should have been.
std::string Found(const FileProblem& p) {
    FileInfo info;
    info.mode = p.mode;
    if (p.mode == 0) return "nothing";
    if (info.IsSymbolicLink()) return "a symbolic link to " + p.text;
    if (info.IsRegular())
        return p.links > 1 ? "a second name of another file" : "another regular file";
    return FileKind(p.mode);
}

std::string Cause(const FileProblem& p) {
    if (!p.cause) return "";
    try {
        std::rethrow_exception(p.cause);
    } catch (const std::exception& error) {
        return ErrorText(error);
    } catch (...) {
    }
    return "";
}

// What a size limit allows, as the refusal names it ("a patch may be (16777216 bytes)").
std::string LimitText(const FileProblem& p) {
    switch (p.limit) {
    case SizeLimit::None:
        break;
    case SizeLimit::CodecInput:
        return "the codecs take (" + Number(p.total) + ", a ROM image's)";
    case SizeLimit::DataBlock:
        return "the " + Number(p.total) + " a compressed block may hold";
    case SizeLimit::Patch:
        return "a patch may be (" + Number(p.total) + " bytes)";
    case SizeLimit::Metadata:
        return "metadata may be (1 MiB)";
    case SizeLimit::TilePicture:
        return "one tile picture holds (16 MiB)";
    case SizeLimit::PngFile:
        return "a PNG file may have here (512 MiB)";
    case SizeLimit::Sheet:
        return "a sheet holds";
    case SizeLimit::Manifest:
        return "a manifest holds (1 MiB)";
    case SizeLimit::UnpackedFile:
        return "an unpacked file holds";
    case SizeLimit::MapOrPalette:
        return "a map or palette holds (64 MiB)";
    }
    return "";
}

std::string Text(const FileProblem& p) {
    using K = FileProblemKind;
    const std::string file = p.path + ": ";
    const std::string reason = SystemReason(p.error);
    const std::string unwritten = "; nothing was written";
    const std::string untouched = "; nothing was changed";
    switch (p.kind) {
    case K::NoFileName:
        return "No file name given";
    case K::CannotOpen:
        return file + "cannot open for " + (p.flag ? "writing" : "reading") + ": " + reason;
    case K::CannotStat:
        return file + "cannot open: " + reason;
    case K::CannotOpenToChange:
        return file + "cannot open for writing: " + reason + unwritten;
    case K::NotRegularToWrite:
        return file + "is " + FileKind(p.mode) + ", not a regular file" + unwritten;
    case K::CannotRead:
        return file + "cannot read: " + reason;
    case K::CannotReadAt:
        return file + "cannot read at " + HexText(p.at) + ": " + reason;
    case K::CannotWriteAt:
        return file + "cannot write at " + HexText(p.at) + ": " + reason;
    case K::CannotSync:
        return file + "cannot write to storage: " + reason;
    case K::TooShort:
        return file + "too short: " + Number(p.count) + " bytes needed at " + HexText(p.at) +
               ", the data ends at " + HexText(p.end);
    case K::ReadOnlyView:
        return file + "is read-only here" + unwritten;
    case K::NoReader:
        return file + "nothing was written: no program reads from it";
    case K::CannotOpenThrough:
        return file + "nothing was written: cannot open: " + reason;
    case K::CannotWriteThrough:
        return file + "cannot write (" + Number(p.count) + " of " + Number(p.total) +
               " bytes written): " + reason;
    case K::CannotCreateTemporary:
        return "cannot create a temporary file in the folder of " + p.path + ": " + reason;
    case K::CannotCheckNewFile:
        return "cannot check the new file of " + p.path + ": " + reason;
    case K::CannotGiveMode:
        return "cannot give the new file the mode of " + p.path + ": " + reason;
    case K::CannotGiveAttribute:
        return "cannot give the new file the attribute " + p.text + " of " + p.path + ": " + reason;
    case K::CannotRename:
        return "cannot rename the new file over it: " + reason;
    case K::NothingWritten:
        return file + "nothing was written: " + Cause(p);
    case K::OtherAtTarget:
        return file + "not written: after the new file was renamed into place, " + p.other +
               " holds " + Found(p) + ": another program changed the folder meanwhile" +
               (p.third.empty() ? "" : "; the old image is kept as " + p.third) + "; look at " +
               p.other + " before using it";
    case K::BackupNotNamed:
        return file + "the new content was written, but the old one could not be named " + p.other +
               " (" + reason + "); it is kept as " + p.third +
               ", which no run of this program removes";
    case K::FolderNotSynced:
        return file + "the new content was written" +
               (p.other.empty() ? "" : " (the old one kept as " + p.other + ")") +
               ", but its folder could not be synced to storage: " + reason;
    case K::CannotSwap:
        return file + "nothing was changed: cannot swap it with " + p.other + ": " + reason;
    case K::SwapNotPutBack:
        return file + "cannot swap it with " + p.other + " (" + reason +
               "), nor put it back: it is " + p.third;
    case K::SwapHalfDone:
        return file + "now holds what " + p.other + " held, but the old " + p.path +
               " could not be named " + p.other + " (" + reason + "); it is " + p.third;
    case K::SwapNotSynced:
        return file + "swapped with " + p.other +
               ", but the folder could not be synced to storage: " + reason;
    case K::InterruptedNotRestored:
        return file + "an undo was interrupted and left " + p.third +
               ", which can't be put in its place: " + reason;
    case K::CannotMakeFolder:
        return file +
               "cannot make the folder: " + (p.error != 0 ? reason : "something else is there");
    case K::CannotReadFolder:
        return file + "cannot read the folder: " + reason;
    case K::CannotWatch:
        return file + "can't be watched (" + reason + ")";
    case K::WatchFailed:
        return "watching the folder failed (" + reason + ")";
    case K::NoSuchProgram:
        return file + "no such program (on PATH) to start";
    case K::CannotStart:
        return file + "can't be started (" + reason + ")";
    case K::NotRegular:
        return file + "is " + FileKind(p.mode) +
               ", not a regular file; nothing was read or written";
    case K::ReadOnlyMode:
        return file + "read-only" + unwritten + " (its mode lets no one write it)";
    case K::ReadOnlyForUser:
        return file + "read-only" + unwritten + " (this user may not write it)";
    case K::ReadOnlyFileSystem:
        return file + "read-only" + unwritten + " (its file system is mounted read-only)";
    case K::NothingToReadNow:
        return file + "is " + FileKind(p.mode) +
               " with nothing to read now: it can't be read to an end" + unwritten;
    case K::TooLarge:
        return file + Number(p.count) + " bytes, more than " + LimitText(p) + unwritten;
    case K::MoreBytesThan:
        return file + "more bytes than " + LimitText(p) + unwritten;
    case K::NotRegularInFolder:
        return file + "is " + FileKind(p.mode) + "; only regular files inside " + p.other +
               " are read" + unwritten;
    case K::LeadsOutside:
        return file + "leads outside the folder, to " + p.text + "; only regular files inside " +
               p.other + " are read" + unwritten;
    case K::TemporaryReplaced:
        return file + "its temporary file " + p.other +
               " was replaced by another program meanwhile" + unwritten;
    case K::ReplacedMeanwhile:
        return file + "replaced by another program meanwhile" + unwritten;
    case K::OwnerNotKept:
        return file + "owned by user " + Number(p.owner) + ", group " + Number(p.group) +
               "; this user can't give a new file that owner, and its owner is never changed" +
               unwritten;
    case K::InterruptedSwapLeft:
        return file + "an undo was interrupted and left " + p.third + ", and it can't tell from " +
               p.path + " and " + p.other +
               " where that image belongs: look at the three, keep the one you want as " + p.path +
               " and remove " + p.third + untouched;
    case K::IntermediateNotRegular:
        return file + p.third + " is " + FileKind(p.mode) + ", not an image an undo left" +
               untouched;
    case K::QuoteOpen:
        return "the command line \"" + p.text + "\" leaves a quote open";
    case K::EmptyCommandLine:
        return "the command line is empty";
    case K::OtherContent:
        return file + HoldsOtherData() + unwritten;
    case K::InUse:
        return file + "in use by another program" + unwritten;
    case K::KeepsBeingReplaced:
        return file + "in use by another program (it keeps being replaced)" + unwritten;
    }
    return file + "refused";
}

} // namespace

std::string FileProblemText(const FileProblem& problem) {
    return Text(problem);
}

} // namespace drovak
