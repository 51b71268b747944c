// Undo on every kind of file system, after a killed undo, and with backups that are not backups.
#include "base/Errors.h"
#include "base/SwapFiles.h"
#include "rom/RomChange.h"
#include "support/TestSupport.h"
#include "support/WordsOf.h"
#include "words/RomChangeWords.h"

#include <sys/stat.h>

namespace drovak {
namespace {

using namespace test;
namespace fs = std::filesystem;

class RomUndo : public ScratchTest {
protected:
    void SetUp() override {
        WriteBytes(rom, older);
        ChangeRom(rom, [this](const RomBytes&) { return newer; });
    }

    void ExpectImages(const Bytes& atRom, const Bytes& atBackup) const {
        EXPECT_EQ(std::tuple(ReadBytes(rom), ReadBytes(backup)), std::tie(atRom, atBackup));
        EXPECT_FALSE(fs::exists(swap)) << "an intermediate file is left behind";
    }

    const std::string rom = File("tf3.bin"), backup = rom + ".bak", swap = backup + ".swap";
    const Bytes older = Pattern(0x400), newer = Bytes(0x400, 0x11);
};

// An exchange in one step, links and renames, or renames alone (FAT, exFAT, FUSE): each undo
// swaps the two images, and says what it swapped.
TEST_F(RomUndo, UndoWorksWithoutExchangeOrLinks) {
    const std::tuple<const char*, bool, bool> cases[] = {
        {"exchange", true, true}, {"links", false, true}, {"renames only", false, false}};
    for (const auto& [name, exchange, links] : cases) {
        SCOPED_TRACE(name);
        const FileSystemPolicy fileSystem{.withoutExchange = !exchange, .withoutLinks = !links};
        const UndoSides sides = DescribeUndo(rom); // what the question before it says
        EXPECT_EQ(std::tuple(sides.rom, sides.romSize, sides.backupSize),
                  std::tuple(rom, 0x400u, 0x400u));
        const RomChange undone = UndoRomChange(rom, fileSystem);
        ExpectImages(older, newer);
        const std::string summary = RomUndoSummary("tf3.bin", undone);
        EXPECT_TRUE(Holds(summary, "Swapped tf3.bin (1024 bytes, changed "));
        EXPECT_TRUE(Holds(summary, ") with tf3.bin.bak (1024 bytes, changed "));
        UndoRomChange(rom, fileSystem);
        ExpectImages(newer, older);
    }
}

// A swap that can't finish (either name gone) leaves the other as it was, however it swaps, and
// says so naming the two in their order.
TEST_F(RomUndo, ASwapThatCannotFinishChangesNothing) {
    for (const auto& [gone, kept, bytes] : {std::tuple(backup, rom, newer), {rom, backup, older}}) {
        fs::remove(gone);
        for (const FileSystemPolicy& fileSystem :
             {FileSystemPolicy{}, FileSystemPolicy{.withoutExchange = true},
              FileSystemPolicy{.withoutExchange = true, .withoutLinks = true}}) {
            EXPECT_TRUE(Holds(WordsOf<FileError>([&] { SwapFiles(rom, backup, fileSystem); }),
                              rom + ": nothing was changed: cannot swap it with " + backup));
            EXPECT_EQ(ReadBytes(kept), bytes);
            EXPECT_FALSE(fs::exists(swap) || fs::exists(gone));
        }
        WriteBytes(gone, ReadBytes(kept) == newer ? older : newer);
    }
    // An intermediate file an interrupted swap left is never overwritten.
    WriteBytes(swap, older);
    EXPECT_TRUE(Holds(WordsOf<RefusedError>([&] {
                          SwapFiles(rom, backup, FileSystemPolicy{.withoutExchange = true});
                      }),
                      "left " + swap + ", and it can't tell from " + rom + " and " + backup));
    EXPECT_EQ(ReadBytes(swap), older);
}

// A killed undo leaves the intermediate file at one of its steps; the next undo finishes it
// (that was the undo asked for), and so does the next change before it begins. A state it can't
// read is refused, naming the file.
TEST_F(RomUndo, AKilledUndoIsFinishedByTheNextRun) {
    // After the first step (ROM renamed to the intermediate), after the second (the backup
    // renamed to the ROM), and after a link that renamed nothing yet.
    const auto firstStep = [&] { fs::rename(rom, swap); };
    const auto secondStep = [&] {
        fs::rename(rom, swap);
        fs::rename(backup, rom);
    };
    const auto linkOnly = [&] { fs::create_hard_link(rom, swap); };
    for (const auto& [kill, finished] : {std::pair{std::function<void()>(firstStep), true},
                                         {secondStep, true},
                                         {linkOnly, false}}) {
        ExpectImages(newer, older);
        kill();
        const RomChange undone = UndoRomChange(rom);
        EXPECT_EQ(undone.finishedInterrupted, finished);
        ExpectImages(older, newer);
        UndoRomChange(rom);
    }

    secondStep();
    ChangeRom(rom, [](const RomBytes& now) { return Bytes(now.bytes.size(), 0x22); });
    ExpectImages(Bytes(0x400, 0x22), older);

    WriteBytes(swap, Bytes(16, 3));
    EXPECT_TRUE(Holds(WordsOf<RefusedError>([&] { UndoRomChange(rom); }), swap));
    EXPECT_EQ(std::tuple(ReadBytes(rom), ReadBytes(swap)),
              std::tuple(Bytes(0x400, 0x22), Bytes(16, 3)));
}

// A backup that is a link, a FIFO or a folder is refused by name; nothing changes.
TEST_F(RomUndo, ABackupThatIsNotARegularFileIsRefused) {
    const std::string elsewhere = Write("elsewhere.bin", older);
    const std::pair<const char*, std::function<void()>> kinds[] = {
        {"a symbolic link", [&] { fs::create_symlink(elsewhere, backup); }},
        {"a FIFO", [&] { ::mkfifo(backup.c_str(), 0644); }},
        {"a folder", [&] { fs::create_directory(backup); }},
    };
    for (const auto& [kind, make] : kinds) {
        fs::remove(backup);
        make();
        const std::string message = WordsOf<RefusedError>([&] { UndoRomChange(rom); });
        EXPECT_TRUE(Holds(message, backup + " is " + kind + ", not a regular file")) << message;
        EXPECT_TRUE(Holds(message, "nothing was changed")) << message;
        EXPECT_THROW(DescribeUndo(rom), RefusedError);
        EXPECT_EQ(std::tuple(ReadBytes(rom), ReadBytes(elsewhere)), std::tie(newer, older));
    }
}

} // namespace
} // namespace drovak
