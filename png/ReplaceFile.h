#pragma once

#include "compression/Stream.h"

#include <functional>
#include <string>

namespace drovak {

// Writes a whole file without ever leaving it half-written: write() fills a new temporary file
// beside path, which is flushed to storage and then renamed over path. When anything fails the
// temporary file is removed, an existing file at path is left as it was, and FileError names
// path.
void WriteFileReplacing(const std::string& path, const std::function<void(Stream&)>& write);

} // namespace drovak
