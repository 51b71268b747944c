#include "rom/RomFile.h"

#include "base/Errors.h"
#include "base/Paths.h"

namespace drovak {

std::unique_ptr<FileStream> OpenRomRead(const std::string& path) {
    return std::make_unique<FileStream>(path, FileMode::Read);
}

void CheckRomSize(const std::string& name, uint64_t size) {
    if (size > MAX_ROM_SIZE) {
        throw RefusedError(name + ": " + std::to_string(size) +
                           " bytes are more than a ROM image " + "may hold (" +
                           std::to_string(MAX_ROM_SIZE) + "); nothing was written");
    }
}

std::vector<uint8_t> ReadRomContent(FileStream& rom) {
    CheckRomSize(rom.Name(), rom.Size());
    std::vector<uint8_t> bytes(size_t(rom.Size()));
    rom.Seek(0, SeekOrigin::Begin);
    rom.ReadExact(bytes.data(), bytes.size());
    return bytes;
}

std::vector<uint8_t> ReadRest(Stream& rom, uint64_t at) {
    std::vector<uint8_t> bytes(size_t(rom.Size() > at ? rom.Size() - at : 0));
    rom.Seek(int64_t(at), SeekOrigin::Begin);
    size_t got = 0;
    while (got < bytes.size()) {
        const size_t n = rom.Read(bytes.data() + got, bytes.size() - got);
        if (n == 0) break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

RomBytes ReadRom(const std::string& path) {
    return {path, ReadRomContent(*OpenRomRead(path))};
}

void RefuseWritingOverRom(const std::string& outPath, const std::string& romPath) {
    if (SameFile(outPath, romPath)) {
        throw RefusedError(outPath + ": is the ROM image " + romPath +
                           " itself; a decompress never writes over its ROM; nothing was written");
    }
}

} // namespace drovak
