#include "mod/PackDifferences.h"

#include "rom/LevelLayout.h"
#include "rom/LzhPage.h"
#include "rom/RlePage.h"
#include "rom/RomLayout.h"

#include <algorithm>

namespace drovak {

namespace {

constexpr size_t TILE_BYTES = 32;

// A part of the data counted in units of `size` bytes: [start, end) of both sides.
UnitDifferences Compare(DataUnit unit, std::span<const uint8_t> before,
                        std::span<const uint8_t> after, size_t start, size_t end, size_t size) {
    const auto part = [&](std::span<const uint8_t> data) {
        return data.size() <= start ? std::span<const uint8_t>{}
                                    : data.subspan(start, std::min(data.size(), end) - start);
    };
    const std::span<const uint8_t> old = part(before), now = part(after);
    UnitDifferences result{unit,
                           {},
                           uint32_t((old.size() + size - 1) / size),
                           uint32_t((now.size() + size - 1) / size)};
    for (uint32_t k = 0; k < std::min(result.before, result.after); ++k) {
        const size_t at = k * size;
        const auto a = old.subspan(at, std::min(size, old.size() - at));
        const auto b = now.subspan(at, std::min(size, now.size() - at));
        if (!std::equal(a.begin(), a.end(), b.begin(), b.end())) result.changed.push_back(k);
    }
    return result;
}

} // namespace

std::vector<UnitDifferences> DataDifferences(ModContent content, std::span<const uint8_t> before,
                                             std::span<const uint8_t> after) {
    std::vector<UnitDifferences> all;
    switch (content.kind) {
    case ModContentKind::TileArt:
    case ModContentKind::SpriteSheet:
    case ModContentKind::TitleArt:
        all.push_back(Compare(DataUnit::Tile, before, after, 0, SIZE_MAX, TILE_BYTES));
        break;
    case ModContentKind::LevelBlocks:
        all.push_back(Compare(DataUnit::PlaneABlock, before, after, PLANE_A_DEFINITIONS,
                              PLANE_B_DEFINITIONS, BLOCK_DEFINITION_BYTES));
        all.push_back(Compare(DataUnit::PlaneBBlock, before, after, PLANE_B_DEFINITIONS,
                              PLANE_A_LAYOUT, BLOCK_DEFINITION_BYTES));
        all.push_back(
            Compare(DataUnit::PlaneACell, before, after, PLANE_A_LAYOUT, PLANE_B_LAYOUT, 1));
        all.push_back(Compare(DataUnit::PlaneBCell, before, after, PLANE_B_LAYOUT,
                              PLANE_B_LAYOUT + LEVEL_BLOCK_COLUMNS * PLANE_B_BLOCK_ROWS, 1));
        // Anything past the layouts is counted in bytes.
        all.push_back(Compare(DataUnit::Byte, before, after,
                              PLANE_B_LAYOUT + LEVEL_BLOCK_COLUMNS * PLANE_B_BLOCK_ROWS, SIZE_MAX,
                              1));
        break;
    case ModContentKind::Data:
        all.push_back(Compare(DataUnit::Byte, before, after, 0, SIZE_MAX, 1));
        break;
    }
    std::erase_if(all, [](const UnitDifferences& units) {
        return units.changed.empty() && units.before == units.after;
    });
    return all;
}

std::vector<UnitDifferences> ChangeDifferences(const PackPlan& plan, const PackedChange& change) {
    const ModFile& file = change.file;
    const std::vector<uint8_t> before =
        file.kind == ModKind::LzhEntry
            ? LzhExtractEntry(plan.base, plan.manifest.table, file.index).data
            : RleExtractAt(plan.base, file.offset).data;
    return DataDifferences(ContentOf(file, plan.manifest.table), before, change.data);
}

} // namespace drovak
