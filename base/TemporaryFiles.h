#pragma once

#include "base/FileHandle.h"
#include "base/FileSystem.h"

#include <functional>
#include <string>

namespace drovak {

// A file is replaced through a temporary file beside it, named ".NAME.drovak-PID-N.tmp" (PID the
// writing process, N a counter): a run that is killed leaves one behind, and a later run that
// replaces NAME removes it once it is stale (RemoveStaleTemporaries).

// The folder of a path, for file-system calls ("." when the path names none).
std::string FolderOf(const std::string& path);

// The file a replacement of `path` writes: a symbolic link's target (links followed to the end;
// the target may not exist yet), else the path itself.
std::string ReplacementTarget(const std::string& path);

// A temporary name beside `path` that no file has yet (not created).
std::string TemporaryNameBeside(const std::string& path);

// A new temporary file, open: everything is written, moded, owned and synced through `file`,
// never through its name, which only serves the final rename.
struct TemporaryFile {
    std::string path;
    FileHandle file;
};

// Whether `path` still names the file `info` describes, itself and not a link to it (no one has
// put another file or a link at the name).
bool StillNames(const std::string& path, const FileInfo& info);

// Creates a new, empty temporary file beside `path`: exclusively, without following a link at
// its name, mode 0600, locked; then tells `fileSystem` of it. FileError naming `path` when the
// folder takes no new file.
TemporaryFile CreateTemporaryBeside(const std::string& path,
                                    const FileSystemPolicy& fileSystem = RealFileSystem());

// Whether a file name follows the temporary pattern; its process id then goes to `pid`, and
// the name it stands beside to `stem` when given.
bool IsTemporaryName(const std::string& name, long& pid, std::string* stem = nullptr);

// How old a temporary file must be before a later run takes it for stale.
constexpr int STALE_TEMPORARY_SECONDS = 5 * 60;

// Removes the stale temporary files of the file at `path` (and of its backup, PATH.bak) from
// its folder: those whose name stands beside exactly that name, owned by this user, whose
// process has ended, that no program holds locked and that were last changed more than
// STALE_TEMPORARY_SECONDS ago. Anything else that merely looks like one is left alone.
void RemoveStaleTemporaries(const std::string& path);

// Flushes a folder's entries (renames, new names) to storage; false, with the errno value in
// `error`, when the sync itself fails.
bool SyncFolder(const std::string& folder, int& error);

} // namespace drovak
