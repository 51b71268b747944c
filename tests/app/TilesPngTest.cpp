// A sheet's tiles saved as an indexed PNG from the preview's menu, changed in an image editor (an
// RGB copy that drops the recorded length) and put back through "Compress from:", on both
// compression pages.
#include "WindowTest.h"
#include "support/HandMadeRom.h"
#include "support/LibpngCodec.h"

#include "rom/LzhPage.h"
#include "rom/RlePage.h"

#include <QAction>
#include <functional>

using handmade::Bytes;
namespace test = drovak::test;

namespace {

constexpr uint32_t TABLE = 0x100;
constexpr uint32_t BLOCK = 0x48120;

// 1000 bytes of pixel values 0, 1 and 2 (black, red, blue): 31 tiles and a quarter.
Bytes ThreeColourData() {
    Bytes data(1000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t((i % 3) << 4 | (i / 3) % 3);
    return data;
}

// An RGB copy of the indexed picture (16 tiles, 128 pixels wide) without its recorded length,
// pixel (x, y) in `colour`.
Bytes EditedCopy(const Bytes& indexed, uint32_t x, uint32_t y, png_color colour) {
    return test::EditorCopy(indexed, PNG_COLOR_TYPE_RGB, 8, 257, 0, 128 * y + x, colour);
}

using AppTilesPng = WindowTest;

} // namespace

TEST_F(AppTilesPng, TilesRoundTripThroughAnImageEditorIntoTheRom) {
    const Bytes data = ThreeColourData();
    Bytes rom = handmade::MakeRom(TABLE, {Bytes(300, 7), data});
    handmade::Put(rom, BLOCK, handmade::Packed(data, true));
    WriteFile("rom.bin", rom);
    MainForm& f = OpenWindow();
    const QString romPath = Folder() + "rom.bin";
    const struct {
        app::MainPage page;
        QTabWidget* modes;
        QLineEdit *hex, *decompRom, *compRom, *compIn;
        QPushButton *decompress, *compress;
        std::function<Bytes()> readBack;
    } pages[] = {
        {app::MainPage::Lzh, Tabs("LzhModeTabs"), Edit("LzhTableOffsetEdit"),
         Edit("LzhDecompRomEdit"), Edit("LzhCompRomEdit"), Edit("LzhCompInEdit"),
         Button("LzhDecompressButton"), Button("LzhCompressButton"),
         [&] { return drovak::LzhExtractEntry(PathOf("rom.bin"), TABLE, 1).data; }},
        {app::MainPage::Rle, Tabs("RleModeTabs"), Edit("RleOffsetEdit"), Edit("RleDecompRomEdit"),
         Edit("RleCompRomEdit"), Edit("RleCompInEdit"), Button("RleDecompressButton"),
         Button("RleCompressButton"),
         [&] { return drovak::RleExtractAt(PathOf("rom.bin"), BLOCK).data; }},
    };
    TypeInto(Edit("LzhTableIndexEdit"), "1");
    for (const auto& p : pages) {
        SCOPED_TRACE(app::TabIndex(p.page));
        WriteFile("rom.bin", rom);
        ClickTab(Tabs("PageTabs"), p.page);
        ClickTab(p.modes, app::ModeTab::Decompression);
        TypeInto(p.hex, QString::number(p.page == app::MainPage::Lzh ? TABLE : BLOCK, 16));
        TypeInto(p.decompRom, romPath);
        Click(p.decompress);
        dialogs.picks = {Folder() + "tiles.png"};
        Control<QAction>("SaveTilesAction")->trigger();
        EXPECT_TRUE(f.StatusText().startsWith("32 tiles (1000 bytes) saved as tiles.png"))
            << f.StatusText().toStdString();
        const Bytes png = ReadFile("tiles.png");

        ClickTab(p.modes, app::ModeTab::Compression);
        TypeInto(p.compIn, Folder() + "edited.png");
        TypeInto(p.compRom, romPath);
        dialogs.boxes.clear();
        // A colour that is not in the palette is refused; drawing beyond the 1000 bytes is asked
        // about (No); the first pixel made blue goes in, 1000 bytes as before.
        WriteFile("edited.png", EditedCopy(png, 3, 0, {0, 255, 0}));
        Click(p.compress);
        WriteFile("edited.png", EditedCopy(png, 121, 10, {224, 0, 0}));
        Click(p.compress);
        ASSERT_EQ(dialogs.Kinds(), "error,question");
        EXPECT_TRUE(dialogs.boxes[0].contains("#00FF00 at x 3, y 0 is not in palette line 0"))
            << dialogs.boxes[0].toStdString();
        EXPECT_TRUE(dialogs.boxes[1].contains("the pixel at x 121, y 10 is not blank"))
            << dialogs.boxes[1].toStdString();
        EXPECT_EQ(ReadFile("rom.bin"), rom);

        WriteFile("edited.png", EditedCopy(png, 0, 0, {0, 0, 224}));
        dialogs.answers = {true, true};
        Click(p.compress);
        Bytes expected = data;
        expected[0] = 0x20;
        EXPECT_EQ(p.readBack(), expected);
        EXPECT_TRUE(f.StatusText().contains(
            "edited.png: 32 tiles in the picture, 32 tiles (1000 bytes) compressed, as many as "
            "the data it replaces."))
            << f.StatusText().toStdString();
        dialogs.answers.clear();
    }
}
