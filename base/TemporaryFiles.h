#pragma once

#include <string>

namespace drovak {

// A file is replaced through a temporary file beside it, named ".NAME.drovak-PID-N.tmp" (PID the
// writing process, N a counter): a run that is killed leaves one behind, and the next run that
// writes into the folder removes it once its process has gone.

// The folder of a path, for file-system calls ("." when the path names none).
std::string FolderOf(const std::string& path);

// The file a replacement of `path` writes: a symbolic link's target (links followed to the end;
// the target may not exist yet), else the path itself.
std::string ReplacementTarget(const std::string& path);

// A temporary name beside `path` that no file has yet (not created).
std::string TemporaryNameBeside(const std::string& path);

// Creates a new, empty temporary file beside `path` (exclusively) and returns its path.
// FileError naming `path` when the folder takes no new file.
std::string CreateTemporaryBeside(const std::string& path);

// Whether a file name follows the temporary pattern; its process id then goes to `pid`.
bool IsTemporaryName(const std::string& name, long& pid);

// Removes the regular files in `folder` that follow the temporary pattern and whose process has
// ended; returns how many.
int RemoveStaleTemporaries(const std::string& folder);

// Flushes a folder's entries (renames, new names) to storage; false, with the reason, when the
// sync itself fails.
bool SyncFolder(const std::string& folder, std::string& reason);

} // namespace drovak
