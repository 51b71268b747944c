#include "base/FolderWatch.h"

#include "base/FileProblem.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <map>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace drovak {

namespace {

constexpr uint32_t SAVES = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE;

sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

} // namespace

struct FolderWatch::Handles {
    int inotify = -1;
    int signals = -1;
    sigset_t previousMask{};
    std::map<int, std::string> folders; // by watch descriptor

    ~Handles() {
        if (inotify >= 0) close(inotify);
        if (signals >= 0) close(signals);
        sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    }
};

FolderWatch::FolderWatch(const std::string& folder) : handles_(new Handles) {
    Handles& h = *handles_;
    const sigset_t signals = StopSignals();
    sigprocmask(SIG_BLOCK, &signals, &h.previousMask);
    h.signals = signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
    h.inotify = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    const auto add = [&](const std::string& path) {
        const int watch = inotify_add_watch(h.inotify, path.c_str(),
                                            SAVES | IN_ONLYDIR | IN_DONT_FOLLOW | IN_EXCL_UNLINK);
        if (watch < 0) {
            ThrowFileProblem(FileProblemKind::CannotWatch, path, errno);
        }
        h.folders[watch] = path;
    };
    if (h.signals < 0 || h.inotify < 0) {
        ThrowFileProblem(FileProblemKind::CannotWatch, folder, errno);
    }
    add(folder);
    std::error_code error;
    // Links are not followed: only the folders that lie inside are watched.
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error)) add(it->path().string());
    }
}

FolderWatch::~FolderWatch() = default;

FolderWatch::Saves FolderWatch::Next(std::chrono::milliseconds settle, const Filter& counts) {
    Saves saves;
    pollfd waits[] = {{handles_->signals, POLLIN, 0}, {handles_->inotify, POLLIN, 0}};
    for (;;) {
        const int ready =
            poll(waits, std::size(waits), saves.paths.empty() ? -1 : int(settle.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) ThrowFileProblem(FileProblemKind::WatchFailed, "", errno);
        if (ready == 0) return saves; // settled
        if (waits[0].revents & POLLIN) {
            signalfd_siginfo info;
            while (read(handles_->signals, &info, sizeof info) == ssize_t(sizeof info)) {
            }
            saves.stopped = true;
            return saves;
        }
        alignas(inotify_event) char buffer[16 * 1024];
        ssize_t length;
        while ((length = read(handles_->inotify, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += ssize_t(sizeof(inotify_event) + event->len);
                const auto folder = handles_->folders.find(event->wd);
                if (event->len == 0 || folder == handles_->folders.end()) continue;
                const std::string name = event->name;
                if (!counts(folder->second, name)) continue;
                const std::string path = folder->second + "/" + name;
                if (std::find(saves.paths.begin(), saves.paths.end(), path) == saves.paths.end())
                    saves.paths.push_back(path);
            }
        }
    }
}

} // namespace drovak
