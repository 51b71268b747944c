#include "rom/DataFile.h"

#include "base/WholeFile.h"
#include "compression/Lzh.h"

namespace drovak {

std::vector<uint8_t> ReadDataFile(const std::string& path) {
    return ReadWholeFile(path, MAX_DECODED_SIZE,
                         "the " + std::to_string(MAX_DECODED_SIZE) +
                             " a compressed block may hold");
}

} // namespace drovak
