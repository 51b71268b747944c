#include "base/Errors.h"
#include "base/ReplaceFile.h"
#include "base/Stream.h"
#include "base/WholeFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
    EXPECT_NE(MessageOf<FileError>([&] {
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

// A lock another program holds: shared keeps writers out, exclusive keeps everyone out.
TEST_F(BaseFiles, Locks) {
    const std::string path = Write("tf3.bin", Pattern(64));
    for (int lock : {LOCK_SH, LOCK_EX}) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        ASSERT_EQ(::flock(fd, lock), 0);
        EXPECT_EQ(MessageOf<InUseError>([&] { FileStream(path, FileMode::Read); }).empty(),
                  lock == LOCK_SH);
        EXPECT_THROW(FileStream(path, FileMode::Replace), InUseError);
        EXPECT_THROW(WriteFileReplacing(path, Bytes{1}), InUseError);
        ::close(fd);
        EXPECT_EQ(ReadBytes(path), Pattern(64));
    }
}

// Whole files: a pipe is read to its end, a FIFO without a writer reads as empty at once, a
// device with nothing to give now is refused, and so is one without an end.
TEST_F(BaseFiles, ReadingWholeFiles) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "abc", 3), 3);
    ::close(ends[1]);
    EXPECT_EQ(ReadWholeFile("/proc/self/fd/" + std::to_string(ends[0])), Hex("61 62 63"));
    ::close(ends[0]);
    ASSERT_EQ(::mkfifo(File("fifo").c_str(), 0644), 0);
    EXPECT_EQ(ReadWholeFile(File("fifo")), Bytes{});
    EXPECT_THROW(ReadWholeFile("/dev/zero", 1000), RefusedError);
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(::grantpt(terminal) | ::unlockpt(terminal), 0);
    EXPECT_NE(MessageOf<RefusedError>([&] {
                  ReadWholeFile(::ptsname(terminal));
              }).find("can't be read to an end"),
              std::string::npos);
    ::close(terminal);
}

} // namespace
} // namespace drovak
