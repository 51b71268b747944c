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

void LevelExportJob::Run() {
    try {
        auto frameBuffer = std::make_unique<FrameBuffer>();
        ExportLevelPng(level_, planeB_, pngPath_, *frameBuffer,
                       [this](unsigned screens) { emit ScreensDone(screens); });
    } catch (...) {
        error_ = std::current_exception();
    }
}

} // namespace drovak::app
