// "LZH Compression" at work on a hand-made ROM image.
#include "HandMadeRom.h"
#include "WindowTest.h"

#include "base/Paths.h"
#include "rom/LzhPage.h"

#include <QKeyEvent>

using handmade::Bytes;

namespace {

constexpr uint32_t TABLE = 0x100;

class AppLzhPage : public WindowTest {
protected:
    // Three entries: a run, a tile sheet whose top half is colour 1 (red) and bottom half
    // colour 2 (blue), and noise.
    void SetUp() override {
        contents = {Bytes(300, 7), handmade::TwoColourTiles(896), handmade::Noise(500, 3)};
        rom = handmade::MakeRom(TABLE, contents);
        WriteFile("rom.bin", rom);
    }
    MainForm& OpenOnLzhPage(app::ModeTab tab) {
        MainForm& f = OpenWindow();
        ClickTab(f.PageTabs, app::MainPage::Lzh);
        ClickTab(f.LzhModeTabs, tab);
        TypeInto(f.LzhTableOffsetEdit, "100");
        TypeInto(tab == app::ModeTab::Decompression ? f.LzhDecompRomEdit : f.LzhCompRomEdit,
                 Folder() + "rom.bin");
        return f;
    }
    Bytes Entry(uint32_t index) {
        return drovak::LzhExtractEntry(PathOf("rom.bin"), TABLE, index).data;
    }

    std::vector<Bytes> contents;
    Bytes rom;
};

} // namespace

TEST_F(AppLzhPage, EnterDecompressesTheEntryPutsItsPackedSizeOnTheClipboardAndShowsTheSheet) {
    MainForm& f = OpenOnLzhPage(app::ModeTab::Decompression);
    TypeInto(f.LzhTableIndexEdit, "1");
    ASSERT_EQ(f.LzhDecompOutEdit->text(), Folder() + "100_1.bin");
    // Other keys do nothing, nor does the Enter that closes a message box: pressed in the box,
    // released in the field.
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Backspace}) {
        QTest::keyClick(f.LzhTableIndexEdit, key);
    }
    f.LzhDecompOutBrowse->setFocus();
    QTest::keyPress(f.LzhDecompOutBrowse, Qt::Key_Return);
    f.LzhTableIndexEdit->setFocus();
    QTest::keyRelease(f.LzhTableIndexEdit, Qt::Key_Return);
    EXPECT_TRUE(dialogs.clipboard.isEmpty());
    EXPECT_FALSE(drovak::FileExists(PathOf("100_1.bin")));

    // Held down, Enter runs the operation once, at its release, whatever the button.
    f.LzhDecompressButton->setEnabled(false);
    QTest::keyPress(f.LzhTableIndexEdit, Qt::Key_Return);
    for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent repeat(type, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(f.LzhTableIndexEdit, &repeat);
    }
    QTest::keyRelease(f.LzhTableIndexEdit, Qt::Key_Return);
    ASSERT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(ReadFile("100_1.bin"), contents[1]);
    EXPECT_EQ(dialogs.clipboard,
              QStringList{QString::number(handmade::Packed(contents[1], false).size())});
    EXPECT_EQ(f.RomPath, Folder() + "rom.bin");
    EXPECT_EQ(ReadFile("rom.bin"), rom);
    // The 512 x 224 sheet: the first 896 tiles (the top half) red, the rest blue, upright.
    EXPECT_EQ(f.FrameBuffer[512 * 111 + 511], 224u);
    EXPECT_EQ(f.FrameBuffer[512 * 112], 224u << 16);
    const QImage shown = Shown();
    EXPECT_EQ(At(shown, 0, 0), qRgb(224, 0, 0));
    EXPECT_EQ(At(shown, -1, -1), qRgb(0, 0, 224));
}

TEST_F(AppLzhPage, GrowthIsAskedNoLeavesTheRomUntouchedYesMovesTheFollowingData) {
    MainForm& f = OpenOnLzhPage(app::ModeTab::Compression);
    // As long as the old data (the decoded sizes stay as they are) but packing larger.
    const Bytes bigger = handmade::Noise(300, 9);
    WriteFile("bigger.bin", bigger);
    TypeInto(f.LzhCompInEdit, Folder() + "bigger.bin");
    dialogs.answers = {false};
    Click(f.LzhCompressButton);
    EXPECT_EQ(dialogs.boxes, QStringList("question Warning owned: New size of the compressed data "
                                         "is greater then previous!\r\nDrovak may recalculate "
                                         "sizes table. Do you want to continue?"));
    EXPECT_EQ(ReadFile("rom.bin"), rom);

    // Enter compresses on this tab too, whatever the button.
    dialogs.answers = {true};
    f.LzhCompressButton->setEnabled(false);
    PressEnterIn(f.LzhTableIndexEdit);
    EXPECT_EQ(dialogs.Kinds(), "question,question");
    EXPECT_TRUE(dialogs.clipboard.isEmpty());
    EXPECT_EQ(ReadFile("rom.bin"), handmade::MakeRom(TABLE, {bigger, contents[1], contents[2]}));

    // Shrinking asks nothing and the following entries still decode.
    TypeInto(f.LzhTableIndexEdit, "1");
    const Bytes zeros(contents[1].size(), 0);
    WriteFile("small.bin", zeros);
    TypeInto(f.LzhCompInEdit, Folder() + "small.bin");
    Click(f.LzhCompressButton);
    EXPECT_EQ(dialogs.boxes.size(), 2);
    EXPECT_EQ(Entry(0), bigger);
    EXPECT_EQ(Entry(1), zeros);
    EXPECT_EQ(Entry(2), contents[2]);
}

TEST_F(AppLzhPage, FailuresAreShownWithTheFileAndNothingIsWritten) {
    MainForm& f = OpenOnLzhPage(app::ModeTab::Compression);
    // An index beyond the working table, then a ROM that isn't there.
    WriteFile("new.bin", Bytes(100, 2));
    TypeInto(f.LzhTableIndexEdit, "20");
    TypeInto(f.LzhCompInEdit, Folder() + "new.bin");
    Click(f.LzhCompressButton);
    ClickTab(f.LzhModeTabs, app::ModeTab::Decompression);
    TypeInto(f.LzhDecompRomEdit, Folder() + "nothing.bin");
    Click(f.LzhDecompressButton);

    ASSERT_EQ(dialogs.boxes.size(), 2) << dialogs.boxes.join('\n').toStdString();
    EXPECT_TRUE(dialogs.boxes[0].startsWith("error Error owned: ") &&
                dialogs.boxes[0].contains("rom.bin"));
    EXPECT_TRUE(dialogs.boxes[1].startsWith("error Error owned: ") &&
                dialogs.boxes[1].contains("nothing.bin"));
    EXPECT_EQ(ReadFile("rom.bin"), rom);
    EXPECT_FALSE(drovak::FileExists(PathOf("100_20.bin")) ||
                 drovak::FileExists(PathOf("nothing.bin")));
    EXPECT_TRUE(dialogs.clipboard.isEmpty());
}
