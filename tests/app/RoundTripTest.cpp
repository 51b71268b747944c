// What a modder's round trip relies on in the window: Ctrl+Z that belongs to the field it is
// typed in, a preview that follows the ROM through a compress, an undo and a redo, a clear
// refusal of an index beyond the table, and the table list naming the game's entries.
#include "WindowTest.h"
#include "support/HandMadeRom.h"

#include "base/Paths.h"
#include "rom/LzhPage.h"

using handmade::Bytes;

namespace {

constexpr uint32_t TABLE = 0x100;
// The preview palette of handmade::MakeRom: value 1 red, value 2 blue.
constexpr uint32_t RED = 0x0000E0, BLUE = 0xE00000;

using AppRoundTrip = WindowTest;

// The colour of the bottom left pixel of the sheet on show.
uint32_t BottomLeft(const MainForm& f) {
    return f.Document().FrameBuffer[223 * 512];
}

} // namespace

TEST_F(AppRoundTrip, CtrlZBelongsToTheFieldAndThePreviewFollowsTheRom) {
    // Entry 1: the top half of the sheet red, the bottom half blue.
    const Bytes rom = handmade::MakeRom(TABLE, {Bytes(300, 7), handmade::TwoColourTiles(896)});
    WriteFile("rom.bin", rom);
    WriteFile("red.bin", handmade::TwoColourTiles(1792));
    MainForm& f = OpenWindow(app::MainPage::Lzh);
    ClickTab(Tabs("LzhModeTabs"), app::ModeTab::Compression);
    TypeInto(Edit("LzhTableOffsetEdit"), "100");
    TypeInto(Edit("LzhTableIndexEdit"), "1");
    TypeInto(Edit("LzhCompRomEdit"), Folder() + "rom.bin");
    TypeInto(Edit("LzhCompInEdit"), Folder() + "red.bin");
    dialogs.answers = {true};
    Click(Button("LzhCompressButton"));
    const Bytes changed = ReadFile("rom.bin");
    ASSERT_NE(changed, rom);
    // The preview draws what was just written.
    EXPECT_EQ(BottomLeft(f), RED);

    // In a field, Ctrl+Z undoes the typing and asks nothing.
    dialogs.boxes.clear();
    TypeInto(Edit("LzhCompInEdit"), "typed");
    CtrlZ(Edit("LzhCompInEdit"));
    EXPECT_NE(Edit("LzhCompInEdit")->text(), "typed");
    EXPECT_TRUE(dialogs.boxes.isEmpty()) << dialogs.boxes.join("|").toStdString();
    EXPECT_EQ(ReadFile("rom.bin"), changed);

    // On the preview it undoes the change; the preview draws the entry as the ROM now holds it.
    ClickPreview();
    UndoOnPreview();
    ASSERT_EQ(dialogs.boxes.size(), 1);
    ExpectUndoQuestion("rom.bin");
    EXPECT_EQ((std::tuple{ReadFile("rom.bin"), BottomLeft(f)}), (std::tuple{rom, BLUE}));

    // The preview's menu offers the same, named; it redoes.
    ASSERT_EQ(OpenContextMenu(Preview()), Control<QMenu>("PreviewMenu"));
    EXPECT_TRUE(Control<QAction>("UndoChangeAction")->isVisible() &&
                Control<QAction>("UndoChangeAction")->isEnabled());
    EXPECT_EQ(Control<QAction>("UndoChangeAction")->text(), "Undo the last change to rom.bin...");
    Control<QMenu>("PreviewMenu")->close();
    dialogs.answers = {true};
    Control<QAction>("UndoChangeAction")->trigger();
    EXPECT_EQ((std::tuple{ReadFile("rom.bin"), BottomLeft(f)}), (std::tuple{changed, RED}));

    // Not on the other pages.
    ClickTab(Tabs("PageTabs"), app::MainPage::Title);
    ASSERT_EQ(OpenContextMenu(Preview()), Control<QMenu>("PreviewMenu"));
    EXPECT_FALSE(Control<QAction>("UndoChangeAction")->isVisible());
    Control<QMenu>("PreviewMenu")->close();
}

// An index beyond the table is refused with the table's count, nothing read or written; the
// game's table names what its level entries hold.
TEST_F(AppRoundTrip, TheTableSaysWhatItHoldsAndRefusesAnIndexBeyondIt) {
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
