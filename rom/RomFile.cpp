#include "rom/RomFile.h"

namespace drovak {

std::unique_ptr<FileStream> OpenRomRead(const std::string& path) {
    return std::make_unique<FileStream>(path, FileMode::Read);
}

std::unique_ptr<FileStream> OpenRomPatch(const std::string& path) {
    return std::make_unique<FileStream>(path, FileMode::Patch);
}

} // namespace drovak
