#pragma once

// Why a picture was not drawn, read or written, as data: what kind of problem, in which file,
// and the numbers. The words for the user are in words/ (GraphicsProblemText); nothing was
// written when one is thrown.

#include "base/Errors.h"
#include "graphics/PaletteOrigin.h"

#include <cstdint>
#include <exception>
#include <string>

namespace drovak {

enum class GraphicsProblemKind {
    // FileError kinds:
    LevelDataPastEnd,   // level table entry `index`'s data would begin at `at`, past `end`
    PaletteLinePastEnd, // palette line `index` of the palette at `at` ends at `end`, past `size`
    NoPngName,          // no file name for the PNG picture
    // RefusedError kinds:
    NoSuchLevel,        // level `index` (from 0) of a game of `count`
    EmptyCell,          // cells of `width` x `height` tiles
    OverFrameBuffer,    // a picture of `width` x `height` pixels
    NoSuchPaletteLine,  // palette line `index`
    SheetColumns,       // `columns` cells (`cells`: or tiles) a row, over `limit`
    SheetCellSides,     // cells of `width` x `height` tiles, a side over `limit`
    SheetDataOverLimit, // `size` bytes of tile data, over `limit`
    SheetTooLarge,      // `count` cells at `columns` a row: `width` x `height` pixels, over
                        // `limit` a side or `size` in all; `fewest` a row would do
    EmptyPicture,       // the picture to write to `file` is empty
    RecordedCellBad,    // the picture records the cell `text`, not a cell of sides 1 to `limit`
    RecordedDataBad,    // the picture records the tile data `text`, not a length
    TooFewTiles,        // the picture holds `count` tiles, fewer than the `size` bytes to keep
                        // (`flag`: the length it records)
    NotWholeCells,      // a picture of `width` x `height` pixels, not whole cells of `columns` x
                        // `count` tiles
    ColourNotInPalette, // the colour `text` (empty: index `value`, beyond the picture's palette)
                        // at `x`, `y` is not in the palette `palette` (`flag`: the picture's
                        // colours decide, its palette not being that palette)
    IndexAboveTile,     // the palette index `value` at `x`, `y`, above what a tile holds
};

struct GraphicsProblem {
    GraphicsProblemKind kind = GraphicsProblemKind::NoPngName;
    std::string file{}; // the file's name as given, where there is one
    uint64_t index = 0;
    uint64_t count = 0;
    uint64_t at = 0;
    uint64_t end = 0;
    uint64_t size = 0;
    uint64_t limit = 0;
    uint64_t width = 0;
    uint64_t height = 0;
    uint64_t columns = 0;
    uint64_t fewest = 0;
    bool cells = false; // the sheet's units are cells, not single tiles
    uint64_t x = 0;
    uint64_t y = 0;
    uint64_t value = 0;
    std::string text{};
    PaletteSource palette{};
    bool flag = false;
};

// What both kinds of exception carry; find it with GraphicsProblemOf to word it.
using GraphicsProblemCarrier = ProblemCarrier<GraphicsProblem>;

// what() names only the file and the kind's number: it is not for the user.
class GraphicsFileProblem : public FileError, public GraphicsProblemCarrier {
public:
    explicit GraphicsFileProblem(GraphicsProblem problem);
};

class GraphicsRefusal : public RefusedError, public GraphicsProblemCarrier {
public:
    explicit GraphicsRefusal(GraphicsProblem problem);
};

// Throws GraphicsFileProblem or GraphicsRefusal, as the kind is.
[[noreturn]] void ThrowGraphicsProblem(GraphicsProblem problem);

// The problem an exception carries, or nothing.
const GraphicsProblem* GraphicsProblemOf(const std::exception& error);

} // namespace drovak
