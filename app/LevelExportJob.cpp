#include "app/LevelExportJob.h"

#include "graphics/LevelExport.h"

#include <QThread>

namespace drovak::app {

LevelExportJob::LevelExportJob(LevelData level, bool planeB, std::string pngPath)
    : level_(std::move(level)), planeB_(planeB), pngPath_(std::move(pngPath)),
      thread_(QThread::create([this] { Run(); })) {
    // The thread ends after Run has returned; the window hears of it on its own thread.
    connect(thread_.get(), &QThread::finished, this, &LevelExportJob::Finished,
            Qt::QueuedConnection);
}

LevelExportJob::~LevelExportJob() {
    thread_->wait();
}

void LevelExportJob::Start() {
    thread_->start();
}

namespace {

// The rows written, as the 32 steps of the window's bar.
class ScreensProgress final : public Progress {
public:
    explicit ScreensProgress(LevelExportJob& job) : job_(job) {}
    void Step(uint64_t done, uint64_t total, std::string_view) override {
        emit job_.ScreensDone(unsigned(done * LEVEL_SCREENS / total));
    }

private:
    LevelExportJob& job_;
};

} // namespace

void LevelExportJob::Run() {
    try {
        ScreensProgress progress(*this);
        ExportLevelPng(level_, planeB_, pngPath_, progress);
    } catch (...) {
        error_ = std::current_exception();
    }
}

} // namespace drovak::app
