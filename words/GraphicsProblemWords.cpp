#include "words/GraphicsProblemWords.h"

#include "base/Errors.h"
#include "graphics/TileSheet.h"

namespace drovak {

namespace {

std::string Number(uint64_t value) {
    return std::to_string(value);
}

std::string Where(const GraphicsProblem& p) {
    return " at x " + Number(p.x) + ", y " + Number(p.y);
}

// "8 x 8 tiles", "cells of 1x4 tiles (8 x 32 pixels)"
std::string CellsText(uint64_t width, uint64_t height) {
    if (width == 1 && height == 1) return "8 x 8 tiles";
    return "cells of " + TileCellText({unsigned(width), unsigned(height)}) + " tiles (" +
           Number(8 * width) + " x " + Number(8 * height) + " pixels)";
}

std::string Text(const GraphicsProblem& p) {
    using K = GraphicsProblemKind;
    const std::string unit = p.cells ? " cells" : " tiles";
    switch (p.kind) {
    case K::LevelDataPastEnd:
        return p.file + ": the data of level table entry " + Number(p.index) + " would begin at " +
               HexText(p.at) + ", past the end of the file (" + HexText(p.end) + ")";
    case K::PaletteLinePastEnd:
        return p.file + ": too short: palette line " + Number(p.index) + " of the palette at " +
               HexText(p.at) + " ends at " + HexText(p.end) + ", the file ends at " +
               HexText(p.size);
    case K::NoPngName:
        return "No file name given for the PNG picture";
    case K::NoSuchLevel:
        return "There is no level " + Number(p.index + 1) + ": the game has " + Number(p.count);
    case K::EmptyCell:
        return "Cannot draw tiles in cells of " + Number(p.width) + " x " + Number(p.height) +
               " tiles";
    case K::OverFrameBuffer:
        return "A picture of " + Number(p.width) + " x " + Number(p.height) +
               " pixels is larger than the frame buffer";
    case K::NoSuchPaletteLine:
        return "palette line " + Number(p.index) + ": the lines are 0 to 3";
    case K::SheetColumns:
        return "a tile picture of " + Number(p.columns) + unit + " a row: it takes 1 to " +
               Number(p.limit);
    case K::SheetCellSides:
        return "a tile picture of cells of " +
               TileCellText({unsigned(p.width), unsigned(p.height)}) +
               " tiles: a cell's sides take 1 to " + Number(p.limit) + " tiles";
    case K::SheetDataOverLimit:
        return Number(p.size) + " bytes are more tile data than one picture holds (" +
               Number(p.limit) + ")";
    case K::SheetTooLarge:
        return Number(p.count) + unit + " at " + Number(p.columns) + " a row make a picture of " +
               Number(p.width) + " x " + Number(p.height) +
               " pixels, more than a picture may have (" + Number(p.limit) + " pixels a side, " +
               Number(p.size) + " in all); take at least " + Number(p.fewest) + unit + " a row";
    case K::EmptyPicture:
        return p.file + ": not written: the picture is empty";
    case K::RecordedCellBad:
        return p.file + ": the recorded tile cell \"" + p.text +
               "\" is not of the form \"1x4\" (1 to " + Number(p.limit) + " tiles a side)";
    case K::RecordedDataBad:
        return p.file + ": the recorded tile data \"" + p.text +
               "\" is not of the form \"2 tiles, 33 bytes\"";
    case K::TooFewTiles:
        return p.file + ": the picture holds " + Number(p.count) + " tiles, fewer than the " +
               Number(TileCount(p.size)) + " tiles (" + Number(p.size) + " bytes)" +
               (p.flag ? " it records" : " to keep");
    case K::NotWholeCells:
        return p.file + ": the picture is " + Number(p.width) + " x " + Number(p.height) +
               " pixels; a picture of " + CellsText(p.columns, p.count) +
               " has a width and a height that are multiples of " +
               (p.columns == p.count ? Number(8 * p.columns)
                                     : Number(8 * p.columns) + " and " + Number(8 * p.count));
    case K::ColourNotInPalette:
        return p.file + ": the colour " +
               (p.text.empty() ? "of palette index " + Number(p.value) : p.text) + Where(p) +
               " is not in " + PaletteText(p.palette) +
               (p.flag ? " (the picture's palette is not that line, so its colours decide)" : "");
    case K::IndexAboveTile:
        return p.file + ": the palette index " + Number(p.value) + Where(p) +
               " is above 15, the highest a tile holds";
    }
    return p.file + ": refused";
}

} // namespace

std::string GraphicsProblemText(const GraphicsProblem& problem) {
    return Text(problem);
}

std::string PaletteText(const PaletteSource& source) {
    if (!source) return "the grey ramp";
    return "palette line " + std::to_string(source->line) + " of the palette at " +
           HexText(source->offset) + " in " + source->rom;
}

std::string PaletteDecidedText(const std::string& name, const PaletteSource& palette) {
    return "The palette of " + name + " is not " + PaletteText(palette) +
           " in its order: each pixel took the value of its colour.";
}

} // namespace drovak
