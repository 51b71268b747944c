#include "app/LevelViewCache.h"

#include <filesystem>
#include <system_error>

namespace drovak::app {

std::optional<LevelViewCache::Key> LevelViewCache::KeyOf(const std::string& romPath,
                                                         unsigned level) {
    std::error_code error;
    const std::filesystem::path path(romPath);
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error) return std::nullopt;
    return Key{romPath, level, size, static_cast<int64_t>(modified.time_since_epoch().count())};
}

const LevelData& LevelViewCache::Get(const std::string& romPath, unsigned level) {
    std::optional<Key> key = KeyOf(romPath, level);
    if (!kept_ || !key || key != key_) {
        kept_.reset();
        // A file that can't be examined is decoded anyway, so that its error is reported.
        kept_ = DecodeLevel(romPath, level);
        key_ = key;
    }
    return *kept_;
}

} // namespace drovak::app
