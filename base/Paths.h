#pragma once

#include <string>

namespace drovak {

// Whether a regular file exists at the path (a folder does not count).
bool FileExists(const std::string& path);

// The folder part of a path: everything up to and including its last "\", "/" or ":"; empty
// when it has none.
std::string FolderPart(const std::string& path);

} // namespace drovak
