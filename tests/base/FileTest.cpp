#include "base/Errors.h"
#include "base/FileHandle.h"
#include "base/FolderWatch.h"
#include "base/Folders.h"
#include "base/Paths.h"
#include "base/Program.h"
#include "base/ReplaceFile.h"
#include "base/Stream.h"
#include "base/TemporaryFiles.h"
#include "base/Terminal.h"
#include "base/WholeFile.h"
#include "support/TestSupport.h"
#include "support/WordsOf.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace drovak {
namespace {

using namespace test;
namespace fs = std::filesystem;

class BaseFiles : public ScratchTest {};

// A stream that gives at most a byte a read, as a pipe may.
class Trickle final : public Stream {
public:
    explicit Trickle(Bytes bytes) : bytes_(std::move(bytes)) {}
    size_t Read(void* buffer, size_t count) override {
        if (count == 0 || at_ == bytes_.size()) return 0;
        static_cast<uint8_t*>(buffer)[0] = bytes_[at_++];
        return 1;
    }
    void Write(const void*, size_t) override {}
    uint64_t Seek(int64_t, SeekOrigin) override { return at_; }
    uint64_t Position() const override { return at_; }
    uint64_t Size() const override { return bytes_.size(); }

private:
    Bytes bytes_;
    size_t at_ = 0;
};

// Replacing keeps the mode, leaves a link a link (its target replaced, created when missing),
// writes a FIFO or device through, and refuses a folder.
TEST_F(BaseFiles, ReplacingFiles) {
    const std::string path = Write("data.bin", Pattern(100));
    ::chmod(path.c_str(), 0604);
    MemoryStream data(Bytes{1, 2, 3});
    data.Seek(2, SeekOrigin::Begin);
    SaveStreamToFile(data, path);
    EXPECT_EQ((std::tuple{ReadBytes(path), data.Position()}), (std::tuple{(Bytes{1, 2, 3}), 2u}));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0604));

    fs::create_symlink("data.bin", File("link.bin"));
    fs::create_symlink("later.bin", File("dangling.bin"));
    WriteFileReplacing(File("link.bin"), Bytes{4});
    WriteFileReplacing(File("dangling.bin"), Bytes{5});
    EXPECT_TRUE(fs::is_symlink(File("link.bin")) && fs::is_symlink(File("dangling.bin")));
    EXPECT_EQ(std::tuple(LinkTarget(File("link.bin")), LinkTarget(path)),
              std::tuple("data.bin", ""));
    EXPECT_EQ(std::tuple(ReadBytes(path), ReadBytes(File("later.bin"))),
              std::tuple(Bytes{4}, Bytes{5}));
    // A cycle of links is followed 40 times at most: the name it stops at is written over.
    fs::create_symlink("loop2.bin", File("loop1.bin"));
    fs::create_symlink("loop1.bin", File("loop2.bin"));
    WriteFileReplacing(File("loop1.bin"), Bytes{6});
    EXPECT_EQ(std::tuple(fs::is_symlink(File("loop1.bin")), ReadBytes(File("loop1.bin"))),
              std::tuple(false, Bytes{6}));

    // A FIFO with a reader gets the bytes; one without is refused; neither is replaced.
    const std::string fifo = File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_TRUE(Holds(WordsOf<FileError>([&] { WriteFileReplacing(fifo, Bytes{6}); }),
                      "no program reads from it"));
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    WriteFileReplacing(fifo, Bytes{7, 8});
    uint8_t got[4] = {};
    EXPECT_EQ((std::tuple{::read(reader, got, sizeof got), got[1]}), (std::tuple{2, 8}));
    // More than a pipe holds waits for a slow reader, and goes through whole.
    std::atomic<size_t> drained = 0;
    std::atomic<bool> written = false;
    std::thread slow([&] { // reads to the end: once the write has returned, no writer is left
        for (ssize_t n = 0; n != 0 || !written; n = ::read(reader, got, sizeof got)) {
            drained += size_t(std::max<ssize_t>(n, 0));
            if (n <= 0) std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    EXPECT_NO_THROW(WriteFileReplacing(fifo, Bytes(200000, 3)));
    written = true;
    slow.join();
    EXPECT_EQ(drained, 200000u);
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(fifo));
    WriteFileReplacing("/dev/null", Bytes{9});
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    // Started without a standard input, the device opened is descriptor 0, written like any.
    const int input = ::dup(0);
    ::close(0);
    EXPECT_NO_THROW(WriteFileReplacing("/dev/null", Bytes{9}));
    ::dup2(input, 0);
    ::close(input);
    fs::create_directory(File("folder"));
    EXPECT_THROW(WriteFileReplacing(File("folder"), Bytes{1}), FileError);
}

// Temporary names carry the writer's process id, of any length Linux gives (up to 4194304) and
// up to 9 digits; anything else that merely looks like one is no temporary name.
TEST(BaseTemporaryNames, TheProcessIdIsReadBack) {
    // clang-format off
    const std::pair<const char*, long> names[] = {
        {".data.bin.drovak-123-0.tmp", 123}, {".data.bin.drovak-123456-7.tmp", 123456},
        {".data.bin.drovak-4194304-0.tmp", 4194304}, {".data.bin.drovak-123456789-0.tmp", 123456789},
        {".data.bin.drovak-1234567890-0.tmp", 0}, {"data.bin.drovak-123-0.tmp", 0},
        {".data.bin.drovak-12a-0.tmp", 0}, {".data.bin.drovak-123-0.tmp~", 0},
        {".data.bin.drovak--0.tmp", 0}, {".data.bin.drovak-0-0.tmp", 0}};
    // clang-format on
    for (const auto& [name, pid] : names) {
        long read = 0;
        EXPECT_EQ(IsTemporaryName(name, read), pid != 0) << name;
        EXPECT_EQ(pid != 0 ? read : 0, pid) << name;
    }
    const std::string made = TemporaryNameBeside("/some/folder/tf3.bin");
    long read = 0;
    EXPECT_TRUE(IsTemporaryName(made.substr(made.rfind('/') + 1), read)) << made;
    EXPECT_EQ(read, ::getpid());
}

// Another program puts a file of its own at the name while the new content is written: the
// replacement is refused, that file stays as it is, and nothing is left beside it.
// So is a file reached through a link, its old content to be kept as a backup or not; the
// refusal names the link, as it was given.
TEST_F(BaseFiles, AFileReplacedMeanwhileIsNotWrittenOver) {
    for (const auto& way : {std::pair{false, false}, {true, true}, {true, false}}) {
        const bool throughLink = way.first, backup = way.second;
        const std::string path = Write("data.bin", Pattern(10));
        const std::string theirs = Write("theirs.bin", Pattern(20, 1));
        const std::string named = throughLink ? File("link.bin") : path;
        fs::remove(File("link.bin"));
        if (throughLink) fs::create_symlink("data.bin", named);
        const auto write = [&](Stream& out) {
            fs::rename(theirs, path);
            out.Write("new", 3);
        };
        const std::string refused = WordsOf<RefusedError>([&] {
            if (backup) {
                FileStream locked(named, FileMode::Replace);
                ReplaceFile(named, write, {.locked = &locked, .keepBackup = true});
            } else {
                WriteFileReplacing(named, write);
            }
        });
        EXPECT_TRUE(Holds(refused, named + ": replaced by another program meanwhile"));
        EXPECT_EQ(ReadBytes(path), Pattern(20, 1));
        EXPECT_EQ(EntriesIn(dir.path), 1 + throughLink);
    }
}

// Whole files: a pipe is read to its end, a FIFO without a writer reads as empty at once, one
// whose writer is slow to write is waited for (signals that interrupt the wait end nothing), a
// device with nothing to give now is refused, and so is one without an end. A pipe or a file of
// exactly the limit is read; one byte more is not.
TEST_F(BaseFiles, ReadingWholeFiles) {
    for (const auto& [size, limit] : {std::pair{3u, 3u}, {4u, 3u}, {0u, 0u}, {1u, 0u}}) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        ASSERT_EQ(::write(ends[1], "abcd", size), ssize_t(size));
        ::close(ends[1]);
        const std::string piped = "/proc/self/fd/" + std::to_string(ends[0]);
        const std::string file = Write("limit.bin", Slice(Hex("61 62 63 64"), 0, size));
        for (const std::string& path : {piped, file}) {
            const std::string refused = WordsOf<RefusedError>([&, limit = limit] {
                errno = EAGAIN; // left over from before: it decides nothing
                ReadWholeFile(path, limit, SizeLimit::Sheet);
            });
            EXPECT_EQ(refused.empty(), size <= limit) << path << " " << size << " " << refused;
            if (size <= limit && path == file) {
                EXPECT_EQ(ReadWholeFile(file, limit), Slice(Hex("61 62 63 64"), 0, size));
            }
        }
        ::close(ends[0]);
    }
    ASSERT_EQ(::mkfifo(File("fifo").c_str(), 0644), 0);
    EXPECT_EQ(ReadWholeFile(File("fifo")), Bytes{});
    const int writer = ::open(File("fifo").c_str(), O_RDWR); // a writer from the start
    struct sigaction quiet {
    }, before{};
    quiet.sa_handler = [](int) {}; // no SA_RESTART: a read waiting is interrupted (EINTR)
    ::sigaction(SIGUSR1, &quiet, &before);
    std::thread slow([writer, reader = ::pthread_self()] {
        for (int k = 0; k < 10; ++k) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            ::pthread_kill(reader, SIGUSR1);
        }
        EXPECT_EQ(::write(writer, "abc", 3), 3);
        ::close(writer);
    });
    Bytes slowly;
    const std::string failed = WordsOf<DrovakError>([&] { slowly = ReadWholeFile(File("fifo")); });
    slow.join();
    ::sigaction(SIGUSR1, &before, nullptr);
    EXPECT_EQ(slowly, Hex("61 62 63")) << failed;
    EXPECT_THROW(ReadWholeFile("/dev/zero", 1000), RefusedError);
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(::grantpt(terminal) | ::unlockpt(terminal), 0);
    EXPECT_TRUE(Holds(WordsOf<RefusedError>([&] { ReadWholeFile(::ptsname(terminal)); }),
                      "can't be read to an end"));
    ::close(terminal);
}

// A failed open says what it was for; a file already at the name a temporary would take is left
// as it is, and the next name is taken.
TEST_F(BaseFiles, OpeningAndCreating) {
    const std::string missing = File("missing.bin");
    for (const auto& [flags, words] :
         {std::pair{O_RDONLY, "reading"}, {O_WRONLY, "writing"}, {O_RDWR, "writing"}})
        EXPECT_EQ(WordsOf<FileError>([&, flags = flags] { FileHandle::Open(missing, flags); }),
                  missing + ": cannot open for " + words + ": No such file or directory");
    EXPECT_EQ(WordsOf<FileError>([] { FileHandle::Open("", O_RDONLY); }), "No file name given");

    const std::string rom = Write("tf3.bin", Pattern(16));
    const std::string seen = TemporaryNameBeside(rom);
    const size_t dash = seen.rfind('-'), dot = seen.rfind('.');
    const auto named = [&](int step) {
        return seen.substr(0, dash + 1) +
               std::to_string(std::stoi(seen.substr(dash + 1, dot - dash - 1)) + step) +
               seen.substr(dot);
    };
    WriteBytes(named(1), Pattern(8, 5));
    EXPECT_EQ(CreateTemporaryBeside(rom).path, named(2));
    EXPECT_EQ(ReadBytes(named(1)), Pattern(8, 5));
    // A hundred names taken are passed over; a hundred and one are not.
    for (int step = 3; step < 103; ++step) WriteBytes(named(step), {});
    EXPECT_EQ(CreateTemporaryBeside(rom).path, named(103));
    for (int step = 104; step < 205; ++step) WriteBytes(named(step), {});
    EXPECT_THROW(CreateTemporaryBeside(rom), FileError);
    // Started without a standard input, a program gets descriptor 0 for its first file: that one
    // is closed too.
    const int input = ::dup(0);
    ::close(0);
    EXPECT_EQ(FileHandle::Open(rom, O_RDONLY).Descriptor(), 0);
    EXPECT_EQ(::fcntl(0, F_GETFD), -1) << "descriptor 0 left open";
    ::dup2(input, 0);
    ::close(input);
    // A folder watch closes what it opened.
    const auto descriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto before = descriptors();
    { FolderWatch watch(File("")); }
    EXPECT_EQ(descriptors(), before);
}

// Where a seek lands, from each origin, in memory, over a view and in a file: never before 0,
// and past the end where asked, where a byte read gives -1.
TEST_F(BaseFiles, SeeksFromEachOriginFromPosition3Of10) {
    const Bytes bytes = Pattern(10);
    MemoryStream memory(bytes);
    ViewStream view(bytes, "view");
    FileStream file(Write("ten.bin", bytes), FileMode::Read);
    const std::tuple<int64_t, SeekOrigin, uint64_t> cases[] = {
        {2, SeekOrigin::Begin, 2},    {2, SeekOrigin::Current, 5}, {-2, SeekOrigin::End, 8},
        {-9, SeekOrigin::Current, 0}, {4, SeekOrigin::End, 14},    {-1, SeekOrigin::Begin, 0},
    };
    for (Stream* stream : std::initializer_list<Stream*>{&memory, &view, &file})
        for (const auto& [offset, origin, landed] : cases) {
            stream->Seek(3, SeekOrigin::Begin);
            EXPECT_EQ(stream->Seek(offset, origin), landed) << offset;
            EXPECT_EQ(stream->Position(), landed) << offset;
            uint8_t byte = 0;
            EXPECT_EQ(stream->Read(&byte, 1), landed < 10 ? 1u : 0u) << offset;
            if (landed < 10) {
                EXPECT_EQ(byte, bytes[landed]) << offset;
            }
        }
    // A read whole from a stream that gives a byte at a time.
    Trickle trickle(bytes);
    Bytes whole(10);
    trickle.ReadExact(whole.data(), whole.size());
    EXPECT_EQ(whole, bytes);
    // A read short of its count names the stream.
    MemoryStream ten(bytes); // (the seek past the end grew the other)
    for (auto [stream, name] : {std::pair<Stream*, std::string>{&ten, "memory"},
                                {&view, "view"},
                                {&file, File("ten.bin")}}) {
        stream->Seek(9, SeekOrigin::Begin);
        uint8_t two[2];
        EXPECT_TRUE(Holds(WordsOf<FileError>([&, s = stream] { s->ReadExact(two, 2); }),
                          name + ": too short: 2 bytes needed at 0x9, the data ends at 0xA"));
    }
    // Reads in pieces that cross the ends of the file's read buffer give the file as it is.
    const Bytes large = Pattern(200000, 7);
    FileStream pieces(Write("large.bin", large), FileMode::Read);
    Bytes read(large.size());
    errno = EINTR; // as an interrupted call before left it: no read is repeated for it
    for (size_t at = 0; at < read.size(); at += 1000)
        pieces.ReadExact(read.data() + at, std::min<size_t>(1000, read.size() - at));
    EXPECT_EQ(read, large);
    // A byte written in the middle replaces the one there; one at the end adds to it.
    MemoryStream written(bytes);
    written.Seek(4, SeekOrigin::Begin);
    const uint8_t ee = 0xEE, ef = 0xEF;
    written.Write(&ee, 1);
    written.Seek(0, SeekOrigin::End);
    written.Write(&ef, 1);
    EXPECT_EQ(written.Data(),
              Cat(Slice(bytes, 0, 4), Bytes{0xEE}, Slice(bytes, 5, 5), Bytes{0xEF}));
    // A view takes no bytes: nothing is written quietly, and writing nothing is no fault.
    EXPECT_NO_THROW(view.Write(bytes.data(), 0));
    EXPECT_THROW(view.Write(bytes.data(), 1), FileError);
}

// The width of standard error: a terminal's, 80 columns where it tells none; none for a pipe.
TEST(BaseTerminal, StandardErrorsColumns) {
    int terminal = -1, side = -1, pipe[2];
    ASSERT_EQ(::openpty(&terminal, &side, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(::pipe(pipe), 0);
    const int saved = ::dup(STDERR_FILENO);
    std::vector<std::optional<unsigned>> seen;
    for (const unsigned short columns : {0, 132}) {
        const winsize size{24, columns, 0, 0};
        ::ioctl(side, TIOCSWINSZ, &size);
        ::dup2(side, STDERR_FILENO);
        seen.push_back(StandardErrorTerminalColumns());
    }
    ::dup2(pipe[1], STDERR_FILENO);
    seen.push_back(StandardErrorTerminalColumns());
    ::dup2(saved, STDERR_FILENO);
    for (const int fd : {terminal, side, pipe[0], pipe[1], saved}) ::close(fd);
    EXPECT_EQ(seen, (std::vector<std::optional<unsigned>>{80u, 132u, std::nullopt}));
}

// A user's command line split into words as a shell splits it, without a shell's expansions,
// and a file's path put in as one word.
TEST_F(BaseFiles, CommandLinesSplitAsAShellSplitsThemAndTheFileIsOneWord) {
    using Words = std::vector<std::string>;
    const std::pair<const char*, Words> cases[] = {
        // with the file "my rom;$(x).bin"
        {"blastem %f", {"blastem", "my rom;$(x).bin"}},
        {"  mednafen\t-force_module md  ", {"mednafen", "-force_module", "md", "my rom;$(x).bin"}},
        {"'/opt/my emu/run' --rom=%f -v", {"/opt/my emu/run", "--rom=my rom;$(x).bin", "-v"}},
        {R"(emu "a \"b\" c" a\ b 'it''s' %f)",
         {"emu", R"(a "b" c)", "a b", "its", "my rom;$(x).bin"}},
        {R"(emu '$HOME \n' "")", {"emu", R"($HOME \n)", "", "my rom;$(x).bin"}},
        {"emu a=%f,%f b\\", {"emu", "a=my rom;$(x).bin,my rom;$(x).bin", "b\\"}},
        {"emu %f a\\b", {"emu", "my rom;$(x).bin", "ab"}},
        {R"(emu "x\\" "y\z")", {"emu", R"(x\)", R"(y\z)", "my rom;$(x).bin"}},
    };
    for (const auto& [line, words] : cases)
        EXPECT_EQ(WithFile(SplitCommandLine(line), "my rom;$(x).bin"), words) << line;
    for (const char* wrong : {"", "   ", "emu 'open", "emu \"open"})
        EXPECT_THROW(SplitCommandLine(wrong), RefusedError) << wrong;
    // A program is looked for in each folder of PATH in turn, the first as well.
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", ("/bin:" + path).c_str(), 1);
    EXPECT_EQ(FindProgram("sh"), "/bin/sh");
    ::setenv("PATH", path.c_str(), 1);
    // The emulator: DROVAK_EMULATOR's, else the window's setting.
    ::setenv("DROVAK_EMULATOR", "env %f", 1);
    EXPECT_EQ(EmulatorCommand(std::string("set"), "r.bin"),
              (std::vector<std::string>{"env", "r.bin"}));
    ::unsetenv("DROVAK_EMULATOR");
    EXPECT_EQ(EmulatorCommand(std::string("set -x"), "r.bin"),
              (std::vector<std::string>{"set", "-x", "r.bin"}));
    // Else an emulator found on PATH.
    WriteBytes(File("mednafen"), Bytes{});
    fs::permissions(File("mednafen"), fs::perms::owner_all);
    ::setenv("PATH", File("").c_str(), 1);
    const auto found = EmulatorCommand(std::string(), "r.bin");
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(found, (std::vector<std::string>{"mednafen", "r.bin"}));
}

// A file's name ends at the last "/" alone; the typed-text rule of the suggested names also
// splits at "\" and ":".
TEST(BasePaths, AFileNameEndsAtTheLastSlashOnly) {
    EXPECT_EQ(FileNamePart("/roms/my:rom.bin"), "my:rom.bin");
    EXPECT_EQ(FileNamePart("/roms/a\\b.bin"), "a\\b.bin");
    EXPECT_EQ(FolderPart("C:\\roms\\tf3.bin"), "C:\\roms\\");
    // A name put in a folder, and a path told from a folder.
    EXPECT_EQ(std::tuple(PathIn("", "a.bin"), PathIn("/m/", "a.bin"), PathIn("/m", "a.bin")),
              std::tuple("a.bin", "/m/a.bin", "/m/a.bin"));
    EXPECT_EQ(std::tuple(RelativePathFrom("/m/", "/m/x/../a.bin"), RelativePathFrom("/m", "/n/b")),
              std::tuple("a.bin", "../n/b"));
}

} // namespace
} // namespace drovak
