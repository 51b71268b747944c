#pragma once

#include "compression/Stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace drovak {

// Hexadecimal field text to a number: an optional 0x/0X, then an optional "$", then hex digits
// up to the first non-digit; kept to 32 bits. Never fails ("" and "x10" give 0).
uint32_t ParseHex(std::string_view text);

// An existing file, read-only (others may read it meanwhile). FileError when it can't be opened.
std::unique_ptr<FileStream> OpenRomRead(const std::string& path);
// Read and write in place without truncation; an empty file is created when none exists.
std::unique_ptr<FileStream> OpenRomPatch(const std::string& path);
// Creates or truncates the file and writes the stream's whole content (position 0 to the end);
// the stream's own position is left as it was.
void SaveStreamToFile(Stream& stream, const std::string& path);
// Reads a whole (data) file; FileError when it can't be read. A file larger than maxSize is
// refused (RefusedError naming `limitText`, what the limit is) before anything is allocated.
std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxSize = UINT64_MAX,
                                   const std::string& limitText = {});

// Whether a regular file exists at the path (a folder does not count).
bool FileExists(const std::string& path);

// The folder part of a path: everything up to and including its last "\", "/" or ":"; empty
// when it has none.
std::string FolderPart(const std::string& path);

// Fixed ROM positions and defaults.
constexpr uint32_t DEFAULT_TABLE_OFFSET = 0x20000;
constexpr uint32_t DEFAULT_TABLE_INDEX = 0;
constexpr uint32_t DEFAULT_RLE_OFFSET = 0x48120;
constexpr uint32_t PREVIEW_PALETTE_OFFSET = 0x5A000;
constexpr const char* DEFAULT_ROM_NAME = "tf3.bin";

} // namespace drovak
