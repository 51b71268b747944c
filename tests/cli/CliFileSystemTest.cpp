// The file layer as a user meets it: undo on a FAT stick and after a killed undo, the earlier
// backup kept when a change fails, read-only ROMs and existing outputs left alone, a ROM replaced
// just as it is opened; what a replace keeps (an access list that can't be copied stops the
// change with the old image whole, other attributes may be left out only where the file system or
// the user can't have them; set-user-ID, set-group-ID and sticky bits are kept) and the mode a new
// output gets (0666 less the umask).
#include "CliRunner.h"

#include "rom/HeaderChecksum.h"
#include "support/HandMadeRom.h"

#include <chrono>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace drovak::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* FAT_FAILURES = "DROVAK_FAIL_ALWAYS=renameat2:einval,link:eperm,linkat:eperm";

class CliFiles : public CliTest {
protected:
    // A ROM whose header checksum is wrong: `checksum --fix` changes it.
    void SetUp() override {
        image = handmade::MakeRom(0x400, {Bytes(200, 1), handmade::Noise(300, 2)}, 0x1000);
        Put(image, 0xE00, handmade::Packed({0x01, 0x11, 0x10, 0x00}, true));
        StoreChecksum(image);
        image[0x18F] ^= 1;
        fixed = image;
        StoreChecksum(fixed);
    }

    // A FUSE file system mounted by the test goes when it ends, whatever happened.
    void TearDown() override {
        if (mounted.empty()) return;
        const std::string unmount = "fusermount3 -u " + mounted + " 2>/dev/null || fusermount -u " +
                                    mounted + " 2>/dev/null || umount " + mounted;
        EXPECT_EQ(std::system(unmount.c_str()), 0);
    }

    // `checksum --fix` on the ROM.
    CliResult Fix(const Args& environment = {}) const {
        return Run({"checksum", rom, "--fix"}, environment);
    }
    // The number of the last call of `checksum --fix` that renames a file to `name`.
    size_t RenameTo(const std::string& name) {
        size_t number = 0;
        for (const auto& call : LoggedCalls({"checksum", rom, "--fix"}, {}))
            if (call[1] == "rename" && call.back() == name) number = std::stoul(call[0]);
        return number;
    }

    Bytes image, fixed;
    std::string mounted;
    const std::string rom = File("tf3.bin"), backup = rom + ".bak";
};

// A FAT16 image mounted through FUSE: no exchange, no links, no modes. A change keeps a copy as
// its backup, and undo swaps by renames alone.
TEST_F(CliFiles, UndoOnAFatStick) {
    if (!fs::exists("/usr/bin/fusefat") || !fs::exists("/usr/sbin/mkfs.fat"))
        GTEST_SKIP() << "fusefat or mkfs.fat is not installed (scripts/deps.sh installs them)";
    if (::access("/dev/fuse", R_OK | W_OK) != 0) GTEST_SKIP() << "no usable /dev/fuse here";
    const std::string fat = File("fat.img"), stick = File("stick");
    fs::create_directory(stick);
    fs::resize_file(Write("fat.img", {}), 16 << 20);
    if (std::system(("mkfs.fat " + fat + " >/dev/null 2>&1").c_str()) != 0 ||
        std::system(("fusefat -o rw+ " + fat + " " + stick + " >/dev/null 2>&1").c_str()) != 0)
        GTEST_SKIP() << "fusefat can't mount an image here";
    struct stat inside {
    }, outside{};
    ::stat(stick.c_str(), &inside);
    ::stat(dir.path.c_str(), &outside);
    if (inside.st_dev == outside.st_dev) GTEST_SKIP() << "fusefat mounted nothing";
    mounted = stick;

    const std::string romOnStick = stick + "/tf3.bin";
    WriteBytes(romOnStick, image);
    EXPECT_TRUE(Ok(Run({"checksum", romOnStick, "--fix"})));
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(ReadBytes(romOnStick), round ? image : fixed);
        EXPECT_TRUE(Ok(Run({"undo", romOnStick}), "Swapped tf3.bin (4096 bytes, changed "));
        EXPECT_EQ(WithBackup(romOnStick),
                  round ? std::pair(fixed, image) : std::pair(image, fixed));
    }
    EXPECT_FALSE(fs::exists(romOnStick + ".bak.swap"));
}

// An undo by renames killed before each of its calls: the next undo finishes it or, when it
// had not begun, does it; either way the two images swap once and no intermediate is left.
TEST_F(CliFiles, AKilledUndoByRenamesIsFinishedByTheNextOne) {
    WriteBytes(rom, image);
    ASSERT_TRUE(Ok(Fix()));
    const size_t calls = LoggedCalls({"undo", rom}, {FAT_FAILURES}).size();
    ASSERT_GT(calls, 3u);
    int leftHalfWay = 0;
    for (size_t at = 1; at <= calls; ++at) {
        SCOPED_TRACE(at);
        WriteBytes(rom, fixed);
        WriteBytes(backup, image);
        const CliResult killed = Run({"undo", rom}, FaultAt("kill", at, {FAT_FAILURES}));
        EXPECT_EQ(killed.exitCode, -SIGKILL);
        const bool halfWay = fs::exists(backup + ".swap");
        leftHalfWay += halfWay;
        // Killed before the swap's first rename, or after its last: no intermediate.
        const bool swapped = !halfWay && ReadBytes(rom) == image;
        // A finish that can't rename is said, naming the ROM and what the swap left.
        EXPECT_TRUE(!halfWay ||
                    Fails(Run({"undo", rom}, {Preload(), "DROVAK_FAIL_ALWAYS=rename:eio"}), 2,
                          rom + ": an undo was interrupted and left " + backup +
                              ".swap, which can't be put in its place"));
        EXPECT_TRUE(Ok(Run({"undo", rom})));
        EXPECT_EQ(WithBackup(rom), swapped ? std::pair(fixed, image) : std::pair(image, fixed));
        EXPECT_FALSE(fs::exists(backup + ".swap"));
    }
    EXPECT_EQ(leftHalfWay, 2) << "killed after the first and after the second rename";
}

// A change whose rename over the ROM fails keeps the ROM and the backup of the change before.
TEST_F(CliFiles, AFailedChangeKeepsTheEarlierBackup) {
    WriteBytes(rom, image);
    const Bytes earlier(0x1000, 9);
    WriteBytes(backup, earlier);
    const size_t renameOverRom = RenameTo("tf3.bin");
    ASSERT_GT(renameOverRom, 0u);
    WriteBytes(rom, image);
    WriteBytes(backup, earlier);
    EXPECT_TRUE(Fails(Fix(FaultAt("eio", renameOverRom)), 2, "nothing was written"));
    EXPECT_EQ(WithBackup(rom), std::pair(image, earlier));
    // An exchange or a link that fails for a reason of its own, not for want of one, refuses the
    // undo.
    for (const char* faults : {"DROVAK_FAIL_ALWAYS=renameat2:eio",
                               "DROVAK_FAIL_ALWAYS=renameat2:einval,link:eio,linkat:eio"}) {
        EXPECT_TRUE(Fails(Run({"undo", rom}, {Preload(), faults}), 2,
                          "nothing was changed: cannot swap it with " + backup));
        EXPECT_EQ(WithBackup(rom), std::pair(image, earlier));
    }
}

// A ROM no one may write is refused, root or not; a backup that is a link is not undone.
TEST_F(CliFiles, ReadOnlyRomsAndLinkedBackupsAreRefused) {
    WriteBytes(rom, image);
    ::chmod(rom.c_str(), 0444);
    EXPECT_TRUE(Fails(Fix(), 3, "read-only; nothing was written"));
    EXPECT_EQ(ReadBytes(rom), image);
    EXPECT_FALSE(fs::exists(backup));

    ::chmod(rom.c_str(), 0644);
    const std::string note = Write("note.txt", Bytes(10, 'n'));
    fs::create_symlink(note, backup);
    EXPECT_TRUE(Fails(Run({"undo", rom}), 3, backup + " is a symbolic link, not a regular file"));
    fs::remove(backup);
    fs::create_hard_link(note, backup);
    EXPECT_TRUE(Fails(Run({"undo", rom}), 3, backup + " is one of 2 names of one file"));
    fs::remove(backup);
    fs::create_hard_link(rom, backup);
    EXPECT_TRUE(Fails(Run({"undo", rom}), 3, "its backup " + backup + " is the same file"));
    EXPECT_EQ((std::tuple{ReadBytes(rom), ReadBytes(note)}), (std::tuple{image, Bytes(10, 'n')}));
}

// Another program's save over the ROM just as it is opened: it is opened again, up to 20 times,
// and only a ROM that keeps being replaced is given up on.
TEST_F(CliFiles, ARomReplacedAsItIsOpenedIsOpenedAgain) {
    WriteBytes(rom, image);
    EXPECT_TRUE(Ok(Fix({Preload(), "DROVAK_REPLACE_LOCKED=19"})));
    EXPECT_EQ(ReadBytes(rom), fixed);
    WriteBytes(rom, image); // on a file system without record locks, the whole-file lock holds
    EXPECT_TRUE(Ok(Fix({Preload(), "DROVAK_FAIL_ALWAYS=fcntl:einval"})));
    EXPECT_EQ(ReadBytes(rom), fixed);
    WriteBytes(rom, image);
    EXPECT_TRUE(Fails(Fix({Preload(), "DROVAK_REPLACE_LOCKED=20"}), 3,
                      "in use by another program (it keeps being replaced); nothing was written"));
    EXPECT_EQ(ReadBytes(rom), image);
}

// A backup that can't take its name keeps the old image under a name that no later run removes
// (with a number added when the second's name is taken), and the message gives it.
TEST_F(CliFiles, AnOldImageTheMessageNamesIsNeverRemoved) {
    WriteBytes(rom, image);
    const size_t renameToBackup = RenameTo("tf3.bin.bak");
    WriteBytes(rom, image);
    // The name of each second of the next minute taken: the old image's has a number added.
    for (std::time_t second = std::time(nullptr), end = second + 60; second < end; ++second) {
        char date[32];
        std::tm utc{};
        std::strftime(date, sizeof date, "%Y%m%d-%H%M%S", ::gmtime_r(&second, &utc));
        WriteBytes(backup + ".kept-" + date, {});
    }
    const CliResult failed = Fix(FaultAt("eio", renameToBackup));
    EXPECT_EQ(failed.exitCode, 2);
    const size_t at = failed.err.find("it is kept as " + backup + ".kept-");
    ASSERT_NE(at, std::string::npos) << failed.err;
    const std::string kept = failed.err.substr(at + 14, failed.err.find(',', at) - at - 14);
    EXPECT_EQ(kept.substr(backup.size()), ".kept-" + kept.substr(backup.size() + 6, 15) + "-1");
    fs::last_write_time(kept, fs::file_time_type::clock::now() - std::chrono::hours(1));
    WriteBytes(rom, image);
    EXPECT_TRUE(Ok(Fix()));
    EXPECT_EQ(ReadBytes(kept), image);
}

// An output that exists and holds other data is only replaced with --yes; the same data is no
// reason to refuse.
TEST_F(CliFiles, OutputsAreNotOverwrittenUnasked) {
    WriteBytes(rom, image);
    const std::string out = File("out.bin"), demo = File("demo.bin"), patch = File("p.bps");
    ASSERT_TRUE(Ok(Run({"make-demo-rom", demo})));
    ASSERT_TRUE(Ok(Run({"patch-create", rom, Write("fixed.bin", fixed), patch})));
    ASSERT_TRUE(Ok(Run({"tiles-to-png", rom, File("sheet.png")})));
    ASSERT_TRUE(Ok(Run({"unpack", demo, File("mod")})));
    for (const Args& command : {Args{"make-demo-rom", out},
                                {"lzh-extract", rom, out, "--table", "400", "--index", "1"},
                                {"rle-extract", rom, out, "--at", "E00"},
                                {"tiles-to-png", rom, out},
                                {"png-to-tiles", File("sheet.png"), out},
                                {"render", demo, out, "--title"},
                                {"level-png", demo, out, "--level", "1", "--plane", "A"},
                                {"patch-create", rom, File("fixed.bin"), out},
                                {"patch-apply", rom, patch, out},
                                {"pack", File("mod"), out}}) {
        SCOPED_TRACE(command[0]);
        WriteBytes(out, Bytes(5, 'x'));
        const CliResult refused = Run(command);
        EXPECT_TRUE(Fails(refused, 3, "already exists and holds other data"));
        EXPECT_TRUE(Holds(refused.err, "Give --yes to "));
        EXPECT_EQ(ReadBytes(out), Bytes(5, 'x'));
        Args yes = command;
        yes.push_back("--yes");
        EXPECT_TRUE(Ok(Run(yes)));
        const Bytes written = ReadBytes(out);
        EXPECT_NE(written, Bytes(5, 'x'));
        EXPECT_TRUE(Ok(Run(command)));
        EXPECT_EQ(ReadBytes(out), written);
        Bytes other = written; // of the same size, its last byte another
        other.back() ^= 1;
        WriteBytes(out, other);
        EXPECT_EQ(Run(command).exitCode, 3);
    }
}

TEST_F(CliFiles, AnAttributeThatCannotBeCopied) {
    const struct {
        const char* attribute;
        const char* fault;
        bool written;
    } cases[] = {{"system.posix_acl_access", "eio", false},
                 {"system.posix_acl_access", "eperm", false},
                 {"user.x", "eio", false},
                 {"user.x", "eperm", true}}; // not this user's to give: left out
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.attribute) + " " + c.fault);
        fs::remove(backup);
        fs::remove(rom);
        WriteBytes(rom, image);
        const bool list = c.attribute[0] == 's';
        if ((list && std::system(("setfacl -m u:daemon:rw " + rom).c_str()) != 0) ||
            (!list && ::setxattr(rom.c_str(), "user.x", "1", 1, 0) != 0))
            GTEST_SKIP() << "the scratch folder keeps no access lists or user attributes";
        const CliResult fix =
            Fix({Preload(), std::string("DROVAK_FAIL_ALWAYS=fsetxattr:") + c.fault});
        EXPECT_EQ(fix.exitCode, c.written ? 0 : 2) << fix.err;
        EXPECT_EQ(ReadBytes(rom) == image, !c.written);
        EXPECT_EQ(fs::exists(backup), c.written);
        if (!c.written) {
            EXPECT_EQ(fix.err,
                      "drovak-cli: " + rom +
                          ": nothing was written: cannot give the new file the attribute " +
                          c.attribute + " of " + rom + ": " +
                          std::strerror(c.fault[1] == 'i' ? EIO : EPERM) + "\n");
        }
        int left = 0;
        for (const auto& entry : fs::directory_iterator(dir.path))
            left += entry.path().filename().string().rfind(".run.", 0) != 0;
        EXPECT_EQ(left, c.written ? 2 : 1);
    }
}

TEST_F(CliFiles, SpecialBitsAreKeptAndANewFileGetsTheUsualMode) {
    for (mode_t mode : {04755, 02750, 01644, 07600}) {
        WriteBytes(rom, image);
        ::chmod(rom.c_str(), mode);
        EXPECT_TRUE(Ok(Fix()));
        EXPECT_EQ(ModeOf(rom), mode) << std::oct << mode;
    }
    for (mode_t mask : {022, 077, 0}) {
        const std::string made = File("demo" + std::to_string(mask) + ".bin");
        const mode_t before = ::umask(mask); // the program started inherits it
        const CliResult demo = Run({"make-demo-rom", made});
        ::umask(before);
        EXPECT_EQ(demo.exitCode, 0) << demo.err;
        EXPECT_EQ(ModeOf(made), 0666 & ~mask) << std::oct << mask;
    }
    // Without /proc the mask is set and set back: what is made still follows it.
    const mode_t before = ::umask(070);
    const CliResult unpacked = Run({"unpack", File("demo0.bin"), File("mod")},
                                   {Preload(), "DROVAK_FAIL_ALWAYS=fopen:eio"});
    ::umask(before);
    EXPECT_TRUE(Ok(unpacked));
    EXPECT_EQ(ModeOf(File("mod")), 0707u);
    EXPECT_EQ(ModeOf(File("mod/drovak.toml")), 0606u);
}

} // namespace
} // namespace drovak::test
