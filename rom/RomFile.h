#pragma once

#include "base/Stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace drovak {

// The largest ROM image the program reads or writes whole.
constexpr uint64_t MAX_ROM_SIZE = 64u << 20;

// A whole ROM image in memory, and the name its messages give it (the file's path).
struct RomBytes {
    std::string name;
    std::vector<uint8_t> bytes;
};

// An existing regular file, read-only, under a shared lock (others may read it meanwhile;
// InUseError while another program changes it). FileError when it can't be opened, RefusedError
// for a FIFO, device or folder.
std::unique_ptr<FileStream> OpenRomRead(const std::string& path);

// The whole ROM image at path, read under a shared lock; RefusedError beyond MAX_ROM_SIZE.
RomBytes ReadRom(const std::string& path);
// The whole content of an open ROM image; RefusedError beyond MAX_ROM_SIZE.
std::vector<uint8_t> ReadRomContent(FileStream& rom);

// The bytes of an open image from `at` to its end (none when `at` is at or past it); its
// position is left at the end.
std::vector<uint8_t> ReadRest(Stream& rom, uint64_t at);

// RefusedError naming the image when `size` bytes are more than a ROM image may hold.
void CheckRomSize(const std::string& name, uint64_t size);

// RefusedError when outPath names the ROM image itself (the same file, through a link or another
// path): a decompress never writes over its own ROM.
void RefuseWritingOverRom(const std::string& outPath, const std::string& romPath);

} // namespace drovak
