#include "rom/DataFile.h"

#include "compression/Errors.h"
#include "compression/Lzh.h"
#include "rom/RomFile.h"

namespace drovak {

std::vector<uint8_t> ReadDataFile(const std::string& path) {
    auto file = OpenRomRead(path);
    if (file->Size() > MAX_DECODED_SIZE) {
        throw RefusedError(path + ": " + std::to_string(file->Size()) +
                           " bytes are more than the " + std::to_string(MAX_DECODED_SIZE) +
                           " a compressed block may hold");
    }
    std::vector<uint8_t> data(size_t(file->Size()));
    file->ReadExact(data.data(), data.size());
    return data;
}

} // namespace drovak
