#pragma once

#include "mod/Pack.h"

#include <cstdint>
#include <span>
#include <vector>

namespace drovak {

// The units an edit is counted in: the tiles of tile art (32 bytes each); the block
// definitions (32 bytes) and layout cells (a byte each, column by column) of each plane of a
// level's blocks; bytes for anything else.
enum class DataUnit { Tile, PlaneABlock, PlaneBBlock, PlaneACell, PlaneBCell, Byte };

struct UnitDifferences {
    DataUnit unit = DataUnit::Byte;
    std::vector<uint32_t> changed;  // the units that differ where both have them, in order
    uint32_t before = 0, after = 0; // how many units each holds
    bool operator==(const UnitDifferences&) const = default;
};

// The units of `before` and `after` (data that holds `content`) that differ, per kind of unit;
// kinds without a difference are left out.
std::vector<UnitDifferences> DataDifferences(ModContent content, std::span<const uint8_t> before,
                                             std::span<const uint8_t> after);

// The same for a change of a pack's plan: its data in the base against the data packed.
std::vector<UnitDifferences> ChangeDifferences(const PackPlan& plan, const PackedChange& change);

} // namespace drovak
