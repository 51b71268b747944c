#include "rom/RomFile.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "rom/HexField.h"
#include "rom/PointerTable.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace drovak {
namespace {

using namespace test;

TEST(RomHexField, ReadsLeadingHexDigits) {
    // Nothing to read: an empty text, a leading blank, x or sign, 0x with no digit after it.
    for (const char* text : {"", " 10", "x10", "-5", "0x"}) EXPECT_EQ(ParseHex(text), 0u) << text;
    const std::pair<const char*, uint32_t> cases[] = {
        {"20000", 0x20000}, {"48120", 0x48120}, {"$1f", 0x1F}, {"1Fg7", 0x1F}, {"0x10", 0x10}};
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseHex(text), value) << text;
    EXPECT_EQ(ParseHex("0X10"), 0x10u);
    EXPECT_EQ(ParseHex("0x$ff"), 0xFFu);
    EXPECT_EQ(ParseHex("aBcD"), 0xABCDu);
    EXPECT_EQ(ParseHex("FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHex("123456789"), 0x23456789u); // the last eight of nine digits
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

    // Entry 3 of a table at 0x20000: fields at 0x20026, 0x2002A and 0x2002E.
    Bytes rom(0x20040, 0);
    Put(rom, 0x20026, Hex("11 22 33 44 55 66 77 88 99 AA BB CC"));
    MemoryStream s(rom), written(Bytes(0x20040, 0));
    TableEntry entry = ReadTableEntry(s, 0x20000, 3);
    EXPECT_EQ(entry, (TableEntry{0x11223344, 0x55667788, 0x99AABBCC}));
    WriteTableEntry(written, 0x20000, 3, entry);
    EXPECT_EQ(written.Data(), rom);
}

TEST(RomFile, OpeningAndShortFiles) {
    TempDir dir;
    const std::string path = dir.File("tf3.bin"), saved = dir.File("saved.bin");
    // Read-only opening of a missing file fails and creates nothing; patching creates it empty.
    EXPECT_THROW(OpenRomRead(path), FileError);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(OpenRomPatch(path)->Size(), 0u);
    EXPECT_TRUE(FileExists(path));
    EXPECT_THROW(OpenRomPatch(dir.File("")), FileError); // the folder itself

    // Reading a table entry past the end names the file and the position.
    WriteBytes(saved, Bytes(0x20010, 0));
    std::string error =
        MessageOf<FileError>([&] { ReadTableEntry(*OpenRomRead(saved), 0x20000, 1); });
    EXPECT_NE(error.find(saved), std::string::npos) << error;
    EXPECT_NE(error.find("0x2000E"), std::string::npos) << error;
}

} // namespace
} // namespace drovak
