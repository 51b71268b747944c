#include "base/Errors.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "base/Stream.h"
#include "base/TemporaryFiles.h"
#include "base/WholeFile.h"
#include "support/TestSupport.h"
#include "support/WordsOf.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace drovak {
namespace {

using namespace test;
namespace fs = std::filesystem;

class BaseFiles : public ScratchTest {};

// Replacing keeps the mode, leaves a link a link (its target replaced, created when missing),
// writes a FIFO or device through, and refuses a folder.
TEST_F(BaseFiles, ReplacingFiles) {
    const std::string path = Write("data.bin", Pattern(100));
    ::chmod(path.c_str(), 0604);
    MemoryStream data(Bytes{1, 2, 3});
    data.Seek(2, SeekOrigin::Begin);
    SaveStreamToFile(data, path);
    EXPECT_EQ(ReadBytes(path), (Bytes{1, 2, 3}));
    EXPECT_EQ(data.Position(), 2u);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0604));

    fs::create_symlink("data.bin", File("link.bin"));
    fs::create_symlink("later.bin", File("dangling.bin"));
    WriteFileReplacing(File("link.bin"), Bytes{4});
    WriteFileReplacing(File("dangling.bin"), Bytes{5});
    EXPECT_TRUE(fs::is_symlink(File("link.bin")) && fs::is_symlink(File("dangling.bin")));
    EXPECT_EQ(ReadBytes(path), Bytes{4});
    EXPECT_EQ(ReadBytes(File("later.bin")), Bytes{5});

    // A FIFO with a reader gets the bytes; one without is refused; neither is replaced.
    const std::string fifo = File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_NE(WordsOf<FileError>([&] {
                  WriteFileReplacing(fifo, Bytes{6});
              }).find("no program reads from it"),
              std::string::npos);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    WriteFileReplacing(fifo, Bytes{7, 8});
    uint8_t got[4] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 2);
    EXPECT_EQ(got[1], 8);
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(fifo));
    WriteFileReplacing("/dev/null", Bytes{9});
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    fs::create_directory(File("folder"));
    EXPECT_THROW(WriteFileReplacing(File("folder"), Bytes{1}), FileError);
}

// Temporary names carry the writer's process id, of any length Linux gives (up to 4194304, 7
// digits); anything else that merely looks like one is no temporary name.
TEST(BaseTemporaryNames, TheProcessIdIsReadBack) {
    const std::pair<const char*, long> names[] = {{".data.bin.drovak-123-0.tmp", 123},
                                                  {".data.bin.drovak-123456-7.tmp", 123456},
                                                  {".data.bin.drovak-4194304-0.tmp", 4194304},
                                                  {"data.bin.drovak-123-0.tmp", 0},
                                                  {".data.bin.drovak-12a-0.tmp", 0},
                                                  {".data.bin.drovak-123-0.tmp~", 0},
                                                  {".data.bin.drovak--0.tmp", 0},
                                                  {".data.bin.drovak-0-0.tmp", 0}};
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
TEST_F(BaseFiles, AFileReplacedMeanwhileIsNotWrittenOver) {
    const std::string path = Write("data.bin", Pattern(10));
    const std::string theirs = Write("theirs.bin", Pattern(20, 1));
    const std::string refused = WordsOf<RefusedError>([&] {
        WriteFileReplacing(path, [&](Stream& out) {
            fs::rename(theirs, path);
            out.Write("new", 3);
        });
    });
    EXPECT_NE(refused.find("replaced by another program meanwhile"), std::string::npos) << refused;
    EXPECT_EQ(ReadBytes(path), Pattern(20, 1));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

// A lock another program holds: shared keeps writers out, exclusive keeps everyone out.
TEST_F(BaseFiles, Locks) {
    const std::string path = Write("tf3.bin", Pattern(64));
    for (int lock : {LOCK_SH, LOCK_EX}) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        ASSERT_EQ(::flock(fd, lock), 0);
        EXPECT_EQ(WordsOf<InUseError>([&] { FileStream(path, FileMode::Read); }).empty(),
                  lock == LOCK_SH);
        EXPECT_THROW(FileStream(path, FileMode::Replace), InUseError);
        EXPECT_THROW(WriteFileReplacing(path, Bytes{1}), InUseError);
        ::close(fd);
        EXPECT_EQ(ReadBytes(path), Pattern(64));
    }
}

// Whole files: a pipe is read to its end, a FIFO without a writer reads as empty at once, one
// whose writer is slow to write is waited for, a device with nothing to give now is refused, and
// so is one without an end. A pipe or a file of exactly the limit is read; one byte more is not.
TEST_F(BaseFiles, ReadingWholeFiles) {
    for (const auto& [size, limit] : {std::pair{3u, 3u}, {4u, 3u}, {0u, 0u}, {1u, 0u}}) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        ASSERT_EQ(::write(ends[1], "abcd", size), ssize_t(size));
        ::close(ends[1]);
        const std::string piped = "/proc/self/fd/" + std::to_string(ends[0]);
        const std::string file = Write("limit.bin", Slice(Hex("61 62 63 64"), 0, size));
        for (const std::string& path : {piped, file}) {
            const std::string refused = WordsOf<RefusedError>(
                [&, limit = limit] { ReadWholeFile(path, limit, SizeLimit::Sheet); });
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
    std::thread slow([writer] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(::write(writer, "abc", 3), 3);
        ::close(writer);
    });
    Bytes slowly;
    const std::string failed = WordsOf<DrovakError>([&] { slowly = ReadWholeFile(File("fifo")); });
    slow.join();
    EXPECT_EQ(slowly, Hex("61 62 63")) << failed;
    EXPECT_THROW(ReadWholeFile("/dev/zero", 1000), RefusedError);
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(::grantpt(terminal) | ::unlockpt(terminal), 0);
    EXPECT_NE(WordsOf<RefusedError>([&] {
                  ReadWholeFile(::ptsname(terminal));
              }).find("can't be read to an end"),
              std::string::npos);
    ::close(terminal);
}

// A file's name ends at the last "/" alone; the typed-text rule of the suggested names also
// splits at "\" and ":".
TEST(BasePaths, AFileNameEndsAtTheLastSlashOnly) {
    EXPECT_EQ(FileNamePart("/roms/my:rom.bin"), "my:rom.bin");
    EXPECT_EQ(FileNamePart("/roms/a\\b.bin"), "a\\b.bin");
    EXPECT_EQ(FolderPart("C:\\roms\\tf3.bin"), "C:\\roms\\");
}

} // namespace
} // namespace drovak
