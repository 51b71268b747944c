#include "rom/RomFile.h"

#include "base/Paths.h"
#include "rom/RomProblem.h"

namespace drovak {

std::unique_ptr<FileStream> OpenRomRead(const std::string& path) {
    return std::make_unique<FileStream>(path, FileMode::Read);
}

void CheckRomSize(const std::string& name, uint64_t size) {
    if (size > MAX_ROM_SIZE) {
        RomProblem problem{RomProblemKind::RomOverLimit, name};
        problem.size = size;
        problem.value = MAX_ROM_SIZE;
        ThrowRomProblem(problem);
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
    bytes.resize(rom.Read(bytes.data(), bytes.size()));
    return bytes;
}

RomBytes ReadRom(const std::string& path) {
    return {path, ReadRomContent(*OpenRomRead(path))};
}

void RefuseWritingOverRom(const std::string& outPath, const std::string& romPath) {
    if (SameFile(outPath, romPath)) {
        RomProblem problem{RomProblemKind::OutputIsRom, outPath};
        problem.other = romPath;
        ThrowRomProblem(problem);
    }
}

} // namespace drovak
