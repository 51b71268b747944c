#include "compression/Errors.h"
#include "compression/test_support.h"
#include "rom/LzhPage.h"
#include "rom/PointerTable.h"
#include "rom/RlePage.h"
#include "rom/RomFile.h"

#include <gtest/gtest.h>

namespace drovak {
namespace {

using namespace test;

TEST(ParseHex, ReadsLeadingHexDigits) {
    const std::pair<const char*, uint32_t> cases[] = {{"20000", 0x20000},
                                                      {"48120", 0x48120},
                                                      {"$1f", 0x1F},
                                                      {"1Fg7", 0x1F},
                                                      {"", 0},
                                                      {" 10", 0},
                                                      {"0x10", 0x10},
                                                      {"0X10", 0x10},
                                                      {"x10", 0},
                                                      {"-5", 0},
                                                      {"0x$ff", 0xFF},
                                                      {"0x", 0},
                                                      {"aBcD", 0xABCD},
                                                      {"FFFFFFFF", 0xFFFFFFFF},
                                                      {"123456789", 0x23456789}};
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseHex(text), value) << '"' << text << '"';
}

TEST(SuggestedFileNames, FolderOfTheRomThenTheFieldTexts) {
    EXPECT_EQ(SuggestedLzhFileName("/data/tf3.bin", "20000", "1A"), "/data/20000_1A.bin");
    EXPECT_EQ(SuggestedLzhFileName("tf3.bin", "20000", "1A"), "20000_1A.bin");
    EXPECT_EQ(SuggestedLzhFileName("C:\\roms\\tf3.bin", "20000", "0"), "C:\\roms\\20000_0.bin");
    EXPECT_EQ(SuggestedRleFileName("/data/tf3.bin", "1F000"), "/data/1F000.bin");
    EXPECT_EQ(SuggestedRleFileName("C:tf3.bin", "48120"), "C:48120.bin");
    EXPECT_EQ(SuggestedRleFileName("", " x"), " x.bin");
}

TEST(PointerTable, EntryCountAndFieldPositions) {
    const std::pair<uint32_t, uint32_t> counts[] = {
        {0x182, 32}, {0x17A, 31}, {0x0E, 1}, {0x0D, 0}, {2, 0}};
    for (const auto& [firstOffset, count] : counts) {
        Bytes rom(0x10, 0xEE);
        Put32(rom, 0x4, firstOffset);
        MemoryStream s(rom);
        EXPECT_EQ(EntryCount(s, 2), count) << firstOffset;
    }

    // Entry 3 of a table at 0x20000: fields at 0x20026, 0x2002A and 0x2002E.
    Bytes rom(0x20040, 0);
    Put(rom, 0x20026, Hex("11 22 33 44 55 66 77 88 99 AA BB CC"));
    MemoryStream s(rom), written(Bytes(0x20040, 0));
    TableEntry entry = ReadTableEntry(s, 0x20000, 3);
    EXPECT_EQ(entry, (TableEntry{0x11223344, 0x55667788, 0x99AABBCC}));
    WriteTableEntry(written, 0x20000, 3, entry);
    EXPECT_EQ(written.Data(), rom);
}

TEST(RomFile, OpeningSavingAndShortFiles) {
    TempDir dir;
    // Read-only opening of a missing file fails and creates nothing; patching creates it empty.
    EXPECT_THROW(OpenRomRead(dir.File("missing.bin")), FileError);
    EXPECT_FALSE(FileExists(dir.File("missing.bin")));
    OpenRomPatch(dir.File("created.bin"));
    EXPECT_TRUE(FileExists(dir.File("created.bin")));
    EXPECT_TRUE(ReadBytes(dir.File("created.bin")).empty());
    EXPECT_THROW(OpenRomPatch(dir.File("")), FileError); // the folder itself

    // Saving over a longer file leaves exactly the stream, and the stream's position alone.
    std::string saved = dir.File("saved.bin");
    WriteBytes(saved, Bytes(100, 0xAA));
    MemoryStream data(Bytes{1, 2, 3});
    data.Seek(2, SeekOrigin::Begin);
    SaveStreamToFile(data, saved);
    EXPECT_EQ(ReadBytes(saved), (Bytes{1, 2, 3}));
    EXPECT_EQ(data.Position(), 2u);

    // Reading a table entry past the end names the file and the position.
    WriteBytes(saved, Bytes(0x20010, 0));
    try {
        ReadTableEntry(*OpenRomRead(saved), 0x20000, 1);
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(saved), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("0x2000E"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace drovak
