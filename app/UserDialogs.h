#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QImage;
class QWidget;

namespace drovak::app {

// The settings a file dialog object keeps until they are set again. The filter is a list of
// description and pattern pairs separated by "|" ("Bin Files (*.bin)|*.bin").
struct FileDialogSettings {
    QString title;
    QString filter;
    QString defaultExtension;
    QString startFolder; // empty: the toolkit's choice
    QString fileName;    // the name a save dialog suggests; empty: none
};

enum class FileDialogKind { Open, Save };

// Everything the window asks of the user or hands to the system: message boxes, the two file
// dialogs, a list to choose from and the clipboard. The window implements it with Qt's dialogs;
// tests replace it to answer the questions and pick the files.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // Yes/No with the warning icon, No the default button. True for Yes.
    virtual bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) = 0;
    // OK with the information icon.
    virtual void Inform(QWidget* owner, const QString& text, const QString& caption) = 0;
    // OK with the error icon; owner may be null (a box of its own).
    virtual void ShowError(QWidget* owner, const QString& text, const QString& caption) = 0;
    // A system-modal error box shown just before the program ends.
    virtual void ShowFatal(const QString& text) = 0;
    // Runs a modal file dialog; the chosen full path, or nothing when cancelled.
    virtual std::optional<QString> RunFileDialog(QWidget* owner, FileDialogKind kind,
                                                 const FileDialogSettings& settings) = 0;
    // Replaces the clipboard's content by a plain text.
    virtual void SetClipboardText(const QString& text) = 0;
    // Replaces the clipboard's content by a picture.
    virtual void SetClipboardImage(const QImage& image) = 0;
    // A modal list of rows under the column headings; the user picks one (`current` is
    // selected at first, when it is a row). The row's number, or nothing when cancelled.
    virtual std::optional<int> ChooseRow(QWidget* owner, const QString& title,
                                         const QStringList& columns,
                                         const std::vector<QStringList>& rows, int current) = 0;
};

// "Bin Files (*.bin)|*.bin|All (*.*)|*.*" as a Qt name filter list ("Bin Files (*.bin);;...").
// A description that does not show its pattern in brackets gets it appended.
QString QtNameFilters(const QString& pipeSeparatedFilter);

} // namespace drovak::app
