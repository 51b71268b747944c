#pragma once

#include "graphics/Level.h"

#include <cstdint>
#include <optional>
#include <string>

namespace drovak::app {

// The decoded level the viewer scrolls through. Decoding the block data and tile art is the
// slow part of drawing a view, so it is kept and done again only when the level, the ROM path
// or the ROM file itself (its size or modification time) changes.
class LevelViewCache {
public:
    // The level's data, decoded now or kept from before. Throws what DecodeLevel throws.
    const LevelData& Get(const std::string& romPath, unsigned level);
    // Forgets the kept level (after the window wrote into a ROM).
    void Clear() { kept_.reset(); }

private:
    struct Key {
        std::string romPath;
        unsigned level = 0;
        uintmax_t fileSize = 0;
        int64_t modified = 0;
        bool operator==(const Key&) const = default;
    };
    static std::optional<Key> KeyOf(const std::string& romPath, unsigned level);

    std::optional<Key> key_;
    std::optional<LevelData> kept_;
};

} // namespace drovak::app
