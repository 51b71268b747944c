#include "graphics/LevelExport.h"

#include "base/Errors.h"
#include "base/ReplaceFile.h"
#include "graphics/Level.h"
#include "png/PngRows.h"
#include "png/PngWriter.h"

#include <memory>
#include <vector>

namespace drovak {

namespace {

constexpr unsigned SCREEN_PIXELS = 512;

// Copies a rendered 512 x 512 screen to x = 512 x screen of the picture (red + green x 256 +
// blue x 65536 + alpha x 2^24): pure black is colour 0, alpha 0 (transparent), any other pixel
// its colour at alpha 255.
void CopyScreen(const FrameBuffer& frameBuffer, unsigned screen, std::vector<uint32_t>& picture) {
    const uint32_t left = SCREEN_PIXELS * screen;
    for (uint32_t y = 0; y < SCREEN_PIXELS; ++y) {
        const uint32_t* row = frameBuffer.data() + size_t(y) * SCREEN_PIXELS;
        uint32_t* out = picture.data() + size_t(y) * LEVEL_PNG_WIDTH + left;
        for (uint32_t x = 0; x < SCREEN_PIXELS; ++x) {
            out[x] = row[x] == 0 ? 0 : (row[x] & 0xFFFFFF) | 0xFF000000u;
        }
    }
}

void CheckPngPath(const std::string& pngPath) {
    if (pngPath.empty()) throw FileError("No file name given for the PNG picture");
}

} // namespace

void ExportLevelPng(const LevelData& level, bool planeB, const std::string& pngPath,
                    Progress& progress, unsigned threads) {
    CheckPngPath(pngPath);
    progress.ThrowIfCancelled();
    auto frameBuffer = std::make_unique<FrameBuffer>();
    std::vector<uint32_t> picture(size_t(LEVEL_PNG_WIDTH) * LEVEL_PNG_HEIGHT);
    for (unsigned screen = 0; screen < LEVEL_SCREENS; ++screen) {
        CopyToFrameBuffer(AssembleLevelScreen(level, planeB, screen), *frameBuffer);
        CopyScreen(*frameBuffer, screen, picture);
    }
    PngCompression compression;
    compression.level = 9;
    compression.filters = PngFilterSet::Empty;
    compression.threads = threads;
    WriteFileReplacing(pngPath, [&](Stream& file) {
        PngWriter png(file, {LEVEL_PNG_WIDTH, LEVEL_PNG_HEIGHT, PNG_COLOUR_RGB_ALPHA, 16});
        png.ImageData(
            [&picture](uint32_t y, uint8_t* out) {
                PackPngRow(picture.data() + size_t(y) * LEVEL_PNG_WIDTH, LEVEL_PNG_WIDTH,
                           PNG_COLOUR_RGB_ALPHA, 16, out);
            },
            compression, progress);
        png.End();
    });
}

void ExportLevelPng(const std::string& romPath, unsigned level, bool planeB,
                    const std::string& pngPath, Progress& progress, unsigned threads) {
    CheckPngPath(pngPath);
    // The level is the same for every screen: decode it once.
    ExportLevelPng(DecodeLevel(romPath, level), planeB, pngPath, progress, threads);
}

} // namespace drovak
