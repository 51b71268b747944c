#include "rom/DataFile.h"

#include "base/Errors.h"
#include "base/FolderFiles.h"
#include "base/WholeFile.h"
#include "compression/Lzh.h"
#include "rom/RomProblem.h"

namespace drovak {

namespace {

std::string DataLimitText() {
    return "the " + std::to_string(MAX_DECODED_SIZE) + " a compressed block may hold";
}

} // namespace

std::vector<uint8_t> ReadDataFile(const std::string& path) {
    return ReadWholeFile(path, MAX_DECODED_SIZE, DataLimitText());
}

std::vector<uint8_t> ReadDataFileInFolder(const std::string& folder, const std::string& name) {
    return ReadFileInsideFolder(folder, name, MAX_DECODED_SIZE, DataLimitText());
}

void CheckDataSize(const std::string& romName, uint64_t size) {
    if (size > MAX_DECODED_SIZE) {
        RomProblem problem{RomProblemKind::DataOverLimit, romName};
        problem.size = size;
        problem.value = MAX_DECODED_SIZE;
        ThrowRomProblem(problem);
    }
}

} // namespace drovak
