#include "compression/Errors.h"
#include "rom/LzhPage.h"
#include "rom/PointerTable.h"
#include "rom/RlePage.h"
#include "rom/RomFile.h"
#include "rom/TempDir.h"

#include <gtest/gtest.h>

namespace drovak {
namespace {

using test::PutBigEndian32;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(ParseHex, ReadsLeadingHexDigits) {
    struct Case {
        const char* text;
        uint32_t value;
    };
    const Case cases[] = {
        {"20000", 0x20000},
        {"48120", 0x48120},
        {"$1f", 0x1F},
        {"1Fg7", 0x1F},
        {"", 0},
        {" 10", 0},
        {"0x10", 0x10},
        {"0X10", 0x10},
        {"x10", 0},
        {"-5", 0},
        {"123456789", 0x23456789},
        {"0x$ff", 0xFF},
        {"0x", 0},
        {"aBcD", 0xABCD},
        {"FFFFFFFF", 0xFFFFFFFF},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseHex(c.text), c.value) << '"' << c.text << '"';
}

TEST(SuggestedFileNames, FolderOfTheRomThenTheFieldTexts) {
    EXPECT_EQ(SuggestedLzhFileName("/data/tf3.bin", "20000", "1A"), "/data/20000_1A.bin");
    EXPECT_EQ(SuggestedLzhFileName("tf3.bin", "20000", "1A"), "20000_1A.bin");
    EXPECT_EQ(SuggestedLzhFileName("C:\\roms\\tf3.bin", "20000", "0"), "C:\\roms\\20000_0.bin");
    EXPECT_EQ(SuggestedRleFileName("/data/tf3.bin", "48120"), "/data/48120.bin");
    EXPECT_EQ(SuggestedRleFileName("/data/tf3.bin", "1F000"), "/data/1F000.bin");
    EXPECT_EQ(SuggestedRleFileName("C:tf3.bin", "48120"), "C:48120.bin");
    EXPECT_EQ(SuggestedRleFileName("", " x"), " x.bin");
}

TEST(PointerTable, EntryCountAndFieldPositions) {
    struct CountCase {
        uint32_t firstOffset;
        uint32_t count;
    };
    const CountCase counts[] = {{0x182, 32}, {0x17A, 31}, {0x0E, 1}, {0x0D, 0}, {2, 0}};
    for (const CountCase& c : counts) {
        std::vector<uint8_t> rom(0x10, 0xEE);
        PutBigEndian32(rom, 0x4, c.firstOffset);
        MemoryStream s(rom);
        EXPECT_EQ(EntryCount(s, 2), c.count) << c.firstOffset;
    }

    // Entry 3 of a table at 0x20000: DataOffset at 0x20026, DecodedSize at 0x2002A, PackedSize
    // at 0x2002E.
    std::vector<uint8_t> rom(0x20040, 0);
    PutBigEndian32(rom, 0x20026, 0x11223344);
    PutBigEndian32(rom, 0x2002A, 0x55667788);
    PutBigEndian32(rom, 0x2002E, 0x99AABBCC);
    MemoryStream s(rom);
    TableEntry entry = ReadTableEntry(s, 0x20000, 3);
    EXPECT_EQ(entry, (TableEntry{0x11223344, 0x55667788, 0x99AABBCC}));

    MemoryStream written(std::vector<uint8_t>(0x20040, 0));
    WriteTableEntry(written, 0x20000, 3, entry);
    EXPECT_EQ(written.Data(), rom);
}

TEST(PointerTable, ShortTableIsAFileErrorNamingTheStreamAndPosition) {
    TempDir dir;
    std::string path = dir.File("short.bin");
    WriteBytes(path, std::vector<uint8_t>(0x20010, 0));
    auto rom = OpenRomRead(path);
    try {
        ReadTableEntry(*rom, 0x20000, 1);
        FAIL() << "no error";
    } catch (const FileError& e) {
        std::string text = e.what();
        EXPECT_NE(text.find(path), std::string::npos) << text;
        EXPECT_NE(text.find("0x2000E"), std::string::npos) << text;
    }
}

TEST(RomFile, OpeningAndSaving) {
    TempDir dir;
    // Read-only opening of a missing file fails and creates nothing; patching creates it.
    EXPECT_THROW(OpenRomRead(dir.File("missing.bin")), FileError);
    EXPECT_FALSE(FileExists(dir.File("missing.bin")));
    OpenRomPatch(dir.File("created.bin"));
    EXPECT_TRUE(FileExists(dir.File("created.bin")));
    EXPECT_TRUE(ReadBytes(dir.File("created.bin")).empty());
    EXPECT_FALSE(FileExists(dir.File("")));
    EXPECT_THROW(OpenRomPatch(dir.File("")), FileError); // the folder itself

    // Saving over a longer file leaves exactly the stream, and the stream's position alone.
    std::string saved = dir.File("saved.bin");
    WriteBytes(saved, std::vector<uint8_t>(100, 0xAA));
    MemoryStream data(std::vector<uint8_t>{1, 2, 3});
    data.Seek(2, SeekOrigin::Begin);
    SaveStreamToFile(data, saved);
    EXPECT_EQ(ReadBytes(saved), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(data.Position(), 2u);
}

} // namespace
} // namespace drovak
