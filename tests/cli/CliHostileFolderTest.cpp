// A mod folder from strangers, and outputs in the way: nothing is written through a link or read
// from outside the folder, nothing replaced unasked, a temporary file swapped before its rename is
// never reported as written, and an unpack stopped part-way is finished by the same command.
#include "CliRunner.h"

#include <sys/stat.h>

namespace drovak::test {
namespace {

namespace fs = std::filesystem;

class CliHostile : public CliTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Ok(Run({"make-demo-rom", demo})) && Ok(Run({"unpack", demo, mod})));
        WriteBytes(victim, Bytes(9, 'v'));
    }
    // A copy of the unpacked folder, links kept as links.
    std::string Copy(const std::string& name) {
        fs::remove_all(File(name));
        fs::copy(mod, File(name), fs::copy_options::recursive | fs::copy_options::copy_symlinks);
        return File(name);
    }
    const std::string demo = File("demo.bin"), mod = File("mod"), victim = File("victim");
};

// A folder holding a copy of a real drovak.toml and a link (dangling, or to another file) at the
// name of each kind of output: refused, and nothing is written anywhere.
TEST_F(CliHostile, UnpackNeverWritesThroughALinkPlantedInTheFolder) {
    for (const char* name : {"20000_0.bin", "20000_9.png", "48120.bin", "drovak.toml"})
        for (const std::string& target : {victim, File("created")}) {
            SCOPED_TRACE(std::string(name) + " -> " + target);
            const std::string planted = File("planted");
            fs::remove_all(planted);
            fs::create_directory(planted);
            fs::copy_file(mod + "/drovak.toml", planted + "/drovak.toml");
            fs::remove(planted + "/" + name);
            fs::create_symlink(target, planted + "/" + name);
            EXPECT_TRUE(Fails(Run({"unpack", demo, planted}), 3,
                              std::string(name) + ": is a symbolic link"));
            EXPECT_EQ(ReadBytes(victim), Bytes(9, 'v'));
            EXPECT_FALSE(fs::exists(File("created")));
        }
}

// Data files and sheets are regular files inside the folder; a link that stays inside is fine.
TEST_F(CliHostile, PackReadsOnlyRegularFilesInsideTheFolder) {
    const std::string out = File("out.bin");
    struct Case {
        const char* name;
        std::string linkTo; // "" for a FIFO
        const char* expected;
    };
    for (const Case& c :
         {Case{"20000_5.bin", victim, "leads outside the folder"},
          Case{"20000_9.png", victim, "leads outside the folder"},
          Case{"20000_5.bin", "", "is a FIFO"}, Case{"20000_5.bin", "sub/inside.bin", ""}}) {
        SCOPED_TRACE(c.name + (" -> " + c.linkTo));
        const std::string folder = Copy("case"), path = folder + "/" + c.name;
        fs::create_directory(folder + "/sub");
        fs::rename(path, folder + "/sub/inside.bin");
        c.linkTo.empty() ? (void)::mkfifo(path.c_str(), 0644) : fs::create_symlink(c.linkTo, path);
        const CliResult packed = Run({"pack", folder, out, "--yes"});
        if (*c.expected == '\0') {
            EXPECT_EQ(packed.exitCode, 0) << packed.err;
            EXPECT_EQ(ReadBytes(out), ReadBytes(demo));
            continue;
        }
        EXPECT_TRUE(Fails(packed, 3, path + ": " + c.expected));
        EXPECT_FALSE(fs::exists(out));
    }
}

// OUT and the patch never land inside DIR, --yes or not; an OUT that holds something else needs
// --yes. A folder reached through a link finds its ROM from where it really is.
TEST_F(CliHostile, PackWritesOnlyWhereItMayAndFindsItsRomThroughALinkedFolder) {
    const Bytes manifest = ReadBytes(mod + "/drovak.toml"), entry = ReadBytes(mod + "/20000_5.bin");
    const std::string alias = File("alias.bin"); // the ROM by another name
    fs::create_hard_link(demo, alias);
    for (const auto& [arguments, expected] :
         {std::pair<Args, std::string>{{"pack", mod, mod + "/drovak.toml", "--yes"}, "lies inside"},
          {{"pack", mod, File("out.bin"), "--bps", mod + "/20000_5.bin", "--yes"}, "lies inside"},
          {{"pack", mod, File("out.bin"), "--bps", File("mod/../mod/x.bps"), "--yes"},
           "lies inside"},
          {{"pack", mod, File("out.bin"), "--bps", alias, "--yes"},
           alias + ": is the ROM image " + mod + "/../demo.bin itself"}})
        EXPECT_TRUE(Fails(Run(arguments), 3, expected));
    EXPECT_EQ(ReadBytes(mod + "/drovak.toml"), manifest);
    EXPECT_EQ(ReadBytes(mod + "/20000_5.bin"), entry);
    EXPECT_FALSE(fs::exists(File("out.bin")));
    EXPECT_EQ(Run({"pack", mod, victim}).exitCode, 3);
    EXPECT_EQ(ReadBytes(victim), Bytes(9, 'v'));

    // The patch is written first: when the disk is full at OUT, the message says which exists.
    const Args withPatch = {"pack", mod, File("full.bin"), "--bps", "f.bps"};
    size_t outWrite = 0;
    for (const auto& call : LoggedCalls(withPatch, {}))
        if (outWrite == 0 && call[1].ends_with("write") && call[2].starts_with(".full.bin.drovak-"))
            outWrite = std::stoul(call[0]);
    fs::remove(File("full.bin"));
    const CliResult full = Run(withPatch, FaultAt("enospc", outWrite));
    EXPECT_TRUE(Fails(full, 2, "(f.bps was written") && fs::exists(File("f.bps")));
    EXPECT_FALSE(fs::exists(File("full.bin")));

    fs::create_directories(File("deep/real"));
    fs::create_symlink(File("deep/real"), File("linked"));
    ASSERT_TRUE(Ok(Run({"unpack", demo, "linked"})));
    EXPECT_TRUE(Ok(Run({"pack", "linked", "again.bin"})));
    EXPECT_EQ(ReadBytes(File("again.bin")), ReadBytes(demo));
}

// Another program puts a link at the temporary file's name just before its rename: the command
// fails naming what it found, and the other file is never written.
TEST_F(CliHostile, ASwappedTemporaryIsNeverReportedAsWritten) {
    const std::string rom = File("rom.bin"), patch = File("p.bps");
    WriteBytes(File("half.bin"), Bytes(100, 1));
    Bytes changed = ReadBytes(demo);
    changed[0x300] ^= 1;
    ASSERT_TRUE(Ok(Run({"patch-create", demo, Write("changed.bin", changed), patch})));
    for (bool hard : {false, true}) {
        for (const Args& command : {Args{"lzh-insert", rom, File("half.bin"), "--index", "5"},
                                    {"pack", mod, File("out.bin")},
                                    {"patch-apply", demo, patch, File("out.bin")}}) {
            SCOPED_TRACE(command[0] + (hard ? " (hard link)" : ""));
            fs::remove(rom); // after a hard link, another name of the victim
            fs::remove(File("out.bin"));
            WriteBytes(rom, ReadBytes(demo));
            Args environment = {Preload(), "DROVAK_SWAP_TO=" + victim};
            if (hard) environment.push_back("DROVAK_SWAP_HARD=1");
            const CliResult result = Run(command, environment);
            EXPECT_TRUE(Fails(result, 2,
                              hard ? "holds a second name of another file"
                                   : "holds a symbolic link to " + victim));
            EXPECT_EQ(ReadBytes(victim), Bytes(9, 'v'));
            // The ROM's old image is kept by a name no run removes.
            const size_t at = result.err.find("the old image is kept as " + rom + ".bak.kept-");
            if (command[0] == "lzh-insert" && at != std::string::npos) {
                EXPECT_EQ(ReadBytes(result.err.substr(at + 25, result.err.find(';', at) - at - 25)),
                          ReadBytes(demo));
            } else {
                EXPECT_NE(command[0] == "lzh-insert", at == std::string::npos) << result.err;
            }
        }
    }
}

// Killed, or out of room, at points all through an unpack: the same command run again finishes
// the folder, which then packs to the ROM byte for byte; a pack before that refuses it.
TEST_F(CliHostile, AnUnpackStoppedPartWayIsFinishedByTheSameCommand) {
    const std::string folder = File("u"), out = File("u.bin");
    for (const auto& [fault, at] :
         {std::pair{"kill", 2}, {"kill", 60}, {"kill", 150}, {"enospc", 1}, {"enospc", 90}}) {
        SCOPED_TRACE(fault + (" at " + std::to_string(at)));
        fs::remove_all(folder);
        fs::remove(out);
        const CliResult stopped = Run({"unpack", demo, folder}, FaultAt(fault, at));
        EXPECT_EQ(stopped.exitCode, std::string(fault) == "kill" ? -SIGKILL : 2);
        if (at > 3 && stopped.exitCode == 2) {
            EXPECT_FALSE(Holds(stopped.err, "nothing was written"));
            EXPECT_TRUE(Holds(stopped.err, "the same command run again finishes it"));
            EXPECT_EQ(Run({"pack", folder, out}).exitCode, 3);
        }
        ASSERT_TRUE(Ok(Run({"unpack", demo, folder})) && Ok(Run({"pack", folder, out})));
        EXPECT_EQ(ReadBytes(out), ReadBytes(demo));
    }
}

} // namespace
} // namespace drovak::test
