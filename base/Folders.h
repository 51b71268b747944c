#pragma once

#include <string>
#include <vector>

namespace drovak {

// Makes the folder when it is missing (its parent must exist); FileError naming it when that
// fails or something else is in its place.
void MakeFolder(const std::string& path);

// The names in a folder (not "." and ".."), sorted; FileError naming it when it can't be read.
std::vector<std::string> FolderEntries(const std::string& path);

// A file name inside a folder: "DIR/NAME" ("NAME" for an empty folder path).
std::string PathIn(const std::string& folder, const std::string& name);

// The path of `target` as seen from the folder `from`, both taken from the current folder when
// relative ("../tf3.bin"); the target's absolute path when no relative one leads there.
std::string RelativePathFrom(const std::string& from, const std::string& target);

} // namespace drovak
