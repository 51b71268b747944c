#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace drovak {

// One cell of a plane: the tile it shows and how, as a Mega Drive name-table word places it.
struct PlaneCell {
    uint16_t tile = 0; // 0 to 2047
    uint8_t line = 0;  // palette line, 0 to 3
    bool flipX = false;
    bool flipY = false;
    bool priority = false;

    // Bits 0-10 the tile, 11 flipX, 12 flipY, 13-14 the line, 15 the priority.
    static PlaneCell FromNameWord(uint16_t word);
    uint16_t NameWord() const;
    bool operator==(const PlaneCell&) const = default;
};

// A grid of cells, built once and drawn any number of times, in any part (graphics/
// PlaneRenderer.h). Each cell is cellWidth x cellHeight tiles whose art is read from its tile's
// data on, row after row (one tile for the 1 x 1 cells of a name table). The cells are held row
// by row, `width` a row; where they end before width x height, the rest of the plane is blank.
struct TilePlane {
    uint32_t width = 0;  // in cells
    uint32_t height = 0; // in cells
    uint8_t cellWidth = 1;
    uint8_t cellHeight = 1;
    std::vector<PlaneCell> cells;
};

// The plane of a name table (big-endian words, one a cell, row by row) of width x height cells:
// a table that ends early (or on half a word) leaves the cells after its last whole word blank.
TilePlane PlaneOfNameTable(std::span<const uint8_t> nameTable, uint32_t width, uint32_t height,
                           uint8_t cellWidth = 1, uint8_t cellHeight = 1);

} // namespace drovak
