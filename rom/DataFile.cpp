#include "rom/DataFile.h"

#include "base/Errors.h"
#include "base/FolderFiles.h"
#include "base/WholeFile.h"
#include "compression/Lzh.h"
#include "rom/RomProblem.h"

namespace drovak {

std::vector<uint8_t> ReadDataFile(const std::string& path) {
    return ReadWholeFile(path, MAX_DECODED_SIZE, SizeLimit::DataBlock);
}

std::vector<uint8_t> ReadDataFileInFolder(const std::string& folder, const std::string& name) {
    return ReadFileInsideFolder(folder, name, MAX_DECODED_SIZE, SizeLimit::DataBlock);
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
