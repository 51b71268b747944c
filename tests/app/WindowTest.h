#pragma once

#include "FakeDialogs.h"
#include "app/uMain.h"

#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class QAbstractButton;
class QLineEdit;
class QTabWidget;

// A main window over a temporary program folder, driven through its controls.
class WindowTest : public ::testing::Test {
protected:
    void TearDown() override;

    // The program folder, with a trailing "/".
    QString Folder() const { return folder_.path() + "/"; }
    std::string PathOf(const QString& name) const { return (Folder() + name).toStdString(); }
    void WriteFile(const QString& name, const std::vector<uint8_t>& bytes) const;
    std::vector<uint8_t> ReadFile(const QString& name) const;
    // The generated demo ROM as "tf3.bin" in the program folder.
    void PutDemoRom() const;

    // Builds the window on the program folder, shows it and waits until it is active.
    drovak::app::MainForm& OpenWindow();
    drovak::app::MainForm& Form() { return *form_; }

    // The user's actions.
    static void Click(QAbstractButton* button);
    static void ClickTab(QTabWidget* tabs, int index);
    // Clicks into the field, selects all, types the text (an empty text deletes the content).
    static void TypeInto(QLineEdit* field, const QString& text);
    static void PressEnterIn(QLineEdit* field);
    // A key pressed and released where the focus is.
    static void PressKey(int key);
    void ClickPreview();

    FakeDialogs dialogs;

private:
    QTemporaryDir folder_;
    std::unique_ptr<drovak::app::MainForm> form_;
};
