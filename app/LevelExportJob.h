#pragma once

#include "graphics/Level.h"

#include <QObject>
#include <exception>
#include <memory>
#include <string>

class QThread;

namespace drovak::app {

// One export of a level plane as a PNG picture, on a thread of its own: the level is decoded
// before the job is made (the ROM is read once, at the start), the screens are drawn into the
// job's own picture buffer, and nothing the window does meanwhile reaches it. The screens done
// come back to the window's thread by a queued signal, the end by another.
class LevelExportJob final : public QObject {
    Q_OBJECT
public:
    LevelExportJob(LevelData level, bool planeB, std::string pngPath);
    // Waits for the thread: the file is whole or not there when the job is gone.
    ~LevelExportJob() override;

    void Start();
    // After Finished: what made the export fail, or null.
    std::exception_ptr Error() const { return error_; }

signals:
    void ScreensDone(unsigned screens);
    void Finished();

private:
    void Run();

    const LevelData level_;
    const bool planeB_;
    const std::string pngPath_;
    std::exception_ptr error_;
    std::unique_ptr<QThread> thread_;
};

} // namespace drovak::app
