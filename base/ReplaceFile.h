#pragma once

#include "base/FileSystem.h"
#include "base/Stream.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace drovak {

struct ReplaceOptions {
    // The file as opened with FileMode::Replace by the caller, who read it: its lock is held
    // through the replacement, and the path must still name it at the rename. Null: an existing
    // regular file at the path is opened and locked here.
    FileStream* locked = nullptr;
    // The old file is kept as NAME.bak beside it (needs `locked`): a hard link of it (a copy
    // where no link can be made) under a temporary name, renamed over the previous backup only
    // once the new file is in place.
    bool keepBackup = false;
    // A link at the path is followed to its target, which is replaced. False: the name itself is
    // replaced, never written through whatever is there, and nothing of an old file is kept (a
    // file of a folder that others may have prepared: base/FolderFiles.h).
    bool followLink = true;
    // An existing file that holds other bytes than the new content is not replaced:
    // OtherContentError "PATH: already exists and holds other data" (nothing written; the caller
    // tells how to go ahead). One that holds the same bytes is no reason to refuse.
    bool keepOtherContent = false;
    // The calls the file system offers (null: the real file system's).
    const FileSystemPolicy* fileSystem = nullptr;
};

// The one routine through which every file the program writes is replaced whole, never
// half-written: write() fills a new temporary file beside the file (base/TemporaryFiles.h; its
// own stale ones are removed first) through the descriptor that created it, which is then given
// the old file's owner, mode and attributes (base/FileAttributes.h), synced to storage, renamed
// over it, and the folder synced. A file this user could not write in place is refused as
// read-only (RefusedError). A symbolic link stays
// a link: its target is replaced. An existing FIFO or character device is written through
// instead, never replaced; any other kind of file is not written (FileError). Returns the backup's
// path ("" when none was kept). Failures before the rename remove the temporary file and leave the
// old file as it was: a FileError or RefusedError whose message says "nothing was written". A
// failure after the rename is a FileError that says what happened: the name was found to name
// another file than the one written (another program put a link or a file there meanwhile: that
// is named, and the call never returns as if it had written), or the backup could not take its
// name (the old image is then kept as NAME.bak.kept-DATE, a name no run ever removes), or the
// folder's sync failed.
std::string ReplaceFile(const std::string& path, const std::function<void(Stream&)>& write,
                        const ReplaceOptions& options = {});

// ReplaceFile for data files and pictures: no backup.
void WriteFileReplacing(const std::string& path, const std::function<void(Stream&)>& write);
// The same with the bytes as the file's whole content.
void WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes,
                        const ReplaceOptions& options = {});
// The same with the stream's whole content (position 0 to the end); the stream's own position
// is left as it was.
void SaveStreamToFile(Stream& stream, const std::string& path);

} // namespace drovak
