#pragma once

#include "base/Stream.h"

#include <memory>
#include <string>

namespace drovak {

// An existing file, read-only (others may read it meanwhile). FileError when it can't be opened.
std::unique_ptr<FileStream> OpenRomRead(const std::string& path);
// Read and write in place without truncation; an empty file is created when none exists.
std::unique_ptr<FileStream> OpenRomPatch(const std::string& path);

} // namespace drovak
