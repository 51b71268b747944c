#include "rom/RomFile.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "compression/Lzh.h"
#include "rom/DataFile.h"
#include "rom/HeaderChecksum.h"
#include "rom/HexField.h"
#include "rom/PointerTable.h"
#include "rom/RomChange.h"
#include "support/TestSupport.h"
#include "support/WordsOf.h"

#include <sys/stat.h>
#include <unistd.h>

namespace drovak {
namespace {

using namespace test;
namespace fs = std::filesystem;

// An optional 0x or $, 1 to 8 digits, blanks around; nothing else. The lenient reading takes
// the digits up to the first other character.
TEST(RomHexField, StrictReading) {
    for (const auto& [text, value] :
         {std::pair{"$1F", 0x1Fu}, {"0x1F", 0x1Fu}, {"0x$2g3", 2u}, {"", 0u}})
        EXPECT_EQ(ParseHex(text), value) << text;
    const std::pair<const char*, uint32_t> strict[] = {
        {"20000", 0x20000}, {" 1f\t", 0x1F},   {"0x10", 0x10},  {"0X10", 0x10},
        {"$ff", 0xFF},      {"FFFFFFFF", ~0u}, {"00000000", 0}, {"0", 0}};
    for (const auto& [text, value] : strict) EXPECT_EQ(ParseHexStrict(text), value) << text;
    for (const char* text : {"", " ", "zz", "-1", "\xEF\xBC\x91\xEF\xBC\x92", "100000000", "0x",
                             "$", "0x$ff", "$0x1", "1 2", "x10", "1Fg7", "+1", "0x 1"})
        EXPECT_EQ(ParseHexStrict(text), std::nullopt) << text;
}

TEST(RomPointerTable, EntryCountAndFieldPositions) {
    const std::pair<uint32_t, uint32_t> counts[] = {
        {0x182, 32}, {0x17A, 31}, {0x0E, 1}, {0x0D, 0}, {2, 0}};
    for (const auto& [firstOffset, count] : counts) {
        MemoryStream s(Hex("EE EE EE EE 00 00 00 00 EE EE"));
        s.Seek(4, SeekOrigin::Begin);
        s.WriteBigEndian32(firstOffset);
        EXPECT_EQ(EntryCount(s, 2), count) << firstOffset;
    }

    // Entry 3 of a table at 0x20000: fields at 0x20026, 0x2002A and 0x2002E, the last ending
    // with the file.
    Bytes rom(0x20032, 0);
    Put(rom, 0x20026, Hex("11 22 33 44 55 66 77 88 99 AA BB CC"));
    MemoryStream s(rom), written(Bytes(0x20032, 0));
    TableEntry entry = ReadTableEntry(s, 0x20000, 3);
    EXPECT_EQ(entry, (TableEntry{0x11223344, 0x55667788, 0x99AABBCC}));
    WriteTableEntry(written, 0x20000, 3, entry);
    EXPECT_EQ(written.Data(), rom);
}

TEST(RomHeaderChecksum, SumOfTheWordsFrom0x200) {
    Bytes image(0x200, 0);
    EXPECT_EQ((std::tuple{ComputeChecksum(image), StoredChecksum(Bytes(0x18F, 0)),
                          CheckChecksum(Bytes(0x18F, 0)), CheckChecksum(Bytes(0x190, 0))}),
              (std::tuple{0, std::nullopt, ChecksumState::NoHeader, ChecksumState::Right}));
    Bytes exact = Cat(Bytes(0x18E, 0), Hex("FF FF")); // ends with the checksum: 0000 is stored
    StoreChecksum(exact);
    EXPECT_EQ(Slice(exact, 0x18E, 2), Hex("00 00"));
    Bytes cut = Cat(Bytes(0x18E, 0), Hex("FF")); // ends inside the checksum: left as it is
    StoreChecksum(cut);
    EXPECT_EQ(cut, Cat(Bytes(0x18E, 0), Hex("FF")));
    // The words 1234, FFFF and an odd last byte 80 (as 8000): 0x19233 kept to 16 bits.
    image = Cat(image, Hex("12 34 FF FF 80"));
    EXPECT_EQ(std::tuple(ComputeChecksum(image), CheckChecksum(image)),
              std::tuple(0x9233, ChecksumState::Wrong));
    StoreChecksum(image);
    EXPECT_EQ(Slice(image, 0x18E, 2), Hex("92 33"));
    EXPECT_EQ(CheckChecksum(image), ChecksumState::Right);
    EXPECT_EQ(ComputeChecksum(Cat(Bytes(0x200, 0), Hex("12 34 00 01"))), 0x1235); // a last word
}

class RomFiles : public ScratchTest {
protected:
    // A 0x400-byte image whose header checksum is right.
    std::string WriteRom(const std::string& name) {
        Bytes image = Pattern(0x400);
        StoreChecksum(image);
        return Write(name, image);
    }
    static Bytes Changed(const RomBytes& rom) {
        Bytes bytes = rom.bytes;
        bytes[0x300] ^= 0xFF;
        return bytes;
    }
};

TEST_F(RomFiles, OpeningReadingAndSizeLimits) {
    const std::string missing = File("tf3.bin"), saved = File("saved.bin");
    EXPECT_THROW(OpenRomRead(missing), FileError);
    EXPECT_FALSE(FileExists(missing));
    EXPECT_THROW(OpenRomRead(dir.path), RefusedError); // the folder
    ASSERT_EQ(::mkfifo(File("fifo").c_str(), 0644), 0);
    EXPECT_THROW(ReadRom(File("fifo")), RefusedError); // without waiting for a writer

    // Reading a table entry past the end names the file and the position.
    WriteBytes(saved, Bytes(0x20010, 0));
    std::string error =
        WordsOf<FileError>([&] { ReadTableEntry(*OpenRomRead(saved), 0x20000, 1); });
    EXPECT_EQ(error, saved + ": too short for the table at 0x20000: the DataOffset of entry 0x1 "
                             "lies at 0x2000E, but the file ends at 0x20010 (131088 bytes)");

    // A ROM image of 64 MiB is read, one more byte is refused; a data file of 16 MiB is read,
    // one more byte is refused (sparse files: nothing is written to the disk).
    const auto accepted = [](auto&& action) { return MessageOf<RefusedError>(action).empty(); };
    for (uint64_t past : {0, 1}) {
        fs::resize_file(saved, MAX_ROM_SIZE + past);
        EXPECT_EQ(accepted([&] { ReadRom(saved); }), past == 0);
        fs::resize_file(saved, MAX_DECODED_SIZE + past);
        EXPECT_EQ(accepted([&] { ReadDataFile(saved); }), past == 0);
        // The same limits on data made in memory.
        EXPECT_EQ(accepted([&] { CheckRomSize("a", MAX_ROM_SIZE + past); }), past == 0);
        EXPECT_EQ(accepted([&] { CheckDataSize("a", MAX_DECODED_SIZE + past); }), past == 0);
    }
}

// A ROM named through a link: the link stays a link, its target is replaced (keeping its mode),
// and the backup lies beside the target. An image the same as before is not written.
TEST_F(RomFiles, ALinkStaysALinkAndTheModeStays) {
    fs::create_directory(File("roms"));
    const std::string target = WriteRom("roms/real.bin"), link = File("tf3.bin");
    fs::create_symlink("roms/real.bin", link);
    ::chmod(target.c_str(), 0640);
    const Bytes before = ReadBytes(target);
    const auto inode = [](const std::string& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
    };
    const ino_t old = inode(target);
    EXPECT_TRUE(ChangeRom(link, Changed).written && fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(target + ".bak"), before);
    EXPECT_EQ(inode(target + ".bak"), old); // the old file itself, linked rather than copied
    EXPECT_EQ(ReadBytes(target)[0x300], before[0x300] ^ 0xFF);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    const RomChange same = ChangeRom(link, [](const RomBytes& now) { return now.bytes; });
    EXPECT_EQ(std::pair(same.written, same.computedChecksum),
              std::pair(false, ComputeChecksum(ReadBytes(target))));
    EXPECT_EQ(ReadBytes(target + ".bak"), before);
    EXPECT_THROW(ChangeRom(link, [](const RomBytes&) { return Bytes(MAX_ROM_SIZE + 1); }),
                 RefusedError);
    UndoRomChange(link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), before);
    // A change that failed after its backup leaves the backup a second name of the ROM.
    fs::remove(target + ".bak");
    fs::create_hard_link(target, target + ".bak");
    EXPECT_TRUE(Holds(WordsOf<RefusedError>([&] { UndoRomChange(link); }), "the same file"));
    // Another program puts a file at the ROM's name while the new image is made: refused, that
    // file kept, no backup made of it and nothing left beside it.
    fs::remove(target + ".bak");
    const std::string theirs = Write("roms/theirs.bin", Pattern(0x40, 1));
    EXPECT_TRUE(Holds(WordsOf<RefusedError>([&] {
                          ChangeRom(link, [&](const RomBytes& rom) {
                              fs::rename(theirs, target);
                              return Changed(rom);
                          });
                      }),
                      "replaced by another program meanwhile"));
    EXPECT_EQ(ReadBytes(target), Pattern(0x40, 1));
    EXPECT_EQ(EntriesIn(File("roms")), 1);
    EXPECT_THROW(ChangeRom(File("missing.bin"), Changed), FileError);
    EXPECT_FALSE(FileExists(File("missing.bin")));
}

} // namespace
} // namespace drovak
