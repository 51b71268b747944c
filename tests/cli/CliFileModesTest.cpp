// What a replace keeps and what a new file gets: an access list that can't be copied stops the
// change with the old image whole (other attributes may be left out only where the file system
// or the user can't have them); set-user-ID, set-group-ID and sticky bits are kept; a new output
// gets 0666 less the umask.
#include "CliRunner.h"
#include "support/HandMadeRom.h"

#include <cstring>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace drovak::test {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const std::string& path) {
    struct stat s {};
    ::stat(path.c_str(), &s);
    return s.st_mode & 07777;
}

class CliFileModes : public CliTest {
protected:
    void SetUp() override {
        image = handmade::MakeRom(0x400, {Bytes(200, 1)}, 0x1000);
        image[0x18F] ^= 1; // a wrong checksum: `checksum --fix` changes the image
    }
    CliResult Fix(const std::vector<std::string>& environment = {}) {
        return Run({"checksum", rom, "--fix"}, environment);
    }
    Bytes image;
    const std::string rom = File("tf3.bin");
};

TEST_F(CliFileModes, AnAttributeThatCannotBeCopied) {
    const struct {
        const char* attribute;
        const char* fault;
        bool written;
    } cases[] = {
        {"system.posix_acl_access", "eio", false},
        {"system.posix_acl_access", "eperm", false},
        {"user.x", "eio", false},
        {"user.x", "eperm", true}, // not this user's to give: left out
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.attribute) + " " + c.fault);
        fs::remove(rom + ".bak");
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
        EXPECT_EQ(fs::exists(rom + ".bak"), c.written);
        if (!c.written) {
            EXPECT_EQ(fix.err,
                      "drovak-cli: " + rom +
                          ": nothing was written: cannot give the new file the attribute " +
                          std::string(c.attribute) + " of " + rom + ": " +
                          std::strerror(c.fault[1] == 'i' ? EIO : EPERM) + "\n");
        }
        int left = 0;
        for (const auto& entry : fs::directory_iterator(dir.path))
            left += entry.path().filename().string().rfind(".run.", 0) != 0;
        EXPECT_EQ(left, c.written ? 2 : 1);
    }
}

TEST_F(CliFileModes, SpecialBitsAreKeptAndANewFileGetsTheUsualMode) {
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
}

} // namespace
} // namespace drovak::test
