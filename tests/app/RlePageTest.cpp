// "RLE Compression" driven through its controls on hand-made ROM images.
#include "HandMadeRom.h"
#include "WindowTest.h"

#include "compression/Stream.h"
#include "graphics/Renderer.h"
#include "preview/PreviewView.h"
#include "rom/RomFile.h"

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using drovak::app::MainForm;
using handmade::Bytes;
namespace app = drovak::app;

namespace {

constexpr uint32_t ROM_SIZE = 0x5A080;
constexpr uint32_t BLOCK = 0x200;

class RlePage : public WindowTest {
protected:
    // The block 12 34 56 78 at 0x200 (12 bytes), 0xAA bytes behind it, the preview palette
    // with colour 1 red and colour 2 blue.
    void SetUp() override {
        rom = Bytes(ROM_SIZE, 0);
        handmade::PutBytes(rom, BLOCK, Bytes(64, 0xAA));
        handmade::PutBytes(rom, BLOCK, handmade::RlePacked({0x12, 0x34, 0x56, 0x78}));
        handmade::PutPalette(rom, drovak::PREVIEW_PALETTE_OFFSET, {0, 0x000E, 0x0E00});
        WriteFile("rom.bin", rom);
    }

    MainForm& OpenOnRlePage(int tab) {
        MainForm& f = OpenWindow();
        ClickTab(f.PageTabs, app::RlePage);
        ClickTab(f.RleModeTabs, tab);
        TypeInto(f.RleOffsetEdit, "200");
        TypeInto(tab == app::DecompressionTab ? f.RleDecompRomEdit : f.RleCompRomEdit,
                 Folder() + "rom.bin");
        return f;
    }

    void Compress(MainForm& f, const Bytes& input) {
        WriteFile("in.bin", input);
        TypeInto(f.RleCompInEdit, Folder() + "in.bin");
        Click(f.RleCompressButton);
    }

    Bytes RomAt(uint32_t offset, size_t count) {
        const Bytes now = ReadFile("rom.bin");
        return Bytes(now.begin() + offset, now.begin() + offset + count);
    }

    Bytes rom;
};

} // namespace

TEST_F(WindowTest, RleSuggestedNameIsTheRomFolderAndTheOffsetAsTyped) {
    MainForm& f = OpenWindow();
    ClickTab(f.PageTabs, app::RlePage);
    TypeInto(f.RleDecompRomEdit, "/data/tf3.bin");
    EXPECT_EQ(f.RleDecompOutEdit->text(), "/data/48120.bin");
    EXPECT_EQ(f.RleCompInEdit->text(), "/data/48120.bin");
    TypeInto(f.RleOffsetEdit, "1F000");
    EXPECT_EQ(f.RleDecompOutEdit->text(), "/data/1F000.bin");
    TypeInto(f.RleDecompRomEdit, "C:tf3.bin");
    EXPECT_EQ(f.RleCompInEdit->text(), "C:1F000.bin");
    TypeInto(f.RleDecompRomEdit, "tf3.bin");
    EXPECT_EQ(f.RleCompInEdit->text(), "1F000.bin");
    EXPECT_TRUE(f.RleDecompressButton->isEnabled());

    TypeInto(f.RleDecompOutEdit, "typed.bin");
    EXPECT_EQ(f.RleDecompOutEdit->text(), "typed.bin");
    EXPECT_EQ(f.RleCompInEdit->text(), "1F000.bin");
    TypeInto(f.RleDecompOutEdit, "");
    EXPECT_FALSE(f.RleDecompressButton->isEnabled());
    EXPECT_FALSE(f.RleCompressButton->isEnabled());
    ClickTab(f.RleModeTabs, app::CompressionTab);
    TypeInto(f.RleCompRomEdit, "x");
    EXPECT_TRUE(f.RleCompressButton->isEnabled());

    dialogs.picks = {Folder() + "picked.bin"};
    Click(f.RleCompInBrowse);
    EXPECT_EQ(f.RleCompInEdit->text(), Folder() + "picked.bin");
    EXPECT_EQ(f.RleDecompOutEdit->text(), Folder() + "picked.bin");
}

TEST_F(RlePage, DecompressSavesTheDataPutsTheBytesConsumedOnTheClipboardAndShowsColumns) {
    // 1024 tiles of colour 1 fill the top four rows of 8 x 32 cells, the rest is colour 2.
    const Bytes data = handmade::TwoColourTiles(1024);
    const Bytes packed = handmade::RlePacked(data);
    handmade::PutBytes(rom, 0x48120, packed);
    WriteFile("rom.bin", rom);

    MainForm& f = OpenWindow();
    ClickTab(f.PageTabs, app::RlePage);
    TypeInto(f.RleDecompRomEdit, Folder() + "rom.bin");
    // Enter runs the decompression whatever the button.
    f.RleDecompressButton->setEnabled(false);
    PressEnterIn(f.RleOffsetEdit);

    ASSERT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(dialogs.clipboard, QStringList{QString::number(packed.size())});
    EXPECT_EQ(ReadFile("48120.bin"), data);

    drovak::MemoryStream art(data);
    drovak::FrameBuffer expected{};
    const drovak::PreviewImage sheet = drovak::RenderTiles(
        art, 1, 4, 64, 28, drovak::ReadPalette(PathOf("rom.bin"), drovak::PREVIEW_PALETTE_OFFSET),
        nullptr, expected);
    EXPECT_TRUE(f.FrameBuffer == expected);
    EXPECT_EQ(sheet.Pixels[0], 224u);
    const QImage shown = f.PreviewView->grabFramebuffer();
    EXPECT_EQ(shown.pixel(0, 0) | 0xFF000000u, qRgb(224, 0, 0));
    EXPECT_EQ(shown.pixel(0, shown.height() - 1) | 0xFF000000u, qRgb(0, 0, 224));
}

TEST_F(RlePage, CompressWritesTheBlockPutsItsSizeOnTheClipboardAndConfirms) {
    MainForm& f = OpenOnRlePage(app::CompressionTab);
    Compress(f, {0x01, 0x11, 0x10, 0x00});

    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, "information");
    EXPECT_EQ(dialogs.boxes[0].text, "Succesfully Compressed!");
    EXPECT_EQ(dialogs.boxes[0].caption, "Information");
    EXPECT_TRUE(dialogs.boxes[0].owned);
    EXPECT_EQ(dialogs.clipboard, QStringList{"7"});
    // The shorter block leaves the old block's last bytes behind it; nothing else changes.
    Bytes expected = rom;
    handmade::PutBytes(expected, BLOCK, {0x00, 0x00, 0x00, 0x04, 0x00, 0x13, 0x02});
    EXPECT_EQ(ReadFile("rom.bin"), expected);

    // Enter on the compression tab compresses too.
    WriteFile("in.bin", {0, 0, 0, 0});
    PressEnterIn(f.RleOffsetEdit);
    EXPECT_EQ(RomAt(BLOCK, 8), (Bytes{0x00, 0x00, 0x00, 0x04, 0x07, 0x13, 0x02, 0x40}));
    EXPECT_EQ(dialogs.clipboard.last(), "5");
}

TEST_F(RlePage, ALongerBlockIsAskedForAndNoLeavesTheRomUntouched) {
    handmade::PutBytes(rom, BLOCK, handmade::RlePacked({0, 0, 0, 0}));
    WriteFile("rom.bin", rom);
    MainForm& f = OpenOnRlePage(app::CompressionTab);

    dialogs.answers = {false};
    Compress(f, {0x12, 0x34, 0x56, 0x78});
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, "question");
    EXPECT_EQ(dialogs.boxes[0].caption, "Warning");
    EXPECT_TRUE(dialogs.boxes[0].owned);
    EXPECT_EQ(ReadFile("rom.bin"), rom);

    dialogs.answers = {true};
    Click(f.RleCompressButton);
    ASSERT_EQ(dialogs.boxes.size(), 3u);
    EXPECT_EQ(dialogs.boxes[2].text, "Succesfully Compressed!");
    EXPECT_EQ(RomAt(BLOCK, 12), handmade::RlePacked({0x12, 0x34, 0x56, 0x78}));
    EXPECT_EQ(dialogs.clipboard.last(), "12");
}

TEST_F(RlePage, ARunTheEncoderCannotWriteShowsTheErrorBoxAndWritesNothing) {
    MainForm& f = OpenOnRlePage(app::CompressionTab);
    // 65540 zero bytes: one run of 131080 nibbles, one more than the longest that fits.
    Compress(f, Bytes(65540, 0));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, "error");
    EXPECT_EQ(dialogs.boxes[0].caption, "Error");
    EXPECT_EQ(dialogs.boxes[0].text, "Unsupported repeat count: 131079");
    EXPECT_FALSE(dialogs.boxes[0].owned);
    EXPECT_EQ(ReadFile("rom.bin"), rom);
    EXPECT_TRUE(dialogs.clipboard.isEmpty());

    // The longest run that can be written goes in (after the question: it is longer).
    dialogs.answers = {true};
    Compress(f, Bytes(65536, 0));
    EXPECT_EQ(RomAt(BLOCK, 7), (Bytes{0x00, 0x01, 0x00, 0x00, 0x0F, 0xFF, 0xFF}));
}
