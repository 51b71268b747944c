#pragma once

#include "app/UserDialogs.h"

#include <QString>
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
        bool owned = false;
    };
    struct DialogRun {
        drovak::app::FileDialogKind kind;
        drovak::app::FileDialogSettings settings;
    };

    std::deque<bool> answers;  // for AskYesNo; No when empty
    std::deque<QString> picks; // for RunFileDialog; a null QString or none cancels
    std::vector<Box> boxes;
    std::vector<DialogRun> dialogRuns;
    QStringList clipboard;

    bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) override {
        boxes.push_back({"question", text, caption, owner != nullptr});
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
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
        dialogRuns.push_back({kind, settings});
        if (picks.empty()) return std::nullopt;
        const QString pick = picks.front();
        picks.pop_front();
        if (pick.isNull()) return std::nullopt;
        return pick;
    }
    void SetClipboardText(const QString& text) override { clipboard << text; }
};
