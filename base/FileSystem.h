#pragma once

#include <functional>
#include <string>

namespace drovak {

// What the file layer asks of the file system beyond reading and writing a file, as an object
// handed to each call that needs it: never a global, so that one thread's choice concerns only
// its own calls. RealFileSystem() makes the calls as they are; tests hand in one that plays a
// file system without some of them (FAT, exFAT) or another program acting at a given moment.
struct FileSystemPolicy {
    // The exchange of two names (renameat2 with RENAME_EXCHANGE) fails with EINVAL, as where the
    // file system offers none.
    bool withoutExchange = false;
    // Hard links (link(2)) fail with EPERM, as on FAT.
    bool withoutLinks = false;
    // Called with a temporary file's path right after it is created, before anything is
    // written to it.
    std::function<void(const std::string& temporary)> afterTemporaryCreated = {};

    // link(2), or false with errno EPERM under withoutLinks.
    bool MakeHardLink(const std::string& from, const std::string& to) const;
    // Swaps two names in one step, or false with errno set (EINVAL under withoutExchange).
    bool Exchange(const std::string& first, const std::string& second) const;
};

// The file system as it is: every call made, nothing played.
const FileSystemPolicy& RealFileSystem();

} // namespace drovak
