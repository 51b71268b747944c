#include "base/WholeFile.h"

#include "base/Errors.h"
#include "base/Stream.h"

namespace drovak {

std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxSize,
                                   const std::string& limitText) {
    FileStream file(path, FileMode::Read);
    if (file.Size() > maxSize) {
        throw RefusedError(path + ": " + std::to_string(file.Size()) + " bytes are more than " +
                           limitText);
    }
    std::vector<uint8_t> data(size_t(file.Size()));
    file.ReadExact(data.data(), data.size());
    return data;
}

} // namespace drovak
