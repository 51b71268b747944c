#include "WindowTest.h"

#include "graphics/DemoRom.h"
#include "preview/PreviewView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <fstream>
#include <iterator>

using drovak::app::MainForm;

void WindowTest::TearDown() {
    if (form_) {
        form_->close();
        form_.reset();
    }
    QApplication::processEvents();
}

void WindowTest::WriteFile(const QString& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream out(PathOf(name), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> WindowTest::ReadFile(const QString& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WindowTest::PutDemoRom() const {
    WriteFile("tf3.bin", drovak::MakeDemoRom());
}

MainForm& WindowTest::OpenWindow() {
    form_ = std::make_unique<MainForm>(Folder(), dialogs);
    form_->show();
    form_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    // Let the preview create its context and paint once.
    QTest::qWait(50);
    return *form_;
}

void WindowTest::Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void WindowTest::ClickTab(QTabWidget* tabs, int index) {
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    QApplication::processEvents();
}

void WindowTest::TypeInto(QLineEdit* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Delete);
    } else {
        QTest::keyClicks(field, text);
    }
}

void WindowTest::PressEnterIn(QLineEdit* field) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
}

void WindowTest::PressKey(int key) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, static_cast<Qt::Key>(key));
}

void WindowTest::ClickPreview() {
    QTest::mouseClick(form_->PreviewView, Qt::LeftButton, {}, form_->PreviewView->rect().center());
}
