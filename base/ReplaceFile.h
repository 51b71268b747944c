#pragma once

#include "base/Stream.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace drovak {

// Writes a whole file without ever leaving it half-written: write() fills a new temporary file
// beside path, which is flushed to storage and then renamed over path. When anything fails the
// temporary file is removed, an existing file at path is left as it was, and FileError names
// path. Every data file and picture the program writes goes through here.
void WriteFileReplacing(const std::string& path, const std::function<void(Stream&)>& write);

// The same with the bytes as the file's whole content.
void WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes);

// The same with the stream's whole content (position 0 to the end); the stream's own position
// is left as it was.
void SaveStreamToFile(Stream& stream, const std::string& path);

} // namespace drovak
