#pragma once

#include "base/ReplaceFile.h"

#include <functional>
#include <string>

namespace drovak {

// Levels 1 to 8, each with Plane A and Plane B.
constexpr unsigned LEVEL_PLANE_COUNT = 16;

// Writes every plane of every level into folder under its default name (Level_01_PlaneA.png,
// Level_01_PlaneB.png, ... Level_08_PlaneB.png), each file the same as ExportLevelPng writes.
// Up to `threads` planes (0: one per core) are exported at once, each compressed on one thread.
// planeWritten(path, written) is called after each plane, one call at a time, from the thread
// that wrote it. Every thread has ended before this returns. The first failure (FileError,
// RefusedError) is rethrown once the planes under way are done: the planes written stay, the
// failed one leaves no file, the ones not started are not written.
void ExportAllLevelPngs(
    const std::string& romPath, const std::string& folder, unsigned threads,
    const std::function<void(const std::string& path, unsigned written)>& planeWritten = {},
    const ReplaceOptions& options = {});

} // namespace drovak
