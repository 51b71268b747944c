#include "base/Errors.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "compression/test_support.h"
#include "rom/HexField.h"
#include "rom/PointerTable.h"
#include "rom/RomFile.h"

#include <gtest/gtest.h>

namespace drovak {
namespace {

using namespace test;

TEST(ParseHex, ReadsLeadingHexDigits) {
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

TEST(PointerTable, EntryCountAndFieldPositions) {
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

TEST(RomFile, OpeningPatchingSavingAndShortFiles) {
    TempDir dir;
    const std::string path = dir.File("tf3.bin"), saved = dir.File("saved.bin");
    // Read-only opening of a missing file fails and creates nothing; patching creates it empty.
    EXPECT_THROW(OpenRomRead(path), FileError);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(OpenRomPatch(path)->Size(), 0u);
    EXPECT_TRUE(FileExists(path));
    EXPECT_THROW(OpenRomPatch(dir.File("")), FileError); // the folder itself

    // Writes through a patched file land in its read buffer and past its end.
    const Bytes bytes = Pattern(200000);
    WriteBytes(path, bytes);
    {
        auto file = OpenRomPatch(path);
        EXPECT_EQ(file->ReadByte(), bytes[0]); // fills the read buffer
        file->Seek(2, SeekOrigin::Begin);
        file->WriteBigEndian32(0xA1B2C3D4);
        file->Seek(1, SeekOrigin::Begin);
        EXPECT_EQ(file->ReadByte(), bytes[1]);
        EXPECT_EQ(file->ReadBigEndian32(), 0xA1B2C3D4u);
        file->Seek(int64_t(bytes.size()) + 2, SeekOrigin::Begin);
        file->WriteByte(0x77);
    }
    Bytes expected = bytes;
    Put32(expected, 2, 0xA1B2C3D4);
    EXPECT_EQ(ReadBytes(path), Put(expected, bytes.size(), {0, 0, 0x77}));

    // Saving over a longer file leaves exactly the stream, and the stream's position alone.
    MemoryStream data(Bytes{1, 2, 3});
    data.Seek(2, SeekOrigin::Begin);
    SaveStreamToFile(data, path);
    EXPECT_EQ(ReadBytes(path), (Bytes{1, 2, 3}));
    EXPECT_EQ(data.Position(), 2u);

    // Reading a table entry past the end names the file and the position.
    WriteBytes(saved, Bytes(0x20010, 0));
    std::string error =
        MessageOf<FileError>([&] { ReadTableEntry(*OpenRomRead(saved), 0x20000, 1); });
    EXPECT_NE(error.find(saved), std::string::npos) << error;
    EXPECT_NE(error.find("0x2000E"), std::string::npos) << error;
}

} // namespace
} // namespace drovak
