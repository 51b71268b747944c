#include "compression/MaskedTileEncoder.h"

#include <array>
#include <cstddef>

namespace drovak {

namespace {

constexpr size_t TILE_BYTES = 32;
constexpr uint8_t END_MARKER = 0x80;
// A mask entry costs 5 bytes; it pays for itself from 6 bytes of the same value.
constexpr unsigned MASK_ENTRY_BYTES = 5;

void EncodeTile(const std::array<uint8_t, TILE_BYTES>& tile, std::vector<uint8_t>& out) {
    std::array<unsigned, 256> counts{};
    for (uint8_t byte : tile) ++counts[byte];

    // Entries in the order the values first appear in the tile.
    std::vector<std::pair<uint8_t, uint32_t>> entries;
    std::array<bool, 256> masked{};
    for (size_t k = 0; k < TILE_BYTES; ++k) {
        uint8_t value = tile[k];
        if (counts[value] <= MASK_ENTRY_BYTES) continue;
        if (!masked[value]) {
            masked[value] = true;
            entries.emplace_back(value, 0);
        }
        for (auto& entry : entries) {
            if (entry.first == value) entry.second |= 0x80000000u >> k;
        }
    }

    out.push_back(uint8_t(entries.size()));
    for (const auto& [value, mask] : entries) {
        out.push_back(value);
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(mask >> shift));
    }
    for (uint8_t byte : tile) {
        if (!masked[byte]) out.push_back(byte);
    }
}

} // namespace

std::vector<uint8_t> MaskedTileEncode(std::span<const uint8_t> data) {
    std::vector<uint8_t> out;
    for (size_t start = 0; start < data.size(); start += TILE_BYTES) {
        std::array<uint8_t, TILE_BYTES> tile{};
        for (size_t k = 0; k < TILE_BYTES && start + k < data.size(); ++k) {
            tile[k] = data[start + k];
        }
        EncodeTile(tile, out);
    }
    out.push_back(END_MARKER);
    return out;
}

} // namespace drovak
