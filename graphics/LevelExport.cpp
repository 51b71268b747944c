#include "graphics/LevelExport.h"

#include "base/Errors.h"
#include "graphics/Level.h"
#include "png/PngPicture.h"

namespace drovak {

namespace {

constexpr unsigned SCREEN_PIXELS = 512;

// The frame buffer ends up all zero however the export ends.
class FrameBufferClearer {
public:
    explicit FrameBufferClearer(FrameBuffer& frameBuffer) : frameBuffer_(frameBuffer) {}
    ~FrameBufferClearer() { frameBuffer_.fill(0); }
    FrameBufferClearer(const FrameBufferClearer&) = delete;
    FrameBufferClearer& operator=(const FrameBufferClearer&) = delete;

private:
    FrameBuffer& frameBuffer_;
};

// Copies a rendered 512 x 512 screen to x = 512 x screen of a blank picture; pure black stays
// as the blank picture has it: colour 0, alpha 0 (transparent).
void CopyScreen(const FrameBuffer& frameBuffer, unsigned screen, TPngPicture& picture) {
    const uint32_t left = SCREEN_PIXELS * screen;
    for (uint32_t y = 0; y < SCREEN_PIXELS; ++y) {
        const uint32_t* row = frameBuffer.data() + size_t(y) * SCREEN_PIXELS;
        uint8_t* alpha = picture.AlphaRow(y) + left;
        for (uint32_t x = 0; x < SCREEN_PIXELS; ++x) {
            if (row[x] == 0) continue;
            picture.SetPixel(left + x, y, row[x]);
            alpha[x] = 255;
        }
    }
}

void CheckPngPath(const std::string& pngPath) {
    if (pngPath.empty()) throw FileError("No file name given for the PNG picture");
}

} // namespace

void ExportLevelPng(const LevelData& level, bool planeB, const std::string& pngPath,
                    FrameBuffer& frameBuffer,
                    const std::function<void(unsigned screensDone)>& progress, unsigned threads,
                    const std::function<void()>& compressing) {
    FrameBufferClearer clearer(frameBuffer);
    CheckPngPath(pngPath);

    TPngPicture picture;
    if (!picture.CreateBlank(PNG_COLOUR_RGB_ALPHA, 16, LEVEL_PNG_WIDTH, LEVEL_PNG_HEIGHT)) {
        throw FileError(pngPath + ": the PNG picture could not be created");
    }
    picture.SetCompressionLevel(9);
    picture.SetFilters(TPngFilterSet::Empty);
    picture.SetThreads(threads);
    picture.SetPartWritten(compressing);

    for (unsigned screen = 0; screen < LEVEL_SCREENS; ++screen) {
        frameBuffer.fill(0);
        AssembleLevelScreen(level, planeB, screen, frameBuffer);
        CopyScreen(frameBuffer, screen, picture);
        if (progress) progress(screen + 1);
    }
    picture.SaveToFile(pngPath);
}

void ExportLevelPng(const std::string& romPath, unsigned level, bool planeB,
                    const std::string& pngPath, FrameBuffer& frameBuffer,
                    const std::function<void(unsigned screensDone)>& progress, unsigned threads,
                    const std::function<void()>& compressing) {
    FrameBufferClearer clearer(frameBuffer);
    CheckPngPath(pngPath);
    // The level is the same for every screen: decode it once.
    ExportLevelPng(DecodeLevel(romPath, level), planeB, pngPath, frameBuffer, progress, threads,
                   compressing);
}

} // namespace drovak
