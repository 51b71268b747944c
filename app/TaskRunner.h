#pragma once

#include "base/Progress.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <string>

class QThread;

namespace drovak::app {

// The window's long work, one task at a time, on a thread of its own: the task's steps come back
// to the window's thread as queued signals, and so does its end, with what made it fail
// (CancelledError when it heeded a cancel). Work whose result the window still has to write
// looks at CancelAsked() when it ends: a cancel asked for after the thread's work was done
// counts too. The runner waits for its thread when it goes.
class TaskRunner final : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void(Progress& progress)>;
    // On the window's thread, after the task's thread has ended: null, or what made it fail.
    using Done = std::function<void(std::exception_ptr error)>;

    explicit TaskRunner(QObject* parent = nullptr);
    // Cancels the task that runs and waits for its thread.
    ~TaskRunner() override;

    bool Running() const { return running_; }
    // What the task on hand does ("the export of Level_01_PlaneA.png"), while it runs.
    const QString& What() const { return what_; }
    // Starts `work` on the runner's thread; `done` follows on the window's thread. Only when no
    // task runs.
    void Start(const QString& what, Work work, Done done);
    // Asks the task to stop: it ends with CancelledError at its next look.
    void Cancel();
    // Whether a cancel was asked for the task that runs (or whose end is being reported).
    bool CancelAsked() const { return cancelled_; }
    // Cancel, then wait for the thread and report the end.
    void CancelAndWait();

signals:
    void Stepped(quint64 done, quint64 total, const QString& what);
    void Started();
    void Ended();

private:
    class ThreadProgress;
    void Finish();

    bool running_ = false;
    QString what_;
    std::atomic<bool> cancelled_{false};
    std::unique_ptr<QThread> thread_;
    std::unique_ptr<ThreadProgress> progress_;
    std::exception_ptr error_;
    Done done_;
};

// What made a task fail, thrown again on the window's thread; a cancel is named by `name`, the
// file the task was to write ("made.bps: cancelled; nothing was written"). Nothing when null.
void RethrowTaskError(std::exception_ptr error, const std::string& name);

} // namespace drovak::app
