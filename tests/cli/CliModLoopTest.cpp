// The modder's loop around pack: --watch packs on each save (a save by rename too, a burst of
// saves once), says a refused pack and goes on, and stops on SIGINT with OUT whole; --run starts
// the emulator on the packed ROM without a shell.
#include "CliRunner.h"

#include <chrono>
#include <csignal>
#include <functional>
#include <thread>

namespace drovak::test {
namespace {

class CliLoop : public CliTest {
protected:
    void SetUp() override {
        const CliResult made = Run({"make-demo-rom", demo_});
        ASSERT_EQ(made.exitCode, 0);
        EXPECT_EQ(made.out.rfind(demo_ + " written: 524288 bytes, in ", 0), 0u) << made.out;
        ASSERT_TRUE(Ok(Run({"unpack", demo_, mod_})));
    }
    // The lines a started command has printed on stdout once it has printed `count` (or, past a
    // bound that only a hung command reaches, what it printed so far).
    std::vector<std::string> LinesOnceThere(const Started& started, size_t count) const {
        std::vector<std::string> lines;
        for (int tries = 0; tries < 750; ++tries) {
            std::istringstream out(ReadText(File("." + started.tag + ".out")));
            lines.clear(); // whole lines only: one being written is not there yet
            for (std::string line; std::getline(out, line) && !out.eof();) lines.push_back(line);
            if (lines.size() >= count) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return lines;
    }
    Bytes Entry(const std::string& name, size_t size, uint8_t seed) const {
        Bytes data = ReadBytes(File("mod/" + name));
        data.resize(size);
        data.front() = seed;
        return data;
    }
    const std::string demo_ = File("demo.bin"), mod_ = File("mod");
};

TEST_F(CliLoop, WatchPacksOnEachSaveAndStopsOnSigintWithOutWhole) {
    // Each pack starts from the base: the base itself is no OUT for a watch.
    EXPECT_TRUE(Fails(Run({"pack", mod_, demo_, "--watch"}), 3, "is the base ROM"));
    // Nor does a watch start that no save could let write.
    EXPECT_TRUE(Fails(Run({"pack", mod_, File("o.bin"), "--watch", "--bps", mod_ + "/p.bps"}), 3,
                      "lies inside"));
    const std::string out = File("out.bin");
    // --run starts the emulator once, after the first pack; the watch goes on while it runs.
    const std::string emulator = File("emulator.pid");
    const Started watch =
        Start({"pack", mod_, out, "--watch", "--yes", "--bps", File("mod.bps"), "--run"},
              {"DROVAK_EMULATOR=sh -c 'echo $$ > " + emulator + "; exec sleep 60' %f"}, "watch");
    const std::vector<std::string> first = LinesOnceThere(watch, 3);
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[1], "sh started on out.bin.");
    const Bytes sheet = ReadBytes(File("mod/20000_9.png"));
    // Each step saves, then waits for the pack's line and checks it.
    const std::function<void()> saves[] = {
        [&] { WriteBytes(File("mod/20000_5.bin"), Entry("20000_5.bin", 500, 1)); },
        [&] { // an editor's save: a new file renamed over the old
            WriteBytes(File("mod/.20000_6.bin.new"), Entry("20000_6.bin", 600, 2));
            std::filesystem::rename(File("mod/.20000_6.bin.new"), File("mod/20000_6.bin"));
        },
        [&] { // a burst of saves packs once, with the last
            for (uint8_t seed = 3; seed < 6; ++seed)
                WriteBytes(File("mod/20000_7.bin"), Entry("20000_7.bin", 700, seed));
        },
        [&] { WriteBytes(File("mod/20000_9.png"), Hex("01 02 03")); },
        [&] { WriteBytes(File("mod/20000_9.png"), sheet); },
        [&] { // a save in a folder inside
            WriteBytes(File("mod/palettes/level01.gpl"),
                       ReadBytes(File("mod/palettes/level01.gpl")));
        },
    };
    // Each line names the saves that started its pack, and only those.
    const char* said[] = {"20000_5.bin saved: 1 file changed since the unpack; ",
                          "20000_6.bin saved: 2 files changed",
                          "20000_7.bin saved: 3 files changed",
                          "20000_9.png saved: not packed: ",
                          "20000_9.png saved: 3 files changed",
                          "level01.gpl saved: 3 files changed"};
    for (size_t step = 0; step < std::size(saves); ++step) {
        SCOPED_TRACE(said[step]);
        saves[step]();
        const std::vector<std::string> lines = LinesOnceThere(watch, 4 + step);
        ASSERT_EQ(lines.size(), 4 + step);
        EXPECT_EQ(lines.back().find(said[step]), 9u) << lines.back(); // after "HH:MM:SS "
    }
    ::kill(watch.pid, SIGINT);
    ::kill(std::stoi(ReadText(emulator)), SIGTERM);
    const CliResult stopped = Finish(watch);
    EXPECT_EQ(stopped.exitCode, 0) << stopped.err;
    EXPECT_EQ(stopped.out.substr(stopped.out.rfind('\n', stopped.out.size() - 2) + 1),
              "stopped watching " + mod_ + "\n");
    // OUT is the last pack, whole: what a pack of the folder as it is now writes.
    ASSERT_TRUE(Ok(Run({"pack", mod_, File("again.bin"), "--yes"})));
    EXPECT_EQ(ReadBytes(out), ReadBytes(File("again.bin")));
}

// A watch whose first pack fails starts the emulator after the first one that succeeds.
TEST_F(CliLoop, AWatchStartsTheEmulatorOnceAPackSucceeds) {
    const Bytes sheet = ReadBytes(File("mod/20000_9.png"));
    WriteBytes(File("mod/20000_9.png"), Hex("01 02 03"));
    const Started watch = Start({"pack", mod_, File("out.bin"), "--watch", "--yes", "--run"},
                                {"DROVAK_EMULATOR=true"}, "watch");
    ASSERT_EQ(LinesOnceThere(watch, 2).size(), 2u); // not packed; watching
    WriteBytes(File("mod/20000_9.png"), sheet);
    const std::vector<std::string> lines = LinesOnceThere(watch, 4);
    ::kill(watch.pid, SIGTERM); // stops it as SIGINT does
    EXPECT_EQ(Finish(watch).exitCode, 0);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(lines[0].ends_with("; nothing was written")) << lines[0];
    EXPECT_EQ(lines[3], "true started on out.bin.");
}

TEST_F(CliLoop, RunStartsTheEmulatorOnThePackedRomWithoutAShell) {
    // It records its arguments, the signals it holds back and whether it ignores SIGINT or
    // SIGTERM (none: it is stopped like any, even when drovak-cli itself ignores them), read by
    // the shell itself, which holds them all back while it starts another program.
    const std::string script =
        "#!/bin/sh\nprintf '%s\\n' \"$@\" > args.new\nwhile read -r key mask; do\n"
        "[ \"$key\" = SigBlk: ] && echo \"$mask\" >> args.new\n"
        "[ \"$key\" = SigIgn: ] && echo $((0x$mask & 0x4002)) >> args.new\n"
        "done < /proc/$$/status\nmv args.new args\n";
    const std::string emulator = Write("emulator.sh", Text(script));
    std::filesystem::permissions(emulator, std::filesystem::perms::owner_all);
    const std::string out = "my rom;$(touch hacked).bin";
    stopsIgnored = true;
    const CliResult run =
        Run({"pack", mod_, out, "--run"}, {"DROVAK_EMULATOR='" + emulator + "' --rom %f -v"});
    stopsIgnored = false;
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (int tries = 0; tries < 750 && !std::filesystem::exists(File("args")); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(ReadText(File("args")), "--rom\n" + out + "\n-v\n0000000000000000\n0\n");
    EXPECT_FALSE(std::filesystem::exists(File("hacked")));
    EXPECT_TRUE(run.out.ends_with("\nemulator.sh started on " + out + ".\n")) << run.out;
    // None set or installed: said before anything is written.
    const CliResult none = Run({"pack", mod_, File("none.bin"), "--run"},
                               {"DROVAK_EMULATOR=", "PATH=" + File("empty")});
    EXPECT_TRUE(Fails(none, 3, "set DROVAK_EMULATOR"));
    EXPECT_FALSE(std::filesystem::exists(File("none.bin")));
    // One that can't be started is said after the ROM was written.
    const std::string written = File("written.bin");
    EXPECT_TRUE(Fails(Run({"pack", mod_, written, "--run"}, {"DROVAK_EMULATOR=" + File("args")}), 2,
                      "args: no such program (on PATH) to start; " + written + " was written"));
}

} // namespace
} // namespace drovak::test
