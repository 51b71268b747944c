#pragma once

// Why a file (or a folder, or a program) was not opened, read, written, replaced, swapped or
// started, as data: what kind of problem, the names involved and the numbers. The words for the
// user are in words/ (FileProblemText).

#include "base/Errors.h"
#include "base/SizeLimit.h"

#include <cstdint>
#include <exception>
#include <string>

namespace drovak {

enum class FileProblemKind {
    // FileError kinds:
    NoFileName,             // an empty name
    CannotOpen,             // `path` not opened (`flag`: for writing), `error`
    CannotStat,             // `path` opened, but not examined, `error`
    CannotOpenToChange,     // `path` not opened for writing to change it, `error`
    NotRegularToWrite,      // `path` is of `mode`: nothing is written to it
    CannotRead,             // `path`, `error`
    CannotReadAt,           // `path` at byte `at`, `error`
    CannotWriteAt,          // `path` at byte `at`, `error`
    CannotSync,             // `path` not flushed to storage, `error`
    TooShort,               // `path`: `count` bytes needed at `at`, the data ends at `end`
    ReadOnlyView,           // `path` is a stream that is never written
    NoReader,               // `path` (a FIFO) has no reader
    CannotOpenThrough,      // `path` (a FIFO or device) not opened, `error`
    CannotWriteThrough,     // `path`: `count` of `total` bytes written, `error`
    CannotCreateTemporary,  // no temporary file beside `path`, `error`
    CannotCheckNewFile,     // the new file of `path` not examined, `error`
    CannotGiveMode,         // the new file of `path` not given its mode, `error`
    CannotGiveAttribute,    // the new file of `path` not given attribute `text`, `error`
    CannotRename,           // the new file not renamed over the old, `error`
    NothingWritten,         // `path`: nothing was written, because of `cause`
    OtherAtTarget,          // `path`'s `other` holds what `found` says after the rename (`third`:
                            // where the old image is kept, if any)
    BackupNotNamed,         // `path` written, the old image not named `other` (`error`), kept
                            // as `third`
    FolderNotSynced,        // `path` written (the old one kept as `other`, if any), its folder
                            // not synced, `error`
    CannotSwap,             // `path` not swapped with `other`, `error`
    SwapNotPutBack,         // `path` not swapped with `other` (`error`), left as `third`
    SwapHalfDone,           // `path` holds `other`'s image, its old one left as `third`, `error`
    SwapNotSynced,          // `path` swapped with `other`, the folder not synced, `error`
    InterruptedNotRestored, // `path`: an interrupted undo left `third`, not put back, `error`
    CannotMakeFolder,       // `path`, `error` (0: something else is there)
    CannotReadFolder,       // `path`, `error`
    CannotWatch,            // `path`, `error`
    WatchFailed,            // waiting for saves failed, `error`
    NoSuchProgram,          // `path` is not found on PATH
    CannotStart,            // `path` not started, `error`
    // RefusedError kinds:
    NotRegular,             // `path` is of `mode`: nothing is read or written
    ReadOnlyMode,           // `path`: its mode lets no one write it
    ReadOnlyForUser,        // `path`: this user may not write it
    ReadOnlyFileSystem,     // `path`: its file system is mounted read-only
    NothingToReadNow,       // `path` of `mode` has nothing to read now
    TooLarge,               // `path` of `count` bytes, more than the `total` its `limit` allows
    MoreBytesThan,          // `path` gave more bytes than the `total` its `limit` allows
    NotRegularInFolder,     // `path` is of `mode`; only regular files inside `other` are read
    LeadsOutside,           // `path` leads to `text`, outside folder `other`
    TemporaryReplaced,      // `path`'s temporary file `other` was replaced meanwhile
    ReplacedMeanwhile,      // `path` was replaced by another program meanwhile
    OwnerNotKept,           // `path` owned by user `owner`, group `group`: no new file gets them
    InterruptedSwapLeft,    // `path` and `other`: an interrupted undo left `third`, place unknown
    IntermediateNotRegular, // `path`: `third` is of `mode`, not an image an undo left
    QuoteOpen,              // the command line `text` leaves a quote open
    EmptyCommandLine,       // the command line holds no word
    // OtherContentError kind:
    OtherContent, // `path` exists and holds other data
    // InUseError kinds:
    InUse,              // `path` is locked by another program
    KeepsBeingReplaced, // `path` names another file each time it is opened
};

struct FileProblem {
    FileProblemKind kind = FileProblemKind::NoFileName;
    std::string path{};  // the file's name as given
    std::string other{}; // a second name
    std::string third{}; // a third name
    std::string text{};  // an attribute's name, a path found, a command line
    int error = 0;       // the errno value the system gave
    uint64_t count = 0;
    uint64_t total = 0;
    uint64_t at = 0;
    uint64_t end = 0;
    uint32_t mode = 0; // a file's type and mode (st_mode)
    uint32_t owner = 0;
    uint32_t group = 0;
    uint64_t links = 0; // the found file's number of names
    SizeLimit limit = SizeLimit::None;
    bool flag = false;
    std::exception_ptr cause{}; // the error this one wraps
};

using FileProblemCarrier = ProblemCarrier<FileProblem>;

// what() names only the file and the kind's number: it is not for the user.
class FileFailure : public FileError, public FileProblemCarrier {
public:
    explicit FileFailure(FileProblem problem);
};

class FileRefusal : public RefusedError, public FileProblemCarrier {
public:
    explicit FileRefusal(FileProblem problem);
};

class FileOtherContent : public OtherContentError, public FileProblemCarrier {
public:
    explicit FileOtherContent(FileProblem problem);
};

class FileInUse : public InUseError, public FileProblemCarrier {
public:
    explicit FileInUse(FileProblem problem);
};

// Throws FileFailure, FileRefusal, FileOtherContent or FileInUse, as the kind is.
[[noreturn]] void ThrowFileProblem(FileProblem problem);

// Shorthands for the common shapes.
[[noreturn]] void ThrowFileProblem(FileProblemKind kind, const std::string& path, int error = 0);

// The problem an exception carries, or nothing.
const FileProblem* FileProblemOf(const std::exception& error);

} // namespace drovak
