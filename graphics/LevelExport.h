#pragma once

#include "base/Progress.h"
#include "base/ReplaceFile.h"
#include "graphics/Level.h"

#include <string>

namespace drovak {

constexpr uint32_t LEVEL_PNG_WIDTH = 16384;
constexpr uint32_t LEVEL_PNG_HEIGHT = 512;

// Writes the whole width of one plane of a decoded level as a 16384 x 512 PNG (colour type 6,
// 16 bits per sample, level 9, no filtering); alpha 255 where the rendered colour is not 0.
// The picture is compressed on `threads` threads (0: one per core), all ended before this
// returns; the file is the same whatever their number. progress hears of the rows written
// (png/PngWriter.h) on the calling thread, and is asked there whether to go on. Throws
// FileError when the PNG can't be created, CancelledError when progress said stop: nothing is
// left at pngPath then, and a file that was there is as it was.
void ExportLevelPng(const LevelData& level, bool planeB, const std::string& pngPath,
                    Progress& progress, unsigned threads = 0, const ReplaceOptions& options = {});

// The same for level `level` of the ROM image at romPath, decoded once; FileError too when the
// ROM can't be read.
void ExportLevelPng(const std::string& romPath, unsigned level, bool planeB,
                    const std::string& pngPath, Progress& progress, unsigned threads = 0,
                    const ReplaceOptions& options = {});

} // namespace drovak
