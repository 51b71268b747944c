#include "graphics/AllPlanesExport.h"

#include "graphics/Level.h"
#include "graphics/LevelExport.h"
#include "png/ParallelDeflate.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace drovak {

namespace {

// One plane's export within them all: its steps are not reported, the stop is shared.
class PlaneProgress final : public Progress {
public:
    explicit PlaneProgress(const Progress& all) : all_(all) {}
    void Step(uint64_t, uint64_t, std::string_view) override {}
    bool Cancelled() const override { return all_.Cancelled(); }

private:
    const Progress& all_;
};

} // namespace

void ExportAllLevelPngs(const std::string& romPath, const std::string& folder, unsigned threads,
                        Progress& progress, const ReplaceOptions& options) {
    std::atomic<unsigned> next{0};
    std::atomic<bool> failed{false};
    std::mutex mutex; // guards written, error and the calls of progress.Step
    unsigned written = 0;
    std::exception_ptr error;

    // Planes in list order, each exported whole by one thread.
    auto work = [&]() noexcept {
        try {
            PlaneProgress planeProgress(progress);
            for (unsigned plane; !failed && (plane = next++) < LEVEL_PLANE_COUNT;) {
                const unsigned level = plane / 2;
                const bool planeB = plane % 2 != 0;
                const std::string path =
                    (std::filesystem::path(folder) / DefaultLevelPngName(level, planeB)).string();
                ExportLevelPng(romPath, level, planeB, path, planeProgress, 1, options);
                std::lock_guard lock(mutex);
                ++written;
                progress.Step(written, LEVEL_PLANE_COUNT, path);
            }
        } catch (...) {
            std::lock_guard lock(mutex);
            if (!error) error = std::current_exception();
            failed = true;
        }
    };

    const unsigned count = std::min(DeflateThreads(threads), LEVEL_PLANE_COUNT);
    std::vector<std::thread> workers;
    try {
        for (unsigned i = 1; i < count; ++i) workers.emplace_back(work);
    } catch (const std::system_error&) {
        // Fewer threads than asked for: the ones there share the planes.
    }
    work(); // the calling thread takes its share too
    for (std::thread& worker : workers) worker.join();
    if (error) std::rethrow_exception(error);
}

} // namespace drovak
