// What keeps a ROM image whole: every write, sync, rename and link of a compress made to fail or
// killed in turn (the preload library support/FaultInjection.cpp), the file lock, and two
// compresses at once.
#include "CliRunner.h"

#include "base/TemporaryFiles.h"
#include "rom/HeaderChecksum.h"
#include "rom/LzhPage.h"
#include "support/HandMadeRom.h"

#include <fcntl.h>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>

namespace drovak::test {
namespace {

constexpr uint32_t TABLE = 0x400;
constexpr uint32_t BLOCK = 0xE00; // the RLE block

class CliSafety : public CliTest {
protected:
    // Four entries at 0x400 of a 0x1000-byte image with a right header checksum, the RLE block
    // of 01 11 10 00 at 0xE00.
    void SetUp() override {
        contents = {Bytes(200, 1), handmade::Noise(300, 2), Pattern(400), handmade::Noise(100, 4)};
        Bytes image = handmade::MakeRom(TABLE, contents, 0x1000);
        Put(image, BLOCK, handmade::Packed({0x01, 0x11, 0x10, 0x00}, true));
        StoreChecksum(image);
        WriteBytes(rom, image);
        Write("big.bin", handmade::Noise(400, 9));  // packs larger than entry 1's data
        Write("block.bin", handmade::Noise(64, 5)); // a longer block
    }

    struct Tally {
        int points = 0, old = 0, complete = 0, torn = 0;
    };

    // Runs the command once cleanly (the new image, and the calls it makes: every file written
    // is synced before it is renamed, the folder last), then once for each of those calls made
    // to fail with EIO, with ENOSPC, and killed there; after each the ROM must be the old image
    // or the whole new one, and the exit code and message must say which. `fileSystem` names
    // the calls the file system does not offer (DROVAK_FAIL_ALWAYS).
    Tally InjectEverywhere(const Args& command, const std::string& fileSystem = "") {
        const Bytes old = ReadBytes(rom);
        const std::string without = "DROVAK_FAIL_ALWAYS=" + fileSystem;
        const auto calls = LoggedCalls(command, {without});
        const Bytes complete = ReadBytes(rom);
        EXPECT_NE(complete, old);
        ExpectSyncedBeforeRenamed(calls);

        Tally tally;
        tally.points = int(calls.size());
        for (const char* fault : {"eio", "enospc", "kill", "short"})
            for (int at = 1; at <= tally.points; ++at) {
                SCOPED_TRACE(testing::Message() << fault << " at call " << at);
                WriteBytes(rom, old);
                std::filesystem::remove(rom + ".bak");
                const CliResult result = Run(command, FaultAt(fault, size_t(at), {without}));
                const Bytes now = ReadBytes(rom);
                // The folder's sync is the last call: its failure is said, though the new image
                // is in place.
                EXPECT_TRUE(at < tally.points || fault[0] == 'k' || result.exitCode > 0 ||
                            fault[0] == 's');
                // A write cut short is made whole.
                EXPECT_TRUE(fault[0] != 's' || result.exitCode == 0) << result.err;
                tally.old += now == old;
                tally.complete += now == complete;
                tally.torn += now != old && now != complete;
                if (result.exitCode > 0) ExpectNothingLeftBehind(result.err);
                if (result.exitCode == 0) {
                    EXPECT_EQ(WithBackup(rom), std::pair(complete, old));
                } else if (result.exitCode > 0) {
                    EXPECT_TRUE(result.exitCode == 2 || result.exitCode == 3) << result.err;
                    const bool nothing(Holds(result.err, "nothing was written"));
                    EXPECT_TRUE(nothing || Holds(result.err, "was written")) << result.err;
                    EXPECT_EQ(now, nothing ? old : complete) << result.err;
                } else {
                    EXPECT_EQ(result.exitCode, -SIGKILL);
                }
            }
        // The next run removes what the killed ones left behind, once it is stale.
        WriteBytes(rom, old);
        AgeTemporaries();
        EXPECT_TRUE(Ok(Run(command)));
        for (const auto& entry : std::filesystem::directory_iterator(dir.path)) {
            long pid = 0;
            EXPECT_FALSE(IsTemporaryName(entry.path().filename(), pid)) << entry.path();
        }
        return tally;
    }

    // What the folder holds besides what a run leaves behind.
    bool Kept(const std::filesystem::path& name) const {
        static const std::set<std::string> kept = {
            "tf3.bin", "tf3.bin.bak", "big.bin", "block.bin", "calls.log", ".run.out", ".run.err"};
        return kept.count(name.filename()) != 0;
    }
    // After a failure the folder holds what it held and the backup a change may have made: no
    // temporary file, no copy and no intermediate name, but for a file the message names as
    // kept (the old image, when the new one is in place and the backup could not take its name).
    void ExpectNothingLeftBehind(const std::string& message = "") const {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path)) {
            const std::string name = entry.path().filename();
            const bool named =
                message.find("kept as " + entry.path().string()) != std::string::npos;
            EXPECT_TRUE(Kept(entry.path()) || named) << name << ": " << message;
            if (named) std::filesystem::remove(entry.path());
        }
    }

    // Makes every temporary file in the folder look older than a stale one.
    void AgeTemporaries() const {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path)) {
            long pid = 0;
            if (IsTemporaryName(entry.path().filename(), pid))
                std::filesystem::last_write_time(
                    entry.path(), std::filesystem::file_time_type::clock::now() -
                                      std::chrono::seconds(STALE_TEMPORARY_SECONDS + 60));
        }
    }

    // Every file written is synced before it is renamed; the new image takes the ROM's name
    // before the old one takes the backup's (a failed change keeps the earlier backup); the
    // folder is synced last.
    void ExpectSyncedBeforeRenamed(const std::vector<Args>& calls) {
        std::set<std::string> unsynced;
        std::vector<std::string> renamedTo;
        for (const auto& call : calls) {
            ASSERT_GE(call.size(), 3u);
            if (call[1] == "write" || call[1] == "pwrite") unsynced.insert(call[2]);
            if (call[1] == "fsync") unsynced.erase(call[2]);
            if (call[1] == "rename") {
                EXPECT_EQ(unsynced.count(call[2]), 0u) << call[2] << " renamed before its sync";
                renamedTo.push_back(call[3]);
            }
        }
        EXPECT_EQ(renamedTo, (std::vector<std::string>{"tf3.bin", "tf3.bin.bak"}));
        EXPECT_EQ(calls.back()[1], "fsync");
        EXPECT_EQ(calls.back()[2], dir.path.filename().string()) << "the folder is synced last";
    }

    Bytes Entry(uint32_t index) const { return LzhExtractEntry(rom, TABLE, index).data; }

    std::vector<Bytes> contents;
    const std::string rom = File("tf3.bin");
    const Args lzhInsert = {"lzh-insert", rom, File("big.bin"), "--table", "400",
                            "--index",    "1", "--yes"};
    const Args rleInsert = {"rle-insert", rom, File("block.bin"), "--at", "E00", "--yes"};
};

TEST_F(CliSafety, NoFailureOrKillAtAnyWriteSyncRenameOrLinkTearsTheRom) {
    // The LZH insert also where the file system makes no links (the backup is a copy).
    const Bytes original = ReadBytes(rom);
    for (const auto& [command, fileSystem] :
         {std::pair{lzhInsert, ""}, {rleInsert, ""}, {lzhInsert, "link:eperm"}}) {
        SCOPED_TRACE(command[0] + " " + fileSystem);
        WriteBytes(rom, original);
        const Tally tally = InjectEverywhere(command, fileSystem);
        EXPECT_EQ(std::tuple(tally.torn, tally.old > 0, tally.complete > 0),
                  std::tuple(0, true, true));
    }

    // Where the file system can't exchange two names in one step, undo swaps in three; a failure
    // at any of its calls that says nothing was changed leaves the pair as it was and nothing
    // else behind.
    const auto [changed, old] = WithBackup(rom);
    const std::string noExchange = "DROVAK_FAIL_ALWAYS=renameat2:einval";
    const size_t calls = LoggedCalls({"undo", rom}, {noExchange}).size();
    EXPECT_EQ(WithBackup(rom), std::pair(old, changed));
    for (size_t at = 1; at <= calls; ++at) {
        // What an earlier run left.
        for (const auto& entry : std::filesystem::directory_iterator(dir.path))
            if (!Kept(entry.path())) std::filesystem::remove(entry.path());
        for (const auto& [name, bytes] : {std::pair{rom, &changed}, {rom + ".bak", &old}}) {
            std::filesystem::remove(name);
            WriteBytes(name, *bytes);
        }
        const CliResult undone = Run({"undo", rom}, FaultAt("eio", at, {noExchange}));
        EXPECT_TRUE(at < calls || undone.exitCode > 0) << "the folder's failed sync unsaid";
        if (undone.err.find("nothing was changed") == std::string::npos) continue;
        EXPECT_EQ(WithBackup(rom), std::pair(changed, old)) << at;
        ExpectNothingLeftBehind();
    }
}

// A write that a signal interrupted before it wrote anything (EINTR) is made again, and one cut
// short goes on with the rest: the reader of a FIFO gets the whole entry, and so does a file.
// A device whose read fails is said to fail, not to have nothing to read now.
TEST_F(CliSafety, AnInterruptedWriteIsMadeAgainAndAFailedReadIsAnError) {
    for (const std::string fault : {"eintr", "short"}) {
        const std::string fifo = File(fault + ".fifo");
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
        const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        EXPECT_TRUE(Ok(
            Run({"lzh-extract", rom, fifo, "--table", "400", "--index", "1"}, FaultAt(fault, 1))));
        Bytes got(1000);
        got.resize(size_t(std::max<ssize_t>(0, ::read(reader, got.data(), got.size()))));
        ::close(reader);
        EXPECT_EQ(got, contents[1]) << fault;
    }
    const std::string out = File("out.bin");
    EXPECT_TRUE(
        Ok(Run({"lzh-extract", rom, out, "--table", "400", "--index", "1"}, FaultAt("eintr", 1))));
    EXPECT_EQ(ReadBytes(out), contents[1]);
    // A device whose read fails.
    EXPECT_TRUE(Fails(Run({"lzh-encode", "/dev/zero", File("encoded.bin")},
                          {Preload(), "DROVAK_FAIL_ALWAYS=read:eio"}),
                      2, "/dev/zero: cannot read: Input/output error"));
}

TEST_F(CliSafety, ARomHeldByAnotherProgramIsInUse) {
    const Bytes before = ReadBytes(rom);
    const Args extract = {"lzh-extract", rom, File("out.bin"), "--table", "400"};
    for (int lock : {LOCK_EX, LOCK_SH}) {
        const int fd = ::open(rom.c_str(), O_RDONLY);
        ASSERT_EQ(::flock(fd, lock), 0);
        for (const auto& command : {lzhInsert, rleInsert, extract}) {
            const CliResult result = Run(command);
            const bool refused = command != extract || lock == LOCK_EX;
            EXPECT_EQ(result.exitCode, refused ? 3 : 0) << command[0] << " " << lock;
            const bool said(Holds(result.err, "in use by another program; nothing was written"));
            EXPECT_EQ(said, refused) << result.err;
        }
        ::close(fd);
    }
    EXPECT_EQ(ReadBytes(rom), before);
}

TEST_F(CliSafety, TwoCompressesAtOnceSerializeOrRefuseCleanly) {
    const Bytes old = ReadBytes(rom), big = ReadBytes(File("big.bin"));
    const Bytes bigger = ReadBytes(Write("bigger.bin", handmade::Noise(500, 11)));
    for (int round = 0; round < 30; ++round) {
        WriteBytes(rom, old);
        const auto first = Start(lzhInsert, {}, "first");
        const auto second = Start(
            {"lzh-insert", rom, File("bigger.bin"), "--table", "400", "--index", "2", "--yes"}, {},
            "second");
        const CliResult a = Finish(first), b = Finish(second);
        for (const CliResult* result : {&a, &b})
            EXPECT_TRUE(result->exitCode == 0 || Fails(*result, 3, "nothing was written"))
                << result->exitCode << " " << result->err;
        const Bytes expected[] = {contents[0], a.exitCode == 0 ? big : contents[1],
                                  b.exitCode == 0 ? bigger : contents[2], contents[3]};
        for (uint32_t k = 0; k < 4; ++k) EXPECT_EQ(Entry(k), expected[k]) << k;
        EXPECT_EQ(CheckChecksum(ReadBytes(rom)), ChecksumState::Right);
    }
}

} // namespace
} // namespace drovak::test
