#include "graphics/TilePlane.h"

#include "base/ByteOrder.h"

#include <algorithm>

namespace drovak {

PlaneCell PlaneCell::FromNameWord(uint16_t word) {
    PlaneCell cell;
    cell.tile = word & 0x07FF;
    cell.flipX = (word & 0x0800) != 0;
    cell.flipY = (word & 0x1000) != 0;
    cell.line = uint8_t((word >> 13) & 3);
    cell.priority = (word & 0x8000) != 0;
    return cell;
}

uint16_t PlaneCell::NameWord() const {
    return uint16_t((tile & 0x07FF) | (flipX ? 0x0800 : 0) | (flipY ? 0x1000 : 0) |
                    (line & 3) << 13 | (priority ? 0x8000 : 0));
}

TilePlane PlaneOfNameTable(std::span<const uint8_t> nameTable, uint32_t width, uint32_t height,
                           uint8_t cellWidth, uint8_t cellHeight) {
    TilePlane plane{width, height, cellWidth, cellHeight, {}};
    const size_t count = std::min<size_t>(nameTable.size() / 2, size_t(width) * height);
    plane.cells.reserve(count);
    for (size_t i = 0; i < count; ++i)
        plane.cells.push_back(PlaneCell::FromNameWord(LoadBigEndian16(nameTable.data() + 2 * i)));
    return plane;
}

} // namespace drovak
