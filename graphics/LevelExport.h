#pragma once

#include "base/ReplaceFile.h"

#include "graphics/Level.h"
#include "graphics/Renderer.h"

#include <functional>
#include <string>

namespace drovak {

constexpr uint32_t LEVEL_PNG_WIDTH = 16384;
constexpr uint32_t LEVEL_PNG_HEIGHT = 512;

// Writes the whole width of one plane of a decoded level as a 16384 x 512 PNG (colour type 6,
// 16 bits per sample, level 9, no filtering); alpha 255 where the rendered colour is not 0.
// After each of the 32 screens progress(i + 1) is called on the calling thread. frameBuffer is
// used for each screen and is all zero afterwards. The picture is then compressed on `threads`
// threads (0: one per core), all ended before this returns; the file is the same whatever
// their number; meanwhile `compressing` is called on the calling thread after each compressed
// part is written (a window answers its events there). Throws FileError when the PNG can't be
// created (nothing is left at pngPath then).
void ExportLevelPng(const LevelData& level, bool planeB, const std::string& pngPath,
                    FrameBuffer& frameBuffer,
                    const std::function<void(unsigned screensDone)>& progress = {},
                    unsigned threads = 0, const std::function<void()>& compressing = {},
                    const ReplaceOptions& options = {});

// The same for level `level` of the ROM image at romPath, decoded once; FileError too when the
// ROM can't be read.
void ExportLevelPng(const std::string& romPath, unsigned level, bool planeB,
                    const std::string& pngPath, FrameBuffer& frameBuffer,
                    const std::function<void(unsigned screensDone)>& progress = {},
                    unsigned threads = 0, const std::function<void()>& compressing = {},
                    const ReplaceOptions& options = {});

} // namespace drovak
