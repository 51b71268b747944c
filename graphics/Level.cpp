#include "graphics/Level.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "compression/Lzh.h"
#include "graphics/GraphicsProblem.h"
#include "graphics/PlaneRenderer.h"
#include "rom/LevelLayout.h"
#include "rom/PointerTable.h"
#include "rom/RomFile.h"
#include "rom/RomLayout.h"

#include <cstdio>

namespace drovak {

namespace {

std::vector<uint8_t> DecodeTableEntry(std::span<const uint8_t> rom, const std::string& name,
                                      unsigned index) {
    ViewStream table(rom, name);
    TableEntry entry = ReadTableEntry(table, POINTER_TABLE_OFFSET, index);
    uint32_t start = POINTER_TABLE_OFFSET + entry.DataOffset;
    if (entry.DecodedSize != 0 && start >= rom.size()) {
        GraphicsProblem problem{GraphicsProblemKind::LevelDataPastEnd, name, index};
        problem.at = start;
        problem.end = rom.size();
        ThrowGraphicsProblem(std::move(problem));
    }
    // A damaged entry's stream may run on past its packed size: it is read as far as it goes.
    return LzhDecode(rom.subspan(std::min<size_t>(start, rom.size())), entry.DecodedSize, name)
        .bytes;
}

void CheckLevel(unsigned level) {
    if (level >= LEVEL_COUNT) {
        ThrowGraphicsProblem({GraphicsProblemKind::NoSuchLevel, "", level, LEVEL_COUNT});
    }
}

} // namespace

LevelData DecodeLevel(std::span<const uint8_t> rom, const std::string& name, unsigned level) {
    CheckLevel(level);
    LevelData data;
    data.blockData = DecodeTableEntry(rom, name, BlockDataEntry(level));
    data.tileArt = DecodeTableEntry(rom, name, TileArtEntry(level));
    data.palette = PaletteAt(rom, LevelPaletteOffset(level));
    return data;
}

LevelData DecodeLevel(Stream& rom, unsigned level) {
    CheckLevel(level);
    return DecodeLevel(ReadRest(rom, 0), rom.Name(), level);
}

LevelData DecodeLevel(const std::string& romPath, unsigned level) {
    CheckLevel(level);
    return DecodeLevel(*OpenRomRead(romPath), level);
}

TilePlane BuildLevelPlane(const LevelData& level, bool planeB, unsigned firstColumn,
                          unsigned columns) {
    const std::vector<uint8_t>& data = level.blockData;
    const size_t definitions = planeB ? PLANE_B_DEFINITIONS : PLANE_A_DEFINITIONS;
    const unsigned blockRows = planeB ? PLANE_B_BLOCK_ROWS : PLANE_A_BLOCK_ROWS;
    // The layout is stored column by column, each column top to bottom.
    size_t layout = (planeB ? PLANE_B_LAYOUT : PLANE_A_LAYOUT) + size_t(blockRows) * firstColumn;

    TilePlane plane;
    plane.width = BLOCK_TILES * columns;
    plane.height = LEVEL_PLANE_ROWS;
    plane.cells.resize(size_t(plane.width) * plane.height);
    for (unsigned column = 0; column < columns; ++column) {
        for (unsigned blockRow = 0; blockRow < blockRows; ++blockRow, ++layout) {
            // Layout bytes past the decoded data leave their cells tile 0. Where a layout byte
            // is there, so is every block definition: they all lie before the layouts.
            if (layout >= data.size()) continue;
            size_t definition = definitions + BLOCK_DEFINITION_BYTES * data[layout];
            for (unsigned k = 0; k < BLOCK_TILES; ++k) {
                for (unsigned j = 0; j < BLOCK_TILES; ++j) {
                    size_t at = definition + 2 * (BLOCK_TILES * k + j);
                    const uint16_t word = LoadBigEndian16(data.data() + at) & LEVEL_NAME_MASK;
                    const size_t cell =
                        size_t(BLOCK_TILES * blockRow + k) * plane.width + BLOCK_TILES * column + j;
                    plane.cells[cell] = PlaneCell::FromNameWord(word);
                }
            }
        }
    }
    return plane;
}

std::vector<uint8_t> BuildLevelNameTable(const LevelData& level, bool planeB,
                                         unsigned firstColumn) {
    const TilePlane plane = BuildLevelPlane(level, planeB, firstColumn, BLOCK_COLUMNS_SHOWN);
    std::vector<uint8_t> nameTable(2 * plane.cells.size());
    for (size_t i = 0; i < plane.cells.size(); ++i)
        StoreBigEndian16(nameTable.data() + 2 * i, plane.cells[i].NameWord());
    return nameTable;
}

PreviewImage AssembleLevel(const LevelData& level, bool planeB, unsigned firstColumn) {
    const TilePlane plane = BuildLevelPlane(level, planeB, firstColumn, BLOCK_COLUMNS_SHOWN);
    return PlaneRenderer(plane, level.tileArt, level.palette)
        .Picture({0, 0, 8 * plane.width, 8 * plane.height});
}

PreviewImage AssembleLevelScreen(const LevelData& level, bool planeB, unsigned screen) {
    return AssembleLevel(level, planeB, BLOCK_COLUMNS_SHOWN * screen);
}

std::string LevelListItem(unsigned level) {
    char text[32];
    std::snprintf(text, sizeof text, "LEVEL %02u", level + 1);
    return text;
}

std::string DefaultLevelPngName(unsigned level, bool planeB) {
    char text[48];
    std::snprintf(text, sizeof text, "Level_%02u_Plane%c.png", level + 1, planeB ? 'B' : 'A');
    return text;
}

} // namespace drovak
