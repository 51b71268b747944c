#include "base/SwapFiles.h"

#include "base/FileHandle.h"
#include "base/FileProblem.h"
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

[[noreturn]] void ThrowSwapProblem(FileProblemKind kind, const std::string& first,
                                   const std::string& second, int error = 0) {
    ThrowFileProblem({.kind = kind,
                      .path = first,
                      .other = second,
                      .third = SwapIntermediate(second),
                      .error = error});
}

} // namespace

std::string SwapIntermediate(const std::string& second) {
    return second + ".swap";
}

void SwapFiles(const std::string& first, const std::string& second,
               const FileSystemPolicy& fileSystem) {
    using K = FileProblemKind;
    const std::string held = SwapIntermediate(second);
    if (!fileSystem.Exchange(first, second)) {
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP && errno != EOPNOTSUPP) {
            ThrowSwapProblem(K::CannotSwap, first, second, errno);
        }
        FileInfo left;
        if (StatLink(held, left)) ThrowSwapProblem(K::InterruptedSwapLeft, first, second);
        // First's file gets the intermediate name, second's file takes first's place, and
        // first's file then second's. With a link, first's name is never missing.
        const bool linked = fileSystem.MakeHardLink(first, held);
        if (!linked && (!NotOffered(errno) || !Renamed(first, held))) {
            ThrowSwapProblem(K::CannotSwap, first, second, errno);
        }
        if (!Renamed(second, first)) {
            const int error = errno;
            const bool back = linked ? ::unlink(held.c_str()) == 0 : Renamed(held, first);
            ThrowSwapProblem(back ? K::CannotSwap : K::SwapNotPutBack, first, second, error);
        }
        if (!Renamed(held, second)) ThrowSwapProblem(K::SwapHalfDone, first, second, errno);
    }
    int error = 0;
    if (!SyncFolder(FolderOf(first), error)) {
        ThrowSwapProblem(K::SwapNotSynced, first, second, error);
    }
}

InterruptedSwap FinishInterruptedSwap(const std::string& first, const std::string& second) {
    const std::string held = SwapIntermediate(second);
    FileInfo intermediate, firstInfo, secondInfo;
    if (!StatLink(held, intermediate)) return InterruptedSwap::None;
    if (!intermediate.IsRegular()) {
        ThrowFileProblem({.kind = FileProblemKind::IntermediateNotRegular,
                          .path = first,
                          .other = second,
                          .third = held,
                          .mode = intermediate.mode});
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
        ThrowSwapProblem(FileProblemKind::InterruptedSwapLeft, first, second);
    }
    if (done == InterruptedSwap::None) {
        ThrowSwapProblem(FileProblemKind::InterruptedNotRestored, first, second, errno);
    }
    int error = 0;
    SyncFolder(FolderOf(first), error);
    return done;
}

} // namespace drovak
