#include "graphics/LevelExport.h"

#include "base/Errors.h"
#include "base/ReplaceFile.h"
#include "graphics/GraphicsProblem.h"
#include "graphics/Level.h"
#include "graphics/PlaneRenderer.h"
#include "png/PngRows.h"
#include "png/PngWriter.h"

#include <vector>

namespace drovak {

namespace {

void CheckPngPath(const std::string& pngPath) {
    if (pngPath.empty()) ThrowGraphicsProblem({GraphicsProblemKind::NoPngName});
}

} // namespace

void ExportLevelPng(const LevelData& level, bool planeB, const std::string& pngPath,
                    Progress& progress, unsigned threads, const ReplaceOptions& options) {
    CheckPngPath(pngPath);
    progress.ThrowIfCancelled();
    // The plane is built once; each row of the picture is drawn from it when the compressor
    // asks for it, so that only the rows in hand are ever held.
    const TilePlane plane = BuildLevelPlane(level, planeB);
    const PlaneRenderer renderer(plane, level.tileArt, level.palette);
    PngCompression compression;
    compression.level = 9;
    compression.filters = PngFilterSet::Empty;
    compression.threads = threads;
    ReplaceFile(
        pngPath,
        [&](Stream& file) {
            PngWriter png(file, {LEVEL_PNG_WIDTH, LEVEL_PNG_HEIGHT, PNG_COLOUR_RGB_ALPHA, 16});
            png.ImageData(
                [&renderer](uint32_t y, uint8_t* out) {
                    // Pure black is colour 0 at alpha 0 (transparent), any other colour is opaque.
                    std::vector<uint32_t> row(LEVEL_PNG_WIDTH);
                    renderer.Draw({0, y, LEVEL_PNG_WIDTH, 1}, row.data(), LEVEL_PNG_WIDTH);
                    for (uint32_t& pixel : row)
                        pixel = pixel == 0 ? 0 : (pixel & 0xFFFFFF) | 0xFF000000u;
                    PackPngRow(row.data(), LEVEL_PNG_WIDTH, PNG_COLOUR_RGB_ALPHA, 16, out);
                },
                compression, progress);
            png.End();
        },
        options);
}

void ExportLevelPng(const std::string& romPath, unsigned level, bool planeB,
                    const std::string& pngPath, Progress& progress, unsigned threads,
                    const ReplaceOptions& options) {
    CheckPngPath(pngPath);
    // The level is the same for every row: decode it once.
    ExportLevelPng(DecodeLevel(romPath, level), planeB, pngPath, progress, threads, options);
}

} // namespace drovak
