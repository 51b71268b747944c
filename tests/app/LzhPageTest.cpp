// "LZH Compression" at work on a hand-made ROM image, and what a modder's round trip relies on:
// a preview that follows the ROM through a compress, an undo and a redo, a clear refusal of an
// index beyond the table, and the table list naming the game's entries.
#include "WindowTest.h"
#include "support/HandMadeRom.h"

#include "base/Paths.h"
#include "rom/LzhPage.h"

#include <QKeyEvent>
#include <sys/stat.h>

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
        MainForm& f = OpenWindow(app::MainPage::Lzh);
        ClickTab(Tabs("LzhModeTabs"), tab);
        TypeInto(Edit("LzhTableOffsetEdit"), "100");
        TypeInto(tab == app::ModeTab::Decompression ? Edit("LzhDecompRomEdit")
                                                    : Edit("LzhCompRomEdit"),
                 Folder() + "rom.bin");
        return f;
    }
    // The colour of the bottom left pixel of the sheet on show (the preview palette of
    // handmade::MakeRom: value 1 red, value 2 blue).
    uint32_t BottomLeft() { return Window().Document().FrameBuffer[223 * 512]; }
    Bytes Entry(uint32_t index) {
        return drovak::LzhExtractEntry(PathOf("rom.bin"), TABLE, index).data;
    }
    size_t PackedSize(uint32_t index) const {
        return handmade::Packed(contents[index], false).size();
    }

    std::vector<Bytes> contents;
    Bytes rom;
};

} // namespace

TEST_F(AppLzhPage, EnterDecompressesTheEntryPutsItsPackedSizeOnTheClipboardAndShowsTheSheet) {
    MainForm& f = OpenOnLzhPage(app::ModeTab::Decompression);
    TypeInto(Edit("LzhTableIndexEdit"), "1");
    ASSERT_EQ(Edit("LzhDecompOutEdit")->text(), Folder() + "100_1.bin");
    // Other keys do nothing, nor does the Enter that closes a message box: pressed in the box,
    // released in the field.
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Backspace})
        QTest::keyClick(Edit("LzhTableIndexEdit"), key);
    Button("LzhDecompOutBrowse")->setFocus();
    QTest::keyPress(Button("LzhDecompOutBrowse"), Qt::Key_Return);
    Edit("LzhTableIndexEdit")->setFocus();
    QTest::keyRelease(Edit("LzhTableIndexEdit"), Qt::Key_Return);
    EXPECT_TRUE(dialogs.clipboard.isEmpty());
    EXPECT_FALSE(drovak::FileExists(PathOf("100_1.bin")));

    // Held down, Enter runs the operation once, at its release, whatever the button.
    Button("LzhDecompressButton")->setEnabled(false);
    QTest::keyPress(Edit("LzhTableIndexEdit"), Qt::Key_Return);
    for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent repeat(type, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(Edit("LzhTableIndexEdit"), &repeat);
    }
    QTest::keyRelease(Edit("LzhTableIndexEdit"), Qt::Key_Return);
    ASSERT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(ReadFile("100_1.bin"), contents[1]);
    EXPECT_EQ((std::tuple{dialogs.clipboard, f.Document().RomPath, ReadFile("rom.bin")}),
              (std::tuple{QStringList{QString::number(PackedSize(1))}, Folder() + "rom.bin", rom}));
    // The 512 x 224 sheet: the first 896 tiles (the top half) red, the rest blue, upright.
    EXPECT_EQ(f.Document().FrameBuffer[512 * 111 + 511], 224u);
    EXPECT_EQ(f.Document().FrameBuffer[512 * 112], 224u << 16);
    const QImage shown = Shown();
    EXPECT_EQ(At(shown, 0, 0), qRgb(224, 0, 0));
    EXPECT_EQ(At(shown, -1, -1), qRgb(0, 0, 224));
}

TEST_F(AppLzhPage, GrowthIsAskedNoLeavesTheRomUntouchedYesMovesTheFollowingData) {
    MainForm& f = OpenOnLzhPage(app::ModeTab::Compression);
    // As long as the old data but packing larger; zero bytes after the table's data.
    const Bytes bigger = handmade::Noise(300, 9);
    WriteFile("bigger.bin", bigger);
    TypeInto(Edit("LzhCompInEdit"), Folder() + "bigger.bin");
    dialogs.answers = {false};
    Click(Button("LzhCompressButton"));
    size_t dataEnd = TABLE + 2 + 12 * contents.size();
    for (const Bytes& content : contents) dataEnd += handmade::Packed(content, false).size();
    const size_t grown = handmade::Packed(bigger, false).size() - PackedSize(0);
    EXPECT_EQ(dialogs.boxes,
              QStringList("question Warning owned: New size of the compressed data is greater "
                          "then previous!\r\nDrovak may recalculate sizes table. Do you want to "
                          "continue?\r\n" +
                          QString("%1 bytes after the table's data will be overwritten, from 0x%2 "
                                  "on; 0 of them are not 00 or FF.")
                              .arg(grown)
                              .arg(QString::number(dataEnd, 16).toUpper())));
    EXPECT_EQ(ReadFile("rom.bin"), rom);
    EXPECT_TRUE(f.StatusText().isEmpty());

    // Enter compresses on this tab too, whatever the button; the status line says what was
    // written.
    dialogs.answers = {true};
    Button("LzhCompressButton")->setEnabled(false);
    PressEnterIn(Edit("LzhTableIndexEdit"));
    EXPECT_EQ(dialogs.Kinds(), "question,question");
    EXPECT_TRUE(dialogs.clipboard.isEmpty());
    EXPECT_EQ(ReadFile("rom.bin"), handmade::MakeRom(TABLE, {bigger, contents[1], contents[2]}));
    EXPECT_TRUE(Starts(
        f.StatusText(),
        "rom.bin written; the previous image is kept as rom.bin.bak; header checksum wrong"));
    EXPECT_TRUE(Holds(f.StatusText(), " bytes, 2 entries moved.")) << f.StatusText().toStdString();
}

// A decoded size inside a copy: the file saved from the entry holds the copy whole; compressed
// back, the entry keeps its decoded size, and the status line says so.
TEST_F(AppLzhPage, ADecodedSizeInsideACopyStaysAndTheStatusSaysSo) {
    drovak::StoreBigEndian32(&rom[drovak::EntryPosition(TABLE, 0) + 4], 10);
    WriteFile("rom.bin", rom);
    const Bytes saved = Entry(0);
    WriteFile("saved.bin", saved);
    MainForm& f = OpenOnLzhPage(app::ModeTab::Compression);
    TypeInto(Edit("LzhTableIndexEdit"), "0");
    TypeInto(Edit("LzhCompInEdit"), Folder() + "saved.bin");
    dialogs.answers = {true};
    Click(Button("LzhCompressButton"));
    EXPECT_TRUE(
        Holds(f.StatusText(),
              QString("Its decoded size stays 10: the %1 bytes past it").arg(saved.size() - 10)))
        << f.StatusText().toStdString();
}

// Each refusal comes before any question, names the field or the file, and writes nothing (the
// refusals themselves: RomLzhPage.RefusalsNameTheRomAndBuildNothing, RomHexField); a ROM no one
// may write is refused too.
TEST_F(AppLzhPage, FailuresAreShownWithTheFileAndNothingIsWritten) {
    OpenOnLzhPage(app::ModeTab::Compression);
    WriteFile("new.bin", Bytes(100, 2));
    ::chmod(PathOf("rom.bin").c_str(), 0444);
    const struct {
        app::ModeTab tab;
        QLineEdit* field;
        QString text, shown;
    } cases[] = {
        {app::ModeTab::Compression, Edit("LzhTableIndexEdit"), "zz", "Table Index (HEX): \"zz\""},
        {app::ModeTab::Compression, Edit("LzhTableOffsetEdit"), "", "Table offset (HEX): \"\""},
        {app::ModeTab::Decompression, Edit("LzhDecompOutEdit"), Folder() + "./rom.bin",
         Folder() + "./rom.bin: is the ROM image " + Folder() + "rom.bin itself"},
        {app::ModeTab::Decompression, Edit("LzhDecompRomEdit"), Folder() + "nothing.bin",
         "nothing.bin"},
        {app::ModeTab::Compression, Edit("LzhTableIndexEdit"), "1",
         "read-only; nothing was written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        dialogs.boxes.clear();
        TypeInto(Edit("LzhTableOffsetEdit"), "100");
        TypeInto(Edit("LzhTableIndexEdit"), "1");
        ClickTab(Tabs("LzhModeTabs"), c.tab);
        TypeInto(Edit("LzhDecompRomEdit"), Folder() + "rom.bin");
        TypeInto(c.field, c.text);
        TypeInto(Edit("LzhCompInEdit"), Folder() + "new.bin");
        PressEnterIn(Edit("LzhTableIndexEdit"));
        ASSERT_EQ(dialogs.boxes.size(), 1) << dialogs.boxes.join('\n').toStdString();
        EXPECT_TRUE(dialogs.boxes[0].startsWith("error Error owned: ") &&
                    dialogs.boxes[0].contains(c.shown))
            << dialogs.boxes[0].toStdString();
    }
    ::chmod(PathOf("rom.bin").c_str(), 0644);
    EXPECT_EQ(ReadFile("rom.bin"), rom);
    EXPECT_FALSE(drovak::FileExists(PathOf("100_1.bin")) ||
                 drovak::FileExists(PathOf("nothing.bin")) ||
                 drovak::FileExists(PathOf("rom.bin.bak")));
    EXPECT_TRUE(dialogs.clipboard.isEmpty());
}

// An empty input and a decompress over an edited data file are asked about first (No by
// default; the empty input shrinks the entry, which asks nothing more); Ctrl+Z outside a field
// asks too, then swaps the ROM and its backup, and a second one redoes.
TEST_F(AppLzhPage, EmptyInputEditedDataFileAndCtrlZAreAskedAbout) {
    MainForm& f = OpenOnLzhPage(app::ModeTab::Compression);
    TypeInto(Edit("LzhTableIndexEdit"), "1");
    WriteFile("empty.bin", {});
    TypeInto(Edit("LzhCompInEdit"), Folder() + "empty.bin");
    for (bool yes : {false, true}) {
        dialogs.answers = {yes};
        Click(Button("LzhCompressButton"));
        EXPECT_EQ(Entry(1), yes ? Bytes{} : contents[1]);
    }
    const QString emptyQuestion =
        QString("question Warning owned: The file empty.bin is empty!\r\nEntry 0x1 will hold no "
                "data, and the data of the entries after it moves back by %1 bytes. Do you want "
                "to continue?")
            .arg(PackedSize(1));
    EXPECT_EQ(dialogs.boxes, QStringList({emptyQuestion, emptyQuestion}));
    const Bytes changed = ReadFile("rom.bin");

    dialogs.boxes.clear();
    Preview()->setFocus();
    const std::pair<bool, const Bytes*> undos[] = {
        {false, &changed}, {true, &rom}, {true, &changed}};
    for (const auto& [yes, now] : undos) {
        dialogs.answers = {yes};
        CtrlZ();
        ExpectUndoQuestion("rom.bin");
        EXPECT_EQ(ReadFile("rom.bin"), *now);
    }
    EXPECT_EQ(Edit("LzhCompInEdit")->text(), Folder() + "empty.bin"); // not a field's undo
    EXPECT_TRUE(Starts(f.StatusText(), "rom.bin: last change undone, kept as rom.bin.bak"));

    // Decompress over a data file that holds something else: No keeps it, Yes replaces it;
    // the same content again asks nothing.
    ClickTab(Tabs("LzhModeTabs"), app::ModeTab::Decompression);
    TypeInto(Edit("LzhDecompRomEdit"), Folder() + "rom.bin");
    TypeInto(Edit("LzhTableIndexEdit"), "2");
    WriteFile("100_2.bin", {1, 2, 3});
    dialogs.boxes.clear();
    for (bool yes : {false, true, true}) {
        dialogs.answers = {yes};
        Click(Button("LzhDecompressButton"));
        EXPECT_EQ(ReadFile("100_2.bin"), yes ? contents[2] : Bytes({1, 2, 3}));
    }
    const QString replace = "question Warning owned: The file 100_2.bin already exists and "
                            "holds other data!\r\nDo you want to replace it?";
    EXPECT_EQ(dialogs.boxes, QStringList({replace, replace}));

    // Without a backup, Ctrl+Z says so.
    std::filesystem::remove(PathOf("rom.bin.bak"));
    CtrlZ(Preview());
    EXPECT_TRUE(dialogs.boxes.last().startsWith("error Error owned: ") &&
                dialogs.boxes.last().contains("no backup"));
}

// A double click on "Table Index (HEX)", or its context menu, lists the table's entries as
// drovak-cli lzh-list does; the entry chosen fills the field.
TEST_F(AppLzhPage, TheTableListFillsTheIndexField) {
    MainForm& f = OpenOnLzhPage(app::ModeTab::Decompression);
    dialogs.rowChoices = {2};
    QTest::mouseDClick(Edit("LzhTableIndexEdit"), Qt::LeftButton);
    EXPECT_EQ(Edit("LzhTableIndexEdit")->text(), "2");
    EXPECT_FALSE(Edit("LzhTableIndexEdit")->hasSelectedText()); // the click is the list's alone
    EXPECT_EQ(Edit("LzhDecompOutEdit")->text(), Folder() + "100_2.bin");
    // The column names and a row per entry (the cells: RomLzhPage.ListShows...).
    ASSERT_EQ(dialogs.listsShown.size(), 1u);
    ASSERT_EQ(dialogs.listsShown[0].size(), 4u);
    EXPECT_EQ(dialogs.listsShown[0][0].join(","),
              "Index,DataOffset,DecodedSize,PackedSize,Decodes,Holds");
    EXPECT_EQ(
        dialogs.listsShown[0][3].join(","),
        QString("0x2,0x%1,500,%2,yes,").arg(dialogs.listsShown[0][3][1].mid(2)).arg(PackedSize(2)));

    // The field's own menu carries the list; cancelled, the field stays as it was.
    QWidget* menu = OpenContextMenu(Edit("LzhTableIndexEdit"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions().contains(Control<QAction>("TableListAction")));
    menu->close();
    Control<QAction>("TableListAction")->trigger();
    EXPECT_EQ(Edit("LzhTableIndexEdit")->text(), "2");

    // The status line after a decompress.
    Click(Button("LzhDecompressButton"));
    EXPECT_EQ(f.StatusText(), QString("Decompressed entry 0x2 of the table at 0x100: 500 bytes "
                                      "written to 100_2.bin (%1 bytes packed).")
                                  .arg(PackedSize(2)));
    dialogs.rowChoices = {0}; // the first row too
    Control<QAction>("TableListAction")->trigger();
    EXPECT_EQ(Edit("LzhTableIndexEdit")->text(), "0");
    // The list marks the entry in the field, none past the last; a row past the last, which no
    // list of three gives, changes nothing.
    TypeInto(Edit("LzhTableIndexEdit"), "3");
    dialogs.rowChoices = {3};
    Control<QAction>("TableListAction")->trigger();
    EXPECT_EQ(std::vector(dialogs.rowsMarked.begin() + 1, dialogs.rowsMarked.end()),
              (std::vector{2, 2, -1}));
    EXPECT_EQ(Edit("LzhTableIndexEdit")->text(), "3");
}

TEST_F(AppLzhPage, ThePreviewFollowsTheRomThroughACompressAnUndoAndARedo) {
    constexpr uint32_t RED = 0x0000E0, BLUE = 0xE00000;
    WriteFile("red.bin", handmade::TwoColourTiles(1792));
    OpenOnLzhPage(app::ModeTab::Compression);
    TypeInto(Edit("LzhTableIndexEdit"), "1");
    TypeInto(Edit("LzhCompInEdit"), Folder() + "red.bin");
    dialogs.answers = {true};
    Click(Button("LzhCompressButton"));
    const Bytes changed = ReadFile("rom.bin");
    ASSERT_NE(changed, rom);
    // The preview draws what was just written.
    EXPECT_EQ(BottomLeft(), RED);

    // Ctrl+Z on the preview undoes the change; the preview draws the entry as the ROM now holds
    // it. (In a field Ctrl+Z is the field's own: AppRlePage.CompressWrites...)
    dialogs.boxes.clear();
    ClickPreview();
    UndoOnPreview();
    ASSERT_EQ(dialogs.boxes.size(), 1);
    ExpectUndoQuestion("rom.bin");
    EXPECT_EQ((std::tuple{ReadFile("rom.bin"), BottomLeft()}), (std::tuple{rom, BLUE}));

    // The preview's menu offers the same, named after the page's ROM; it redoes.
    QAction* undo = Control<QAction>("UndoChangeAction");
    ASSERT_EQ(OpenContextMenu(Preview()), Control<QMenu>("PreviewMenu"));
    EXPECT_TRUE(undo->isVisible() && undo->isEnabled());
    EXPECT_EQ(undo->text(), "Undo the last change to rom.bin...");
    Control<QMenu>("PreviewMenu")->close();
    dialogs.answers = {true};
    undo->trigger();
    EXPECT_EQ((std::tuple{ReadFile("rom.bin"), BottomLeft()}), (std::tuple{changed, RED}));

    // Not on the other pages.
    ClickTab(Tabs("PageTabs"), app::MainPage::Title);
    ASSERT_EQ(OpenContextMenu(Preview()), Control<QMenu>("PreviewMenu"));
    EXPECT_FALSE(undo->isVisible());
    Control<QMenu>("PreviewMenu")->close();
}

// An index beyond the table is refused with the table's count, nothing read or written; the
// game's table names what its level entries hold.
TEST_F(AppLzhPage, TheTableSaysWhatItHoldsAndRefusesAnIndexBeyondIt) {
    PutDemoRom();
    const Bytes demo = ReadFile("tf3.bin");
    OpenWindow(app::MainPage::Lzh);
    ClickTab(Tabs("LzhModeTabs"), app::ModeTab::Decompression);
    TypeInto(Edit("LzhTableIndexEdit"), "40");
    Click(Button("LzhDecompressButton"));
    EXPECT_EQ(dialogs.boxes,
              QStringList("error Error owned: " + Folder() +
                          "tf3.bin: entry 0x40 is beyond the table at 0x20000, which has 32 "
                          "entries; nothing was read or written"));
    EXPECT_FALSE(drovak::FileExists(PathOf("20000_40.bin")));
    EXPECT_EQ(ReadFile("tf3.bin"), demo);

    Control<QAction>("TableListAction")->trigger();
    ASSERT_EQ(dialogs.listsShown.size(), 1u);
    const std::vector<QStringList>& rows = dialogs.listsShown[0];
    ASSERT_EQ(rows.size(), 33u);
    EXPECT_EQ((std::tuple{rows[0].last(), rows[1 + 0x8].last(), rows[1 + 0x12].last(),
                          rows[1 + 0x1F].last()}),
              (std::tuple{"Holds", "tile art, level 1", "blocks, level 3", ""}));
}
