#pragma once

#include <string>

namespace drovak {

// Whether a regular file exists at the path (a folder does not count).
bool FileExists(const std::string& path);

// The folder part of a path as typed: everything up to and including its last "\", "/" or
// ":"; empty when it has none. A rule for texts (the suggested data-file names keep a typed
// folder as it was typed), not for file-system calls, which go through std::filesystem.
std::string FolderPart(const std::string& path);

// The name of the file a path names: everything after its last "/" (a ":" or "\" is part of a
// name on this system).
std::string FileNamePart(const std::string& path);

// Whether two paths name one file (links and other paths to it included); false when either
// names nothing.
bool SameFile(const std::string& first, const std::string& second);

} // namespace drovak
