#include "base/SwapFiles.h"

#include "base/Errors.h"
#include "base/FileHandle.h"
#include "base/TemporaryFiles.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace drovak {

namespace {

bool Renamed(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

// Errors that say the file system has no such operation (rather than that it failed).
bool NotOffered(int error) {
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP ||
           error == EPERM;
}

std::string LeftMessage(const std::string& first, const std::string& second,
                        const std::string& held) {
    return first + ": an undo was interrupted and left " + held + ", and it can't tell from " +
           first + " and " + second +
           " where that image belongs: look at the three, keep the one you want as " + first +
           " and remove " + held + "; nothing was changed";
}

} // namespace

std::string SwapIntermediate(const std::string& second) {
    return second + ".swap";
}

void SwapFiles(const std::string& first, const std::string& second,
               const FileSystemPolicy& fileSystem) {
    const std::string notSwapped = first + ": nothing was changed: cannot swap it with " + second;
    const std::string held = SwapIntermediate(second);
    if (!fileSystem.Exchange(first, second)) {
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP && errno != EOPNOTSUPP) {
            throw FileError(notSwapped + ": " + SystemReason());
        }
        FileInfo left;
        if (StatLink(held, left)) throw RefusedError(LeftMessage(first, second, held));
        // First's file gets the intermediate name, second's file takes first's place, and
        // first's file then second's. With a link, first's name is never missing.
        const bool linked = fileSystem.MakeHardLink(first, held);
        if (!linked && (!NotOffered(errno) || !Renamed(first, held))) {
            throw FileError(notSwapped + ": " + SystemReason());
        }
        if (!Renamed(second, first)) {
            const std::string reason = SystemReason();
            const bool back = linked ? ::unlink(held.c_str()) == 0 : Renamed(held, first);
            if (!back) {
                throw FileError(first + ": cannot swap it with " + second + " (" + reason +
                                "), nor put it back: it is " + held);
            }
            throw FileError(notSwapped + ": " + reason);
        }
        if (!Renamed(held, second)) {
            throw FileError(first + ": now holds what " + second + " held, but the old " + first +
                            " could not be named " + second + " (" + SystemReason() + "); it is " +
                            held);
        }
    }
    std::string reason;
    if (!SyncFolder(FolderOf(first), reason)) {
        throw FileError(first + ": swapped with " + second +
                        ", but the folder could not be synced to storage: " + reason);
    }
}

InterruptedSwap FinishInterruptedSwap(const std::string& first, const std::string& second) {
    const std::string held = SwapIntermediate(second);
    FileInfo intermediate, firstInfo, secondInfo;
    if (!StatLink(held, intermediate)) return InterruptedSwap::None;
    if (!intermediate.IsRegular()) {
        throw RefusedError(first + ": " + held + " is " + FileKind(intermediate.mode) +
                           ", not an image an undo left; nothing was changed");
    }
    // A run that is still swapping holds the intermediate's file locked.
    FileHandle holder = FileHandle::OpenLocked(held, true);
    const bool hasFirst = StatLink(first, firstInfo), hasSecond = StatLink(second, secondInfo);
    InterruptedSwap done = InterruptedSwap::None;
    if (!hasFirst && hasSecond) {
        if (Renamed(second, first) && Renamed(held, second)) done = InterruptedSwap::Finished;
    } else if (hasFirst && !hasSecond) {
        if (Renamed(held, second)) done = InterruptedSwap::Finished;
    } else if (hasFirst && firstInfo.SameFileAs(intermediate)) {
        if (::unlink(held.c_str()) == 0) done = InterruptedSwap::RolledBack;
    } else {
        throw RefusedError(LeftMessage(first, second, held));
    }
    if (done == InterruptedSwap::None) {
        throw FileError(first + ": an undo was interrupted and left " + held +
                        ", which can't be put in its place: " + SystemReason());
    }
    std::string reason;
    SyncFolder(FolderOf(first), reason);
    return done;
}

} // namespace drovak
