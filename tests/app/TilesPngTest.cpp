// A sheet's tiles saved as an indexed PNG from the preview's menu, laid out as the preview shows
// them, changed in an image editor (an RGB copy that drops the records, an indexed copy with its
// palette reordered) and put back through "Compress from:", on both compression pages.
#include "WindowTest.h"
#include "support/HandMadeRom.h"
#include "support/LibpngCodec.h"

#include "rom/LzhPage.h"
#include "rom/RlePage.h"

#include <QFileInfo>
#include <functional>

using handmade::Bytes;
namespace test = drovak::test;

namespace {

constexpr uint32_t TABLE = 0x100;
constexpr uint32_t BLOCK = 0x48120;

// 1000 bytes of pixel values 0, 1 and 2 (black, red, blue): 31 tiles and a quarter; one byte
// holds value 3, black too, which an RGB copy gives back as the data it replaces has it.
Bytes ThreeColourData() {
    Bytes data(1000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t((i % 3) << 4 | (i / 3) % 3);
    data[500] = 0x33;
    return data;
}

// An RGB copy of the indexed picture (512 pixels wide) without its records, pixel (x, y) in
// `colour`.
Bytes EditedCopy(const Bytes& indexed, uint32_t x, uint32_t y, png_color colour) {
    return test::EditorCopy(indexed, PNG_COLOR_TYPE_RGB, 8, 257, 0, 512 * y + x, colour);
}

// An indexed copy without its records whose palette has values 1 and 2 swapped, the pixels
// with them: the same picture.
Bytes ReorderedCopy(const Bytes& indexed) {
    test::LibpngPicture picture = test::DecodeWithLibpng(indexed);
    picture.bitDepth = 8;
    std::swap(picture.palette[1], picture.palette[2]);
    for (uint16_t& sample : picture.samples)
        if (sample == 1 || sample == 2) sample = uint16_t(3 - sample);
    return test::EncodeWithLibpng(picture);
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
        std::string prefix; // of the page's controls' names
        const char *hex, *at;
        std::function<Bytes()> readBack;
        // The sheet's height, the picture's tiles, and a pixel past the data's tiles.
        uint32_t height, pictureTiles, pastX, pastY;
    } pages[] = {
        {app::MainPage::Lzh, "Lzh", "LzhTableOffsetEdit", "100",
         [&] { return drovak::LzhExtractEntry(PathOf("rom.bin"), TABLE, 1).data; }, 8, 64, 321, 3},
        // Cells of 1 x 4 tiles: 8 of them hold the 32 tiles.
        {app::MainPage::Rle, "Rle", "RleOffsetEdit", "48120",
         [&] { return drovak::RleExtractAt(PathOf("rom.bin"), BLOCK).data; }, 32, 256, 81, 10},
    };
    TypeInto(Edit("LzhTableIndexEdit"), "1");
    for (const auto& p : pages) {
        SCOPED_TRACE(p.prefix);
        const auto edit = [&](const char* name) { return Edit((p.prefix + name).c_str()); };
        QTabWidget* modes = Tabs((p.prefix + "ModeTabs").c_str());
        QPushButton* compress = Button((p.prefix + "CompressButton").c_str());
        WriteFile("rom.bin", rom);
        ClickTab(Tabs("PageTabs"), p.page);
        ClickTab(modes, app::ModeTab::Decompression);
        TypeInto(Edit(p.hex), p.at);
        TypeInto(edit("DecompRomEdit"), romPath);
        // The preview's menu offers the sheet once there is one (its state is set as it opens).
        const auto offered = [&] {
            OpenContextMenu(Preview());
            Control<QMenu>("PreviewMenu")->close();
            const QAction* save = Control<QAction>("SaveTilesAction");
            return std::pair(save->isVisible(), save->isEnabled());
        };
        EXPECT_TRUE(p.page != app::MainPage::Lzh || offered() == std::pair(true, false));
        Click(Button((p.prefix + "DecompressButton").c_str()));
        EXPECT_EQ(offered(), std::pair(true, true));
        dialogs.picks = {Folder() + "tiles.png"};
        Control<QAction>("SaveTilesAction")->trigger();
        // The dialog suggests the data file's name.
        EXPECT_EQ(dialogs.dialogRuns.back().second.fileName,
                  QFileInfo(edit("DecompOutEdit")->text()).completeBaseName() + ".png");
        EXPECT_TRUE(Starts(f.StatusText(), "32 tiles (1000 bytes) saved as tiles.png"));
        const Bytes png = ReadFile("tiles.png");
        // Every pixel of the sheet is the preview's.
        const test::LibpngPicture sheet = test::DecodeWithLibpng(png);
        ASSERT_EQ(std::tie(sheet.width, sheet.height), std::tuple(512u, p.height));
        int different = 0;
        for (uint32_t at = 0; at < sheet.samples.size(); ++at) {
            const png_color colour = sheet.palette.at(sheet.samples[at]);
            const uint32_t shown = f.Document().FrameBuffer[at];
            different += qRgb(colour.red, colour.green, colour.blue) != Rgb(shown);
        }
        EXPECT_EQ(different, 0);

        ClickTab(modes, app::ModeTab::Compression);
        TypeInto(edit("CompInEdit"), Folder() + "edited.png");
        TypeInto(edit("CompRomEdit"), romPath);
        dialogs.boxes.clear();
        // A colour that is not in the palette is refused; drawing beyond the 1000 bytes is asked
        // about (No); the first pixel made blue goes in, 1000 bytes as before.
        WriteFile("edited.png", EditedCopy(png, 3, 0, {0, 255, 0}));
        Click(compress);
        WriteFile("edited.png", EditedCopy(png, p.pastX, p.pastY, {224, 0, 0}));
        Click(compress);
        ASSERT_EQ(dialogs.Kinds(), "error,question");
        EXPECT_TRUE(Holds(dialogs.boxes[0], "#00FF00 at x 3, y 0 is not in palette line 0"));
        EXPECT_TRUE(
            Holds(dialogs.boxes[1],
                  QString("the pixel at x %1, y %2 is not blank").arg(p.pastX).arg(p.pastY)));
        EXPECT_EQ(ReadFile("rom.bin"), rom);

        WriteFile("edited.png", EditedCopy(png, 0, 0, {0, 0, 224}));
        dialogs.answers = {true, true};
        Click(compress);
        Bytes expected = data;
        expected[0] = 0x20;
        EXPECT_EQ(p.readBack(), expected);
        EXPECT_TRUE(Holds(
            f.StatusText(),
            QString("edited.png: %1 tiles in the picture, 32 tiles (1000 bytes) compressed, as "
                    "many as the data it replaces.")
                .arg(p.pictureTiles)));
        // The preview shows what was written.
        EXPECT_EQ(f.Document().FrameBuffer[0], 0xE00000u)
            << std::hex << f.Document().FrameBuffer[0]; // blue
        dialogs.answers.clear();

        // The palette reordered by an editor: the colours decide, and the status line says so
        // first.
        WriteFile("reordered.png", ReorderedCopy(png));
        TypeInto(edit("CompInEdit"), Folder() + "reordered.png");
        dialogs.boxes.clear();
        dialogs.answers = {true, true};
        Click(compress);
        dialogs.answers.clear();
        EXPECT_EQ(p.readBack(), data);
        EXPECT_TRUE(Starts(
            f.StatusText(),
            "The palette of reordered.png is not palette line 0 of the palette at 0x5A000 in " +
                romPath +
                " in its order: each pixel took the value of its colour. rom.bin written"));
        EXPECT_EQ(f.Document().FrameBuffer[0], 0u); // black again
    }
}
