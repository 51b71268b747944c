#include "app/TaskRunner.h"

#include "base/Errors.h"

#include <QThread>

namespace drovak::app {

// The task's view of the runner: its steps are signalled across threads, its cancel read from
// the runner's flag.
class TaskRunner::ThreadProgress final : public Progress {
public:
    explicit ThreadProgress(TaskRunner& runner) : runner_(runner) {}
    void Step(uint64_t done, uint64_t total, std::string_view what) override {
        emit runner_.Stepped(done, total, QString::fromUtf8(what.data(), qsizetype(what.size())));
    }
    bool Cancelled() const override { return runner_.cancelled_; }

private:
    TaskRunner& runner_;
};

TaskRunner::TaskRunner(QObject* parent) : QObject(parent) {}

TaskRunner::~TaskRunner() {
    cancelled_ = true;
    if (thread_) thread_->wait();
}

void TaskRunner::Start(const QString& what, Work work, Done done) {
    if (running_) return;
    running_ = true;
    what_ = what;
    cancelled_ = false;
    error_ = nullptr;
    done_ = std::move(done);
    progress_ = std::make_unique<ThreadProgress>(*this);
    thread_.reset(QThread::create([this, work = std::move(work)] {
        try {
            work(*progress_);
        } catch (...) {
            error_ = std::current_exception();
        }
    }));
    // The thread ends after the work has returned; the window hears of it on its own thread.
    connect(thread_.get(), &QThread::finished, this, &TaskRunner::Finish, Qt::QueuedConnection);
    thread_->start();
    emit Started();
}

void TaskRunner::Cancel() {
    if (running_) cancelled_ = true;
}

void TaskRunner::CancelAndWait() {
    if (!running_) return;
    Cancel();
    thread_->wait();
    Finish();
}

void TaskRunner::Finish() {
    if (!running_) return; // already reported by CancelAndWait
    thread_->wait();
    running_ = false;
    const std::exception_ptr error = error_;
    Done done = std::move(done_);
    what_.clear();
    emit Ended();
    if (done) done(error);
}

void RethrowTaskError(std::exception_ptr error, const std::string& name) {
    if (!error) return;
    try {
        std::rethrow_exception(error);
    } catch (const CancelledError&) {
        throw CancelledError(name);
    }
}

} // namespace drovak::app
