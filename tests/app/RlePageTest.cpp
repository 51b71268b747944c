// "RLE Compression" at work on a hand-made ROM image.
#include "WindowTest.h"
#include "support/HandMadeRom.h"

#include "graphics/Renderer.h"
#include "rom/RomLayout.h"

using handmade::Bytes;

namespace {

constexpr uint32_t BLOCK = 0x200;

class AppRlePage : public WindowTest {
protected:
    // The block 12 34 56 78 at 0x200 (12 bytes), 0xAA bytes behind it, the preview palette
    // with colour 1 red and colour 2 blue.
    void SetUp() override {
        rom = handmade::MakeRom();
        handmade::Put(rom, BLOCK, Bytes(64, 0xAA));
        handmade::Put(rom, BLOCK, handmade::Packed({0x12, 0x34, 0x56, 0x78}, true));
        WriteFile("rom.bin", rom);
    }

    MainForm& OpenOnCompression() {
        MainForm& f = OpenWindow(app::MainPage::Rle);
        ClickTab(Tabs("RleModeTabs"), app::ModeTab::Compression);
        TypeInto(Edit("RleOffsetEdit"), "200");
        TypeInto(Edit("RleCompRomEdit"), Folder() + "rom.bin");
        return f;
    }

    void Compress(const Bytes& input) {
        WriteFile("in.bin", input);
        TypeInto(Edit("RleCompInEdit"), Folder() + "in.bin");
        Click(Button("RleCompressButton"));
    }

    // The ROM as it was with `bytes` written at the block.
    Bytes RomWithBlock(const Bytes& bytes) const {
        Bytes expected = rom;
        handmade::Put(expected, BLOCK, bytes);
        return expected;
    }

    Bytes rom;
};

} // namespace

TEST_F(AppRlePage, DecompressSavesTheDataPutsTheBytesConsumedOnTheClipboardAndShowsColumns) {
    // 1024 tiles of colour 1 fill the top four rows of 8 x 32 cells, the rest is colour 2.
    const Bytes data = handmade::TwoColourTiles(1024);
    const Bytes packed = handmade::Packed(data, true);
    handmade::Put(rom, 0x48120, packed);
    WriteFile("rom.bin", rom);

    MainForm& f = OpenWindow(app::MainPage::Rle);
    TypeInto(Edit("RleDecompRomEdit"), Folder() + "rom.bin");
    // Enter runs the decompression whatever the button.
    Button("RleDecompressButton")->setEnabled(false);
    PressEnterIn(Edit("RleOffsetEdit"));

    ASSERT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(dialogs.clipboard, QStringList{QString::number(packed.size())});
    EXPECT_EQ(ReadFile("48120.bin"), data);
    drovak::FrameBuffer expected{};
    drovak::CopyToFrameBuffer(
        drovak::RenderTiles(data, 1, 4, 64, 28,
                            drovak::PaletteAt(ReadFile("rom.bin"), drovak::PREVIEW_PALETTE_OFFSET)),
        expected);
    EXPECT_TRUE(f.Document().FrameBuffer == expected);
    const QImage shown = Shown();
    EXPECT_EQ(At(shown, 0, 0), qRgb(224, 0, 0));
    EXPECT_EQ(At(shown, 0, -1), qRgb(0, 0, 224));

    // Never over its ROM, by whatever name: refused, naming each as given.
    TypeInto(Edit("RleDecompOutEdit"), Folder() + "./rom.bin");
    PressEnterIn(Edit("RleOffsetEdit"));
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_TRUE(dialogs.boxes[0].contains(Folder() + "./rom.bin: is the ROM image " + Folder() +
                                          "rom.bin itself"))
        << dialogs.boxes[0].toStdString();
    EXPECT_EQ(ReadFile("rom.bin"), rom);
}

TEST_F(AppRlePage, CompressWritesTheBlockPutsItsSizeOnTheClipboardAndConfirms) {
    MainForm& f = OpenOnCompression();
    Compress({0x01, 0x11, 0x10, 0x00});
    EXPECT_EQ(dialogs.boxes, QStringList("information Information owned: Succesfully Compressed!"));
    EXPECT_EQ(dialogs.clipboard, QStringList{"7"});
    // The shorter block leaves the old block's last bytes behind it; nothing else changes.
    EXPECT_EQ(ReadFile("rom.bin"), RomWithBlock({0x00, 0x00, 0x00, 0x04, 0x00, 0x13, 0x02}));
    EXPECT_TRUE(
        Starts(f.StatusText(),
               "rom.bin written; the previous image is kept as rom.bin.bak; header checksum"));
    EXPECT_EQ(ReadFile("rom.bin.bak"), rom);

    // Ctrl+Z on this page too: in the offset field the field's own undo, nothing asked; on the
    // preview asked, then the ROM and its backup swap.
    const auto [changed, before] = drovak::test::WithBackup(PathOf("rom.bin"));
    TypeInto(Edit("RleOffsetEdit"), "300");
    dialogs.boxes.clear();
    CtrlZ(Edit("RleOffsetEdit"));
    EXPECT_NE(Edit("RleOffsetEdit")->text(), "300");
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    EXPECT_EQ(ReadFile("rom.bin"), changed);
    TypeInto(Edit("RleOffsetEdit"), "200");
    UndoOnPreview();
    ExpectUndoQuestion("rom.bin");
    EXPECT_EQ(drovak::test::WithBackup(PathOf("rom.bin")), std::pair(before, changed));
    EXPECT_EQ(Edit("RleOffsetEdit")->text(), "200");
}

TEST_F(AppRlePage, AnUnwritableRunWritesNothingAndALongerBlockIsAskedFor) {
    handmade::Put(rom, BLOCK, handmade::Packed({0, 0, 0, 0}, true)); // 5 bytes
    WriteFile("rom.bin", rom);
    OpenOnCompression();
    // 65537 zero bytes: one run of 131074 nibbles as given (the padding is not counted).
    Compress(Bytes(65537, 0));
    EXPECT_EQ(dialogs.boxes, QStringList("error Error: Unsupported repeat count: 131073"));
    EXPECT_EQ(ReadFile("rom.bin"), rom);
    EXPECT_TRUE(dialogs.clipboard.isEmpty());

    // The longest run that can be written is longer than the block there: No leaves the ROM
    // untouched (and the clipboard: it gets the size of a block written), Yes writes it.
    Compress(Bytes(65536, 0));
    ASSERT_EQ(dialogs.boxes.size(), 2);
    EXPECT_TRUE(Starts(dialogs.boxes[1], "question Warning owned: "));
    EXPECT_EQ(ReadFile("rom.bin"), rom);
    EXPECT_TRUE(dialogs.clipboard.isEmpty());
    dialogs.answers = {true};
    Click(Button("RleCompressButton"));
    EXPECT_EQ(dialogs.Kinds(), "error,question,question,information");
    EXPECT_EQ(ReadFile("rom.bin"), RomWithBlock({0x00, 0x01, 0x00, 0x00, 0x0F, 0xFF, 0xFF}));
    EXPECT_EQ(dialogs.clipboard, QStringList{"7"});

    // An empty input is asked about; an offset that is not a hexadecimal number is refused
    // before any question (one past the end too: RomRlePage.RefusalsBuildNothing).
    dialogs.boxes.clear();
    Compress({});
    EXPECT_EQ(dialogs.boxes, QStringList("question Warning owned: The file in.bin is empty!\r\nThe "
                                         "block at 0x200 will hold no data. Do you want to "
                                         "continue?"));
    dialogs.boxes.clear();
    TypeInto(Edit("RleOffsetEdit"), "48120h");
    TypeInto(Edit("RleCompInEdit"), Folder() + "in.bin");
    Click(Button("RleCompressButton"));
    ASSERT_EQ(dialogs.Kinds(), "error");
    EXPECT_TRUE(Starts(dialogs.boxes[0], "error Error owned: Offset (HEX): \"48120h\""));
    EXPECT_EQ(ReadFile("rom.bin"), RomWithBlock({0x00, 0x01, 0x00, 0x00, 0x0F, 0xFF, 0xFF}));
}
