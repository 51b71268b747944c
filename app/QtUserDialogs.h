#pragma once

#include "app/UserDialogs.h"

namespace drovak::app {

// UserDialogs with QMessageBox, QFileDialog and QClipboard.
class QtUserDialogs final : public UserDialogs {
public:
    bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) override;
    void Inform(QWidget* owner, const QString& text, const QString& caption) override;
    void ShowError(QWidget* owner, const QString& text, const QString& caption) override;
    void ShowFatal(const QString& text) override;
    std::optional<QString> RunFileDialog(QWidget* owner, FileDialogKind kind,
                                         const FileDialogSettings& settings) override;
    void SetClipboardText(const QString& text) override;
};

} // namespace drovak::app
