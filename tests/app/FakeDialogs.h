#pragma once

#include "app/UserDialogs.h"

#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

// Answers the window's questions and file dialogs from queues and records everything shown.
class FakeDialogs final : public drovak::app::UserDialogs {
public:
    struct Box {
        QString kind; // "question", "information", "error", "fatal"
        QString text;
        QString caption;
        bool owned = false; // shown over the window
    };
    std::deque<bool> answers;  // for AskYesNo; No when empty
    std::deque<QString> picks; // for RunFileDialog; a null QString or none cancels
    std::vector<Box> boxes;
    std::vector<std::pair<drovak::app::FileDialogKind, drovak::app::FileDialogSettings>> dialogRuns;
    QStringList clipboard;

    // The kinds of the boxes shown so far, e.g. "question,information".
    QString Kinds() const {
        QStringList kinds;
        for (const Box& box : boxes) kinds << box.kind;
        return kinds.join(',');
    }

    bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) override {
        boxes.push_back({"question", text, caption, owner != nullptr});
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
    void Inform(QWidget* owner, const QString& text, const QString& caption) override {
        boxes.push_back({"information", text, caption, owner != nullptr});
    }
    void ShowError(QWidget* owner, const QString& text, const QString& caption) override {
        boxes.push_back({"error", text, caption, owner != nullptr});
    }
    void ShowFatal(const QString& text) override { boxes.push_back({"fatal", text, "", false}); }
    std::optional<QString> RunFileDialog(QWidget*, drovak::app::FileDialogKind kind,
                                         const drovak::app::FileDialogSettings& settings) override {
        dialogRuns.emplace_back(kind, settings);
        const QString pick = picks.empty() ? QString() : picks.front();
        if (!picks.empty()) picks.pop_front();
        return pick.isNull() ? std::nullopt : std::optional(pick);
    }
    void SetClipboardText(const QString& text) override { clipboard << text; }
};
