#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace drovak {

// Watches a folder (and the folders in it, as they are when the watch starts) for files saved:
// written and closed, moved or renamed in (an editor's save by rename), removed. While it lives
// the interrupt and terminate signals (Ctrl+C, kill) are held back from the program: they end a
// wait, never the work between two waits.
class FolderWatch {
public:
    // FileError when the folder can't be watched.
    explicit FolderWatch(const std::string& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Whether a save of the file `name` in `folder` counts.
    using Filter = std::function<bool(const std::string& folder, const std::string& name)>;

    struct Saves {
        bool stopped = false;           // a signal came: the watch should end
        std::vector<std::string> paths; // the files saved, each once, in the order first seen
    };

    // Waits for a save that counts, then until `settle` has passed without another (several
    // saves close together are one), and returns them; or returns `stopped` as soon as a signal
    // comes. Saves made since the last wait (during the work between) count.
    Saves Next(std::chrono::milliseconds settle, const Filter& counts);

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
};

} // namespace drovak
