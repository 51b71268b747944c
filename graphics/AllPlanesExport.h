#pragma once

#include "base/Progress.h"
#include "base/ReplaceFile.h"

#include <string>

namespace drovak {

// Levels 1 to 8, each with Plane A and Plane B.
constexpr unsigned LEVEL_PLANE_COUNT = 16;

// Writes every plane of every level into folder under its default name (Level_01_PlaneA.png,
// Level_01_PlaneB.png, ... Level_08_PlaneB.png), each file the same as ExportLevelPng writes.
// Up to `threads` planes (0: one per core) are exported at once, each compressed on one thread.
// After each plane progress.Step(written, 16, path) is called, one call at a time, from the
// thread that wrote it; progress.Cancelled is asked from every thread between the parts of each
// plane, so it must be safe to call from any thread. Every thread has ended before this
// returns. The first failure (FileError, RefusedError, CancelledError) is rethrown once the
// planes under way have stopped: the planes written stay, the one that failed or was stopped
// leaves no file, the ones not started are not written.
void ExportAllLevelPngs(const std::string& romPath, const std::string& folder, unsigned threads,
                        Progress& progress, const ReplaceOptions& options = {});

} // namespace drovak
