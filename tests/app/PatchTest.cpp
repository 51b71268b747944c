// Patches in the window: a .bps or .ips dropped on it is applied to the page's ROM after a
// question (No by default), refused with nothing written when it does not fit, and undone with
// Ctrl+Z; every ROM field's context menu makes a patch against an original ROM.
#include "WindowTest.h"

#include "patch/Bps.h"
#include "rom/LzhPage.h"
#include "rom/RomLayout.h"

#include <QSettings>

namespace {

using Bytes = std::vector<uint8_t>;

class AppPatch : public WindowTest {
protected:
    // tf3.bin (the demo ROM) and the same with a tile-art entry changed and compressed back.
    void SetUp() override {
        PutDemoRom();
        const drovak::RomBytes rom{"tf3.bin", ReadFile("tf3.bin")};
        Bytes art(4000, 0x5A);
        modded_ = drovak::ApplyLzhInsert(
            drovak::PlanLzhInsert(rom, art, drovak::POINTER_TABLE_OFFSET, drovak::TileArtEntry(1)),
            rom);
        clean_ = rom.bytes;
        WriteFile("mod.bps", drovak::CreateBpsPatch(clean_, modded_));
    }
    bool HasBackup() const { return std::filesystem::exists(PathOf("tf3.bin.bak")); }

    Bytes clean_, modded_;
};

TEST_F(AppPatch, ADroppedPatchIsAskedAboutAppliedAndUndone) {
    MainForm& f = OpenWindow(app::MainPage::Lzh);
    Drop(Preview(), "mod.bps"); // answered No
    EXPECT_EQ(dialogs.boxes.value(0), "question Warning owned: Apply mod.bps to tf3.bin?");
    EXPECT_EQ(ReadFile("tf3.bin"), clean_);
    EXPECT_FALSE(HasBackup());
    EXPECT_EQ(Edit("LzhDecompRomEdit")->text(), Folder() + "tf3.bin"); // not taken for a ROM

    dialogs.answers = {true};
    Drop(Edit("LzhCompInEdit"), "mod.bps");
    EXPECT_EQ(drovak::test::WithBackup(PathOf("tf3.bin")), std::pair(modded_, clean_));
    EXPECT_TRUE(Starts(f.StatusText(), "mod.bps applied: tf3.bin written; the previous image "
                                       "is kept as tf3.bin.bak"));
    EXPECT_NE(Edit("LzhCompInEdit")->text(), Folder() + "mod.bps"); // not taken for data

    UndoOnPreview();
    EXPECT_EQ(ReadFile("tf3.bin"), clean_);
    EXPECT_EQ(dialogs.Kinds(), "question,question,question");

    // An IPS patch, here on the title page, says it has no checksums; Ctrl+Z on this page too.
    WriteFile("fix.ips", {'P', 'A', 'T', 'C', 'H', 0, 2, 0, 0, 1, 0x77, 'E', 'O', 'F'});
    ClickTab(Tabs("PageTabs"), app::MainPage::Title);
    dialogs.answers = {true};
    Drop(Button("TitleViewButton"), "fix.ips");
    Bytes expected = clean_;
    EXPECT_EQ(ReadFile("tf3.bin"), drovak::test::Put(expected, 0x200, {0x77}));
    EXPECT_TRUE(Holds(f.StatusText(), "has no checksums"));
    UndoOnPreview();
    EXPECT_EQ(ReadFile("tf3.bin"), clean_);
}

TEST_F(AppPatch, PatchesThatDoNotFitAreRefusedWithNothingWritten) {
    WriteFile("other.bin", modded_);
    Bytes damaged = ReadFile("mod.bps");
    damaged[damaged.size() / 2] ^= 0x01;
    WriteFile("damaged.bps", damaged);
    WriteFile("text.ips", {'h', 'e', 'l', 'l', 'o'});
    OpenWindow(app::MainPage::Lzh);
    Edit("LzhDecompRomEdit")->setText(Folder() + "other.bin"); // the patched ROM
    dialogs.answers = {true, true, true};
    Drop(Preview(), "mod.bps");
    Edit("LzhDecompRomEdit")->setText(Folder() + "tf3.bin");
    Drop(Preview(), "damaged.bps");
    Drop(Preview(), "text.ips");
    ASSERT_EQ(dialogs.Kinds().toStdString(), "question,error,question,error,question,error");
    EXPECT_TRUE(Holds(dialogs.boxes[1], "mod.bps is already applied: other.bin (CRC-32 "));
    EXPECT_TRUE(Holds(dialogs.boxes[3], "damaged.bps is damaged"));
    EXPECT_TRUE(Holds(dialogs.boxes[5], "text.ips is not a patch"));
    EXPECT_EQ(std::tuple(ReadFile("tf3.bin"), ReadFile("other.bin")), std::tuple(clean_, modded_));
    EXPECT_FALSE(HasBackup());
}

TEST_F(AppPatch, EveryRomFieldMakesAPatchAgainstAnOriginal) {
    WriteFile("clean.bin", clean_);
    MainForm& f = OpenWindow();
    WriteFile("tf3.bin", modded_);
    for (QLineEdit* field :
         {Edit("LzhDecompRomEdit"), Edit("LzhCompRomEdit"), Edit("RleDecompRomEdit"),
          Edit("RleCompRomEdit"), Edit("LevelRomEdit"), Edit("TitleRomEdit")}) {
        SCOPED_TRACE(field->objectName().toStdString());
        std::filesystem::remove(PathOf("made.bps"));
        dialogs.picks = {Folder() + "clean.bin", Folder() + "made.bps"};
        ASSERT_TRUE(Choose(field));
        WaitForExport(f);
        const Bytes patch = ReadFile("made.bps");
        const drovak::PatchResult applied = drovak::ApplyBpsPatch(clean_, patch);
        ASSERT_TRUE(applied.Applied());
        EXPECT_EQ(applied.target, modded_);
        EXPECT_EQ(f.StatusText(), QString("made.bps written: %1 bytes, the patch from clean.bin "
                                          "to tf3.bin.")
                                      .arg(patch.size()));
    }
    EXPECT_EQ(dialogs.dialogRuns.size(), 12u);
    EXPECT_EQ(dialogs.dialogRuns[1].second.filter, "BPS Patches (*.bps)|*.bps|All files (*)|*");
    EXPECT_EQ(dialogs.dialogRuns[1].second.fileName + dialogs.dialogRuns[1].second.defaultExtension,
              "tf3.bpsbps");

    // Cancelled at either dialog, or refused over the ROM itself: nothing is written.
    std::filesystem::remove(PathOf("made.bps"));
    dialogs.picks = {QString()};
    EXPECT_TRUE(Choose(Edit("LevelRomEdit")));
    dialogs.picks = {Folder() + "clean.bin", Folder() + "tf3.bin"};
    EXPECT_TRUE(Choose(Edit("LevelRomEdit")));
    EXPECT_FALSE(std::filesystem::exists(PathOf("made.bps")));
    EXPECT_EQ((std::tuple{ReadFile("tf3.bin"), dialogs.Kinds()}), (std::tuple{modded_, "error"}));
    // Against an original that is the same image: refused, the two named in their places.
    WriteFile("copy.bin", modded_);
    dialogs.picks = {Folder() + "copy.bin", Folder() + "made.bps"};
    EXPECT_TRUE(Choose(Edit("LevelRomEdit")));
    WaitForExport(f);
    EXPECT_FALSE(std::filesystem::exists(PathOf("made.bps")));
    EXPECT_TRUE(Starts(dialogs.boxes.back(),
                       "error Error owned: copy.bin and tf3.bin are the same image (CRC-32 "));
}

TEST_F(AppPatch, RunInEmulatorStartsTheFieldsRomWithoutAShell) {
    const std::string script =
        "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.new\"\nmv \"$0.new\" \"$0.args\"\n";
    WriteFile("emulator.sh", Bytes(script.begin(), script.end()));
    std::filesystem::permissions(PathOf("emulator.sh"), std::filesystem::perms::owner_all);
    MainForm& f = OpenWindow();
    const std::string path = PathOf("emulator.sh");
    ::setenv("DROVAK_EMULATOR", ("'" + path + "' -f %f").c_str(), 1);
    EXPECT_TRUE(Choose(Edit("TitleRomEdit"), "Run in emulator"));
    for (int tries = 0; tries < 3000 && !std::filesystem::exists(path + ".args"); ++tries)
        QTest::qWait(20);
    EXPECT_EQ(drovak::test::ReadText(PathOf("emulator.sh.args")),
              "-f\n" + Edit("TitleRomEdit")->text().toStdString() + "\n");
    EXPECT_EQ(f.StatusText(), "emulator.sh started on tf3.bin.");
    // The setting, where the environment names none.
    std::filesystem::remove(path + ".args");
    ::setenv("DROVAK_EMULATOR", "", 1);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Folder());
    QSettings("drovak", "drovak")
        .setValue("emulator", QString::fromStdString("'" + path + "' -s %f"));
    EXPECT_TRUE(Choose(Edit("TitleRomEdit"), "Run in emulator"));
    for (int tries = 0; tries < 3000 && !std::filesystem::exists(path + ".args"); ++tries)
        QTest::qWait(20);
    EXPECT_EQ(drovak::test::ReadText(PathOf("emulator.sh.args")),
              "-s\n" + Edit("TitleRomEdit")->text().toStdString() + "\n");
    QSettings("drovak", "drovak").remove("emulator");
    // None set or installed: said, how to set one.
    const std::string paths = ::getenv("PATH");
    ::setenv("PATH", PathOf("nowhere").c_str(), 1);
    EXPECT_TRUE(Choose(Edit("TitleRomEdit"), "Run in emulator"));
    ::setenv("PATH", paths.c_str(), 1);
    EXPECT_EQ(dialogs.Kinds(), "error");
}

} // namespace
