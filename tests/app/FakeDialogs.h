#pragma once

#include "app/UserDialogs.h"

#include <QImage>
#include <QStringList>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

// Answers the window's questions and file dialogs from queues and records everything shown.
class FakeDialogs final : public drovak::app::UserDialogs {
public:
    std::deque<bool> answers;  // for AskYesNo; No when empty
    std::deque<QString> picks; // for RunFileDialog; a null QString or none cancels
    // Each box as "KIND CAPTION[ owned]: TEXT", owned when shown over the window; KIND is
    // question, information, error or fatal.
    QStringList boxes;
    std::vector<std::pair<drovak::app::FileDialogKind, drovak::app::FileDialogSettings>> dialogRuns;
    QStringList clipboard;
    std::vector<QImage> clipboardImages;
    std::deque<int> rowChoices;                       // for ChooseRow; cancelled when empty
    std::vector<std::vector<QStringList>> listsShown; // the rows of each ChooseRow
    std::vector<int> rowsMarked;                      // the row each one marked (-1: none)

    // The kinds of the boxes shown so far, e.g. "question,information".
    QString Kinds() const {
        QStringList kinds;
        for (const QString& box : boxes) kinds << box.section(' ', 0, 0);
        return kinds.join(',');
    }

    bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) override {
        Record("question", owner, text, caption);
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
    void Inform(QWidget* owner, const QString& text, const QString& caption) override {
        Record("information", owner, text, caption);
    }
    void ShowError(QWidget* owner, const QString& text, const QString& caption) override {
        Record("error", owner, text, caption);
    }
    void ShowFatal(const QString& text) override { Record("fatal", nullptr, text, ""); }
    std::optional<QString> RunFileDialog(QWidget*, drovak::app::FileDialogKind kind,
                                         const drovak::app::FileDialogSettings& settings) override {
        dialogRuns.emplace_back(kind, settings);
        const QString pick = picks.empty() ? QString() : picks.front();
        if (!picks.empty()) picks.pop_front();
        return pick.isNull() ? std::nullopt : std::optional(pick);
    }
    void SetClipboardText(const QString& text) override { clipboard << text; }
    void SetClipboardImage(const QImage& image) override { clipboardImages.push_back(image); }
    std::optional<int> ChooseRow(QWidget*, const QString&, const QStringList& columns,
                                 const std::vector<QStringList>& rows, int marked) override {
        listsShown.push_back(rows);
        rowsMarked.push_back(marked);
        listsShown.back().insert(listsShown.back().begin(), columns);
        if (rowChoices.empty()) return std::nullopt;
        const int row = rowChoices.front();
        rowChoices.pop_front();
        return row;
    }

private:
    void Record(const char* kind, QWidget* owner, const QString& text, const QString& caption) {
        boxes << QString("%1 %2%3: %4").arg(kind, caption, owner ? " owned" : "", text);
    }
};
