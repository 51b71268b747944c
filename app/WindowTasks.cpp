// The window's long work: one task at a time on the task runner, with a Cancel button beside the
// status line while it runs (Esc does the same, MainFormLifecycle.cpp).
#include "app/MainForm.h"

#include "base/Errors.h"
#include "words/WindowStatusWords.h"
#include "words/WindowWords.h"

#include <QPushButton>

#include <algorithm>

namespace drovak::app {

void MainForm::RefuseWhileTaskRuns(const QString& what) const {
    if (tasks_.Running()) {
        throw RefusedError(TaskRunsMessage(what.toStdString(), tasks_.What().toStdString()));
    }
}

void MainForm::StartTask(const QString& what, TaskRunner::Work work, TaskRunner::Done done) {
    RefuseWhileTaskRuns(what);
    tasks_.Start(what, std::move(work), std::move(done));
}

void MainForm::TaskStarted() {
    cancelButton_->show();
    ShowStatus(QString::fromStdString(TaskRunningText(tasks_.What().toStdString())));
}

void MainForm::TaskStepped(quint64 done, quint64 total, const QString&) {
    if (!tasks_.Running() || total == 0) return;
    ShowStatus(QString::fromStdString(
        TaskStepText(tasks_.What().toStdString(), std::min<quint64>(100, done * 100 / total))));
}

void MainForm::TaskEnded() {
    cancelButton_->hide();
    if (StatusText().endsWith(QString::fromStdString(TaskLineEnd()))) ShowStatus(QString());
}

} // namespace drovak::app
