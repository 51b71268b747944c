#pragma once

#include "base/SizeLimit.h"

#include <cstdint>
#include <string>
#include <vector>

namespace drovak {

// The files of a folder that others may have prepared (a mod folder downloaded and unzipped):
// nothing is read from outside it and nothing is written through a link in it.

// The folder's real path (links resolved), or the path as given when it can't be resolved.
std::string RealFolderPath(const std::string& folder);

// Whether `path` (which need not exist yet; links in it followed) lies inside `folder` or is it.
bool LiesInside(const std::string& folder, const std::string& path);

// Reads the file NAME of a folder whole: a regular file that lies inside the folder (a link
// whose target does too is fine), checked on the file as opened, under a shared lock. Anything
// else (a link leading out, a FIFO, a device, a folder) is refused (RefusedError naming it and
// where it leads); FileError when it can't be read; more than maxSize bytes refused as
// ReadWholeFile refuses them.
std::vector<uint8_t> ReadFileInsideFolder(const std::string& folder, const std::string& name,
                                          uint64_t maxSize, SizeLimit limit);

// Creates or replaces the file NAME of a folder whole, through a new temporary file renamed
// over the name itself: a link or anything else planted at the name is replaced, never written
// through (base/ReplaceFile.h).
void WriteFileInFolder(const std::string& folder, const std::string& name,
                       const std::vector<uint8_t>& bytes);

} // namespace drovak
