#pragma once
// The window tests' common ground: a main window over a temporary program folder, driven
// through its controls, and the headers of the controls they drive.
#include "FakeDialogs.h"
#include "app/MainForm.h"
#include "demo/DemoRom.h"
#include "graphics/Level.h"
#include "preview/PreviewView.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using drovak::app::MainForm;
namespace app = drovak::app;

// Whether `text` starts with, or holds, `part`; a failure shows both.
inline testing::AssertionResult Starts(const QString& text, const QString& part) {
    if (text.startsWith(part)) return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << '"' << text.toStdString() << "\" does not start with \"" << part.toStdString() << '"';
}
inline testing::AssertionResult Holds(const QString& text, const QString& part) {
    if (text.contains(part)) return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << '"' << part.toStdString() << "\" is not in \"" << text.toStdString() << '"';
}

class WindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (form_) form_->close();
        form_.reset();
        QApplication::processEvents();
    }

    // The program folder, with a trailing "/".
    QString Folder() const { return folder_.path() + "/"; }
    std::string PathOf(const QString& name) const { return (Folder() + name).toStdString(); }
    void WriteFile(const QString& name, const std::vector<uint8_t>& bytes) const {
        drovak::test::WriteBytes(PathOf(name), bytes);
    }
    std::vector<uint8_t> ReadFile(const QString& name) const {
        return drovak::test::ReadBytes(PathOf(name));
    }
    // The generated demo ROM as "tf3.bin" in the program folder.
    void PutDemoRom() const { WriteFile("tf3.bin", drovak::MakeDemoRom()); }

    // Builds the window on the program folder (with the ROM named on the command line, if one
    // is), shows it and waits until it is active and the preview has painted once.
    MainForm& OpenWindow(const QString& startUpRom = {}) {
        form_ = std::make_unique<MainForm>(Folder(), dialogs);
        if (!startUpRom.isEmpty()) form_->OpenAtStartUp(startUpRom);
        form_->show();
        form_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
        QTest::qWait(50);
        return *form_;
    }

    // The window built and shown, with `page` chosen by a click on its tab.
    MainForm& OpenWindow(app::MainPage page) {
        MainForm& form = OpenWindow();
        ClickTab(Tabs("PageTabs"), page);
        return form;
    }

    MainForm& Window() const { return *form_; }

    // A control of the window by its name (an exception, and so a failed test, when there is
    // none).
    template <class T = QWidget> T* Control(const char* name) const {
        T* control = form_->findChild<T*>(name);
        if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
        return control;
    }
    QLineEdit* Edit(const char* name) const { return Control<QLineEdit>(name); }
    QPushButton* Button(const char* name) const { return Control<QPushButton>(name); }
    QTabWidget* Tabs(const char* name) const { return Control<QTabWidget>(name); }
    drovak::preview::PreviewView* Preview() const {
        return Control<drovak::preview::PreviewView>("PreviewView");
    }

    // The user's actions.
    static void Click(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }
    void ClickPreview() { Click(Preview()); }
    // What a right click asks of the widget: its context menu, and the popup widget it opened.
    static QWidget* OpenContextMenu(QWidget* widget) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, widget->rect().center(),
                                widget->mapToGlobal(widget->rect().center()));
        QApplication::sendEvent(widget, &event);
        return QApplication::activePopupWidget();
    }
    // Triggers an action of the field's menu, as a right click opens it ("Make a patch..." by
    // default), and closes the menu; false when the menu has no such action.
    static bool Choose(QWidget* field,
                       const QString& text = "Make a patch against an original ROM...") {
        auto* menu = qobject_cast<QMenu*>(OpenContextMenu(field));
        for (QAction* action : menu ? menu->actions() : QList<QAction*>()) {
            if (action->text() != text) continue;
            action->trigger();
            QApplication::activePopupWidget()->close();
            return true;
        }
        return false;
    }
    template <class Page> static void ClickTab(QTabWidget* tabs, Page page) {
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                          tabs->tabBar()->tabRect(app::TabIndex(page)).center());
        QApplication::processEvents();
    }
    // Clicks into the field, selects all, types the text (an empty text deletes the content).
    static void TypeInto(QLineEdit* field, const QString& text) {
        Click(field);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Delete);
        else
            QTest::keyClicks(field, text);
    }
    static void PressEnterIn(QLineEdit* field) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
    }
    // The file `name` of the program folder dragged onto `on` and dropped; the task it starts
    // (a patch) waited for.
    void Drop(QWidget* on, const QString& name) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(Folder() + name)});
        QDragEnterEvent enter(on->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton, {});
        const std::pair before(Window().StatusText(), dialogs.boxes);
        QApplication::sendEvent(on, &enter);
        EXPECT_TRUE(enter.isAccepted());
        EXPECT_EQ(std::pair(Window().StatusText(), dialogs.boxes), before); // only the drop acts
        QDropEvent dropped(QPointF(on->rect().center()), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(on, &dropped);
        WaitForExport(Window());
    }
    // Ctrl+Z pressed on the widget, given the focus first (where the focus is by default).
    static void CtrlZ(QWidget* on = nullptr) {
        if (on) on->setFocus();
        QTest::keyClick(on ? on : QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    }
    // Ctrl+Z on the preview, its question answered Yes.
    void UndoOnPreview() {
        dialogs.answers = {true};
        CtrlZ(Preview());
    }
    // The last box shown is the undo's question: which two files swap, their sizes and dates.
    void ExpectUndoQuestion(const QString& rom) const {
        const QString& box = dialogs.boxes.isEmpty() ? QString() : dialogs.boxes.last();
        EXPECT_TRUE(Starts(box, "question Warning owned: Undo the last change to " + rom +
                                    "?\r\nIt swaps " + rom + " ("));
        EXPECT_TRUE(Holds(box, " bytes, changed 20") && Holds(box, ") with " + rom + ".bak ("));
    }
    // What a start-up shows: `rom` (a path; empty for none) in the six ROM fields and as the
    // document's, the hexadecimal fields' defaults, the data files' names beside the ROM and the
    // PNG's in the program folder, the buttons that need a ROM enabled with one, and level 1,
    // Plane A drawn from column 0 on the Levels page; no box.
    void ExpectStartUpState(const QString& rom) const {
        const QString folder = rom.left(rom.lastIndexOf('/') + 1);
        const auto named = [&](const QString& name) { return rom.isEmpty() ? "" : folder + name; };
        // clang-format off
        const std::pair<QLineEdit*, QString> texts[] = {
            {Edit("LzhTableOffsetEdit"), "20000"}, {Edit("LzhTableIndexEdit"), "0"}, {Edit("RleOffsetEdit"), "48120"},
            {Edit("LzhDecompRomEdit"), rom}, {Edit("LzhCompRomEdit"), rom}, {Edit("RleDecompRomEdit"), rom},
            {Edit("RleCompRomEdit"), rom}, {Edit("TitleRomEdit"), rom}, {Edit("LevelRomEdit"), rom},
            {Edit("LzhDecompOutEdit"), named("20000_0.bin")}, {Edit("LzhCompInEdit"), named("20000_0.bin")},
            {Edit("RleDecompOutEdit"), named("48120.bin")}, {Edit("RleCompInEdit"), named("48120.bin")},
            {Edit("LevelPngEdit"), rom.isEmpty() ? "" : Folder() + "Level_01_PlaneA.png"}};
        // clang-format on
        for (const auto& [field, text] : texts)
            EXPECT_EQ(field->text(), text) << field->objectName().toStdString();
        // Without a ROM only the title button is enabled: its click reports the missing file.
        for (QPushButton* button :
             {Button("LzhDecompressButton"), Button("LzhCompressButton"),
              Button("RleDecompressButton"), Button("RleCompressButton"), Button("SaveMapButton")})
            EXPECT_EQ(button->isEnabled(), !rom.isEmpty()) << button->text().toStdString();
        EXPECT_TRUE(Button("TitleViewButton")->isEnabled());
        const MainForm& f = Window();
        EXPECT_EQ(
            (std::tuple{f.Document().RomPath, Tabs("PageTabs")->currentIndex(),
                        Control<QComboBox>("LevelCombo")->currentIndex(),
                        Control<QRadioButton>("PlaneARadio")->isChecked(),
                        f.Document().ScrollColumn, Preview()->PreviewTexture() != 0}),
            (std::tuple{rom, app::TabIndex(app::MainPage::Levels), 0, true, 0, !rom.isEmpty()}));
        EXPECT_TRUE(rom.isEmpty() || f.Document().FrameBuffer == LevelFrame(rom.toStdString()));
        EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.boxes.join('\n').toStdString();
    }
    // A key pressed and released where the focus is.
    static void PressKey(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }

    // Waits (two minutes at the most) until the task that runs (an export, a patch) has ended.
    static void WaitForExport(const MainForm& form) {
        for (int i = 0; i < 6000 && form.Tasks().Running(); ++i) QTest::qWait(20);
        EXPECT_FALSE(form.Tasks().Running());
    }

    // The frame buffer of a level of the ROM at `path` as the viewer draws it.
    static drovak::FrameBuffer LevelFrame(const std::string& path, unsigned level = 0,
                                          bool planeB = false, uint16_t column = 0) {
        drovak::FrameBuffer frame{};
        drovak::CopyToFrameBuffer(
            drovak::AssembleLevel(drovak::DecodeLevel(path, level), planeB, column), frame);
        return frame;
    }
    // The preview's framebuffer as read back from OpenGL.
    QImage Shown() const { return Preview()->grabFramebuffer(); }
    // Pixel (x, y) of a read-back picture; negative coordinates count from the far edge.
    static QRgb At(const QImage& image, int x, int y) {
        return image.pixel(x < 0 ? image.width() + x : x, y < 0 ? image.height() + y : y) |
               0xFF000000u;
    }
    // A frame buffer pixel (bytes red, green, blue) as a QRgb.
    static QRgb Rgb(uint32_t pixel) { return qRgb(pixel & 0xFF, (pixel >> 8) & 0xFF, pixel >> 16); }

    FakeDialogs dialogs;

private:
    QTemporaryDir folder_;
    std::unique_ptr<MainForm> form_;
};

// The window tests that need nothing but the window.
using AppWindow = WindowTest;
