// "LZH Compression" driven through its controls on hand-made ROM images.
#include "HandMadeRom.h"
#include "WindowTest.h"

#include "graphics/Renderer.h"
#include "preview/PreviewView.h"
#include "rom/LzhPage.h"
#include "rom/PointerTable.h"
#include "rom/RomFile.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using drovak::app::MainForm;
using handmade::Bytes;
namespace app = drovak::app;

namespace {

constexpr uint32_t TABLE = 0x100;
constexpr uint32_t ROM_SIZE = 0x5A080;
const uint16_t RED_WORD = 0x000E;  // red 224
const uint16_t BLUE_WORD = 0x0E00; // blue 224

class LzhPage : public WindowTest {
protected:
    // Three entries: some bytes, a tile sheet whose top half is colour 1 and bottom half
    // colour 2, and more bytes; the preview palette makes colour 1 red and colour 2 blue.
    void SetUp() override {
        contents = {handmade::Pattern(300, 1), handmade::TwoColourTiles(896),
                    handmade::Pattern(500, 3)};
        rom = handmade::RomWithTable(ROM_SIZE, TABLE, contents);
        handmade::PutPalette(rom, drovak::PREVIEW_PALETTE_OFFSET, {0, RED_WORD, BLUE_WORD});
        WriteFile("rom.bin", rom);
    }

    MainForm& OpenOnLzhPage(int tab) {
        MainForm& f = OpenWindow();
        ClickTab(f.PageTabs, app::LzhPage);
        ClickTab(f.LzhModeTabs, tab);
        TypeInto(f.LzhTableOffsetEdit, "100");
        TypeInto(tab == app::DecompressionTab ? f.LzhDecompRomEdit : f.LzhCompRomEdit,
                 Folder() + "rom.bin");
        return f;
    }

    Bytes Entry(uint32_t index) {
        return drovak::LzhExtractEntry(PathOf("rom.bin"), TABLE, index).data;
    }
    drovak::TableEntry TableEntryOf(uint32_t index) {
        return drovak::LzhExtractEntry(PathOf("rom.bin"), TABLE, index).entry;
    }

    std::vector<Bytes> contents;
    Bytes rom;
};

} // namespace

TEST_F(WindowTest, LzhSuggestedNameFollowsTheRomFieldAndTheHexTextsAsTyped) {
    MainForm& f = OpenWindow();
    ClickTab(f.PageTabs, app::LzhPage);
    TypeInto(f.LzhTableIndexEdit, "1A");
    const struct {
        QString rom;
        QString suggested;
    } cases[] = {
        {"/data/tf3.bin", "/data/20000_1A.bin"},
        {"C:\\roms\\tf3.bin", "C:\\roms\\20000_1A.bin"},
        {"D:tf3.bin", "D:20000_1A.bin"},
        {"tf3.bin", "20000_1A.bin"},
    };
    for (const auto& c : cases) {
        TypeInto(f.LzhDecompRomEdit, c.rom);
        EXPECT_EQ(f.LzhDecompOutEdit->text(), c.suggested);
        EXPECT_EQ(f.LzhCompInEdit->text(), c.suggested);
    }
    // Hex texts are used as typed, not parsed.
    TypeInto(f.LzhTableOffsetEdit, "$2g");
    EXPECT_EQ(f.LzhDecompOutEdit->text(), "$2g_1A.bin");
    EXPECT_TRUE(f.LzhDecompressButton->isEnabled());
    EXPECT_FALSE(f.LzhCompressButton->isEnabled());

    // A typed output name stays, and only the "Decompress" button follows it.
    TypeInto(f.LzhDecompOutEdit, "mine.bin");
    EXPECT_EQ(f.LzhDecompOutEdit->text(), "mine.bin");
    EXPECT_EQ(f.LzhCompInEdit->text(), "$2g_1A.bin");
    TypeInto(f.LzhDecompOutEdit, "");
    EXPECT_FALSE(f.LzhDecompressButton->isEnabled());

    // Emptying the ROM field still suggests a name (without folder) but disables the button.
    TypeInto(f.LzhDecompRomEdit, "");
    EXPECT_EQ(f.LzhDecompOutEdit->text(), "$2g_1A.bin");
    EXPECT_FALSE(f.LzhDecompressButton->isEnabled());

    ClickTab(f.LzhModeTabs, app::CompressionTab);
    TypeInto(f.LzhCompRomEdit, " ");
    EXPECT_TRUE(f.LzhCompressButton->isEnabled());
    TypeInto(f.LzhCompInEdit, "");
    EXPECT_FALSE(f.LzhCompressButton->isEnabled());
}

TEST_F(WindowTest, LzhBrowseButtonsPutTheChosenFileIntoBothFields) {
    MainForm& f = OpenWindow();
    ClickTab(f.PageTabs, app::LzhPage);

    dialogs.picks = {Folder() + "out.bin"};
    Click(f.LzhDecompOutBrowse);
    EXPECT_EQ(f.LzhDecompOutEdit->text(), Folder() + "out.bin");
    EXPECT_EQ(f.LzhCompInEdit->text(), Folder() + "out.bin");
    ASSERT_EQ(dialogs.dialogRuns.size(), 1u);
    EXPECT_EQ(dialogs.dialogRuns[0].kind, app::FileDialogKind::Save);
    EXPECT_EQ(dialogs.dialogRuns[0].settings.filter, "BIN Files (*.bin)|*.bin");
    EXPECT_EQ(dialogs.dialogRuns[0].settings.defaultExtension, "bin");
    EXPECT_EQ(dialogs.dialogRuns[0].settings.title, "Please, select where you want to save...");

    ClickTab(f.LzhModeTabs, app::CompressionTab);
    dialogs.picks = {Folder() + "in.bin"};
    Click(f.LzhCompInBrowse);
    EXPECT_EQ(f.LzhCompInEdit->text(), Folder() + "in.bin");
    EXPECT_EQ(f.LzhDecompOutEdit->text(), Folder() + "in.bin");
    EXPECT_EQ(dialogs.dialogRuns.back().kind, app::FileDialogKind::Open);
    EXPECT_EQ(dialogs.dialogRuns.back().settings.title, "Please, select Thunder Force III ROM...");

    // A cancelled dialog changes nothing.
    Click(f.LzhCompInBrowse);
    EXPECT_EQ(f.LzhCompInEdit->text(), Folder() + "in.bin");

    // The ROM "..." of the compression tab runs the save dialog; the path goes to RomPath and
    // both ROM fields of the page.
    dialogs.picks = {Folder() + "other.bin"};
    Click(f.LzhCompRomBrowse);
    EXPECT_EQ(dialogs.dialogRuns.back().kind, app::FileDialogKind::Save);
    EXPECT_EQ(f.RomPath, Folder() + "other.bin");
    EXPECT_EQ(f.LzhCompRomEdit->text(), Folder() + "other.bin");
    EXPECT_EQ(f.LzhDecompRomEdit->text(), Folder() + "other.bin");
    EXPECT_EQ(f.LzhDecompOutEdit->text(), Folder() + "20000_0.bin");
    EXPECT_TRUE(f.RleDecompRomEdit->text().isEmpty());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(LzhPage, DecompressSavesTheEntryPutsItsPackedSizeOnTheClipboardAndShowsTheSheet) {
    MainForm& f = OpenOnLzhPage(app::DecompressionTab);
    TypeInto(f.LzhTableIndexEdit, "1");
    ASSERT_EQ(f.LzhDecompOutEdit->text(), Folder() + "100_1.bin");
    Click(f.LzhDecompressButton);

    ASSERT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(ReadFile("100_1.bin"), contents[1]);
    EXPECT_EQ(dialogs.clipboard,
              QStringList{QString::number(handmade::LzhPacked(contents[1]).size())});
    EXPECT_EQ(f.RomPath, Folder() + "rom.bin");

    // The 512 x 224 sheet: the first 896 tiles (the top half) red, the rest blue, upright.
    const uint32_t red = 224;
    const uint32_t blue = 224u << 16;
    EXPECT_EQ(f.FrameBuffer[0], red);
    EXPECT_EQ(f.FrameBuffer[512 * 111 + 511], red);
    EXPECT_EQ(f.FrameBuffer[512 * 112], blue);
    EXPECT_EQ(f.FrameBuffer[512 * 223 + 511], blue);
    const QImage shown = f.PreviewView->grabFramebuffer();
    EXPECT_EQ(shown.pixel(0, 0) | 0xFF000000u, qRgb(224, 0, 0));
    EXPECT_EQ(shown.pixel(shown.width() - 1, shown.height() - 1) | 0xFF000000u, qRgb(0, 0, 224));
    EXPECT_EQ(ReadFile("rom.bin"), rom);
}

TEST_F(LzhPage, EnterRunsTheOperationOfTheTabOnShowWhateverTheButtons) {
    MainForm& f = OpenOnLzhPage(app::DecompressionTab);
    TypeInto(f.LzhTableIndexEdit, "2");
    // A key other than Enter does nothing.
    QTest::keyClick(f.LzhTableIndexEdit, Qt::Key_Space);
    QTest::keyClick(f.LzhTableIndexEdit, Qt::Key_Backspace);
    EXPECT_TRUE(dialogs.clipboard.isEmpty());
    PressEnterIn(f.LzhTableIndexEdit);
    EXPECT_EQ(ReadFile("100_2.bin"), contents[2]);

    // With the button disabled (no output name) Enter still runs the decompression, which
    // then reports that there is no file to write.
    TypeInto(f.LzhDecompOutEdit, "");
    ASSERT_FALSE(f.LzhDecompressButton->isEnabled());
    dialogs.clipboard.clear();
    PressEnterIn(f.LzhTableOffsetEdit);
    EXPECT_EQ(dialogs.clipboard.size(), 1);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, "error");
    EXPECT_EQ(dialogs.boxes[0].caption, "Error");

    // On the compression tab Enter compresses, the button disabled as well.
    ClickTab(f.LzhModeTabs, app::CompressionTab);
    WriteFile("new.bin", handmade::Pattern(500, 7));
    TypeInto(f.LzhCompInEdit, "");
    ASSERT_FALSE(f.LzhCompressButton->isEnabled());
    f.LzhCompInEdit->setText(Folder() + "new.bin");
    TypeInto(f.LzhCompRomEdit, "");
    ASSERT_FALSE(f.LzhCompressButton->isEnabled());
    f.LzhCompRomEdit->setText(Folder() + "rom.bin");
    f.LzhCompressButton->setEnabled(false);
    PressEnterIn(f.LzhTableIndexEdit);
    EXPECT_EQ(Entry(2), handmade::Pattern(500, 7));
}

TEST_F(LzhPage, GrowthIsAskedAndNoLeavesTheRomUntouchedWhileYesMovesTheFollowingData) {
    MainForm& f = OpenOnLzhPage(app::CompressionTab);
    // As long as the old data (the table's decoded sizes stay as they are) but packing larger.
    const Bytes bigger = handmade::Noise(300, 9);
    WriteFile("bigger.bin", bigger);
    TypeInto(f.LzhCompInEdit, Folder() + "bigger.bin");
    const drovak::TableEntry before = TableEntryOf(2);

    dialogs.answers = {false};
    Click(f.LzhCompressButton);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, "question");
    EXPECT_EQ(dialogs.boxes[0].caption, "Warning");
    EXPECT_EQ(dialogs.boxes[0].text,
              "New size of the compressed data is greater then previous!\r\nDrovak may "
              "recalculate sizes table. Do you want to continue?");
    EXPECT_TRUE(dialogs.boxes[0].owned);
    EXPECT_EQ(ReadFile("rom.bin"), rom);

    dialogs.answers = {true};
    Click(f.LzhCompressButton);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    const uint32_t growth = static_cast<uint32_t>(handmade::LzhPacked(bigger).size() -
                                                  handmade::LzhPacked(contents[0]).size());
    EXPECT_EQ(Entry(0), bigger);
    EXPECT_EQ(Entry(1), contents[1]);
    EXPECT_EQ(Entry(2), contents[2]);
    EXPECT_EQ(TableEntryOf(2).DataOffset, before.DataOffset + growth);
    EXPECT_EQ(TableEntryOf(2).DecodedSize, before.DecodedSize);
    EXPECT_TRUE(dialogs.clipboard.isEmpty());
    EXPECT_EQ(ReadFile("rom.bin").size(), rom.size());
}

TEST_F(LzhPage, ShrinkingAsksNothingAndTheFollowingEntriesStillDecode) {
    MainForm& f = OpenOnLzhPage(app::CompressionTab);
    TypeInto(f.LzhTableIndexEdit, "1");
    const Bytes zeros(contents[1].size(), 0);
    const drovak::TableEntry before = TableEntryOf(2);
    WriteFile("small.bin", zeros);
    TypeInto(f.LzhCompInEdit, Folder() + "small.bin");
    Click(f.LzhCompressButton);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(Entry(0), contents[0]);
    EXPECT_EQ(Entry(1), zeros);
    EXPECT_EQ(Entry(2), contents[2]);
    EXPECT_LT(TableEntryOf(2).DataOffset, before.DataOffset);
}

TEST_F(LzhPage, FailuresAreShownWithTheFileAndNothingIsWritten) {
    MainForm& f = OpenOnLzhPage(app::CompressionTab);
    WriteFile("new.bin", handmade::Pattern(100, 2));

    // An index beyond the working table.
    TypeInto(f.LzhTableIndexEdit, "20");
    TypeInto(f.LzhCompInEdit, Folder() + "new.bin");
    Click(f.LzhCompressButton);
    // A data file that isn't there.
    TypeInto(f.LzhTableIndexEdit, "0");
    TypeInto(f.LzhCompInEdit, Folder() + "missing.bin");
    Click(f.LzhCompressButton);
    // A ROM that isn't there, for the decompression.
    ClickTab(f.LzhModeTabs, app::DecompressionTab);
    TypeInto(f.LzhDecompRomEdit, Folder() + "nothing.bin");
    Click(f.LzhDecompressButton);

    ASSERT_EQ(dialogs.boxes.size(), 3u);
    for (const FakeDialogs::Box& box : dialogs.boxes) {
        EXPECT_EQ(box.kind, "error");
        EXPECT_EQ(box.caption, "Error");
        EXPECT_TRUE(box.owned);
    }
    EXPECT_TRUE(dialogs.boxes[0].text.contains("rom.bin")) << dialogs.boxes[0].text.toStdString();
    EXPECT_TRUE(dialogs.boxes[1].text.contains("missing.bin"));
    EXPECT_TRUE(dialogs.boxes[2].text.contains("nothing.bin"));
    EXPECT_EQ(ReadFile("rom.bin"), rom);
    EXPECT_FALSE(drovak::FileExists(PathOf("0_0.bin")));
    EXPECT_FALSE(drovak::FileExists(PathOf("nothing.bin")));
    EXPECT_TRUE(dialogs.clipboard.isEmpty());
}

TEST_F(LzhPage, AnEnterReleasedWithoutItsPressInTheFieldRunsNothing) {
    MainForm& f = OpenOnLzhPage(app::DecompressionTab);
    // The Enter that closes a message box is pressed in the box and released in the field.
    f.LzhTableIndexEdit->setFocus();
    QTest::keyRelease(f.LzhTableIndexEdit, Qt::Key_Return);
    f.LzhDecompOutBrowse->setFocus();
    QTest::keyPress(f.LzhDecompOutBrowse, Qt::Key_Return);
    f.LzhTableIndexEdit->setFocus();
    QTest::keyRelease(f.LzhTableIndexEdit, Qt::Key_Return);
    EXPECT_TRUE(dialogs.clipboard.isEmpty());
    EXPECT_FALSE(drovak::FileExists(PathOf("100_0.bin")));

    // Held down, Enter runs the operation once, at its release.
    QTest::keyPress(f.LzhTableIndexEdit, Qt::Key_Return);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(f.LzhTableIndexEdit, &repeatRelease);
    QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(f.LzhTableIndexEdit, &repeatPress);
    QTest::keyRelease(f.LzhTableIndexEdit, Qt::Key_Return);
    EXPECT_EQ(dialogs.clipboard.size(), 1);
    EXPECT_EQ(ReadFile("100_0.bin"), contents[0]);
}
