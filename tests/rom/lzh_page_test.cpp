#include "compression/Errors.h"
#include "compression/Lzh.h"
#include "rom/LzhPage.h"
#include "rom/RomFile.h"
#include "rom/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace drovak {
namespace {

using test::GetBigEndian32;
using test::Pattern;
using test::PutBigEndian32;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr uint32_t T = 0x400;

std::vector<uint8_t> Packed(const std::vector<uint8_t>& input) {
    MemoryStream source(input);
    MemoryStream packed;
    LzhEncode(source, packed, uint32_t(input.size()));
    return packed.Data();
}

// Random bytes whose LZH stream is exactly `size` bytes long (found once per size).
std::vector<uint8_t> InputPackingTo(uint32_t size) {
    static std::map<uint32_t, std::vector<uint8_t>> found;
    if (auto known = found.find(size); known != found.end()) return known->second;
    std::mt19937 random(size);
    std::vector<uint8_t> input;
    for (uint32_t length = 1; length < 4 * size; ++length) {
        input.push_back(uint8_t(random()));
        if (Packed(input).size() == size) return found[size] = input;
    }
    ADD_FAILURE() << "no input packs to " << size << " bytes";
    return input;
}

// The table of three entries at T: data at T + 0x26, 0x126 and 0x226, 0x100 bytes each, with
// DecodedSize 0x1111, 0x2222, 0x3333; pattern bytes all around, 0x40 of them after the data.
std::vector<uint8_t> ThreeEntryRom() {
    std::vector<uint8_t> rom = Pattern(T + 0x366, 0x5A);
    for (uint32_t k = 0; k < 3; ++k) {
        PutBigEndian32(rom, T + 2 + 12 * k, 0x26 + 0x100 * k);
        PutBigEndian32(rom, T + 6 + 12 * k, 0x1111 * (k + 1));
        PutBigEndian32(rom, T + 10 + 12 * k, 0x100);
    }
    return rom;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t at, size_t size) {
    return {bytes.begin() + long(at), bytes.begin() + long(at + size)};
}

void Put(std::vector<uint8_t>& bytes, size_t at, const std::vector<uint8_t>& what) {
    if (bytes.size() < at + what.size()) bytes.resize(at + what.size());
    std::copy(what.begin(), what.end(), bytes.begin() + long(at));
}

class LzhPage : public ::testing::Test {
protected:
    TempDir dir;
    std::string rom = dir.File("tf3.bin");
    std::string input = dir.File("20000_1.bin");

    LzhInsertPlan PlanWithInput(const std::vector<uint8_t>& data, uint32_t index) {
        WriteBytes(input, data);
        return PlanLzhInsert(rom, input, T, index);
    }
};

TEST_F(LzhPage, GrowthAsksThenMovesTheFollowingEntries) {
    const std::vector<uint8_t> before = ThreeEntryRom();
    WriteBytes(rom, before);
    LzhInsertPlan plan = PlanWithInput(InputPackingTo(0x130), 1);

    EXPECT_TRUE(plan.needsConfirmation);
    EXPECT_EQ(plan.entryCount, 3u);
    EXPECT_EQ(plan.oldSize, 0x100u);
    EXPECT_EQ(plan.newSize, 0x130u);
    EXPECT_EQ(plan.moves, (std::vector<DataMove>{{2, T + 0x226, T + 0x256, 0x100}}));
    // Answering No: nothing is applied and the file is identical.
    EXPECT_EQ(ReadBytes(rom), before);

    ApplyLzhInsert(plan);
    std::vector<uint8_t> expected = before;
    Put(expected, T + 0x256, Slice(before, T + 0x226, 0x100));
    Put(expected, T + 0x126, plan.packed);
    PutBigEndian32(expected, T + 0x16, 0x130); // entry 1 PackedSize
    PutBigEndian32(expected, T + 0x1A, 0x256); // entry 2 DataOffset
    EXPECT_EQ(ReadBytes(rom), expected);
}

TEST_F(LzhPage, ShrinkMovesBackAndKeepsTheOldTail) {
    const std::vector<uint8_t> before = ThreeEntryRom();
    WriteBytes(rom, before);
    LzhInsertPlan plan = PlanWithInput(InputPackingTo(0xF0), 1);
    EXPECT_FALSE(plan.needsConfirmation);
    EXPECT_EQ(plan.moves, (std::vector<DataMove>{{2, T + 0x226, T + 0x216, 0x100}}));

    ApplyLzhInsert(plan);
    std::vector<uint8_t> expected = before;
    Put(expected, T + 0x216, Slice(before, T + 0x226, 0x100));
    Put(expected, T + 0x126, plan.packed);
    PutBigEndian32(expected, T + 0x16, 0xF0);
    PutBigEndian32(expected, T + 0x1A, 0x216);
    std::vector<uint8_t> after = ReadBytes(rom);
    EXPECT_EQ(after, expected);
    // The 0x10 bytes from T + 0x316 to T + 0x325 still hold the end of entry 2's old data.
    EXPECT_EQ(Slice(after, T + 0x316, 0x10), Slice(before, T + 0x316, 0x10));
}

TEST_F(LzhPage, EqualSizeOverwritesInPlace) {
    const std::vector<uint8_t> before = ThreeEntryRom();
    WriteBytes(rom, before);
    LzhInsertPlan plan = PlanWithInput(InputPackingTo(0x100), 1);
    EXPECT_FALSE(plan.needsConfirmation);
    EXPECT_TRUE(plan.moves.empty());
    ApplyLzhInsert(plan);
    std::vector<uint8_t> expected = before;
    Put(expected, T + 0x126, plan.packed);
    EXPECT_EQ(ReadBytes(rom), expected);
}

TEST_F(LzhPage, MovesOfSeveralEntriesRunInASafeOrder) {
    WriteBytes(rom, ThreeEntryRom());
    LzhInsertPlan grow = PlanWithInput(InputPackingTo(0x130), 0);
    ASSERT_EQ(grow.moves.size(), 2u);
    EXPECT_EQ(grow.moves[0].index, 2u);
    EXPECT_EQ(grow.moves[1].index, 1u);

    LzhInsertPlan shrink = PlanWithInput(InputPackingTo(0xF0), 0);
    ASSERT_EQ(shrink.moves.size(), 2u);
    EXPECT_EQ(shrink.moves[0], (DataMove{1, T + 0x126, T + 0x116, 0x100}));
    EXPECT_EQ(shrink.moves[1], (DataMove{2, T + 0x226, T + 0x216, 0x100}));
}

TEST_F(LzhPage, IndexBeyondTheTableWritesNothingButStillAsks) {
    const std::vector<uint8_t> before = ThreeEntryRom();
    WriteBytes(rom, before);
    LzhInsertPlan plan = PlanWithInput(InputPackingTo(0x40), 3);
    EXPECT_TRUE(plan.writesNothing());
    EXPECT_EQ(plan.oldSize, 0u);
    EXPECT_TRUE(plan.needsConfirmation);
    ApplyLzhInsert(plan);
    EXPECT_EQ(ReadBytes(rom), before);

    EXPECT_FALSE(PlanWithInput({}, 3).needsConfirmation);
}

TEST_F(LzhPage, EmptyInputEmptiesTheEntry) {
    const std::vector<uint8_t> before = ThreeEntryRom();
    WriteBytes(rom, before);
    LzhInsertPlan plan = PlanWithInput({}, 1);
    EXPECT_FALSE(plan.needsConfirmation);
    ApplyLzhInsert(plan);
    std::vector<uint8_t> expected = before;
    Put(expected, T + 0x126, Slice(before, T + 0x226, 0x100));
    PutBigEndian32(expected, T + 0x16, 0);
    PutBigEndian32(expected, T + 0x1A, 0x126);
    EXPECT_EQ(ReadBytes(rom), expected);
}

TEST_F(LzhPage, CompressedEntryExtractsBackToTheInput) {
    std::vector<uint8_t> data = Pattern(3000);
    std::vector<uint8_t> before = ThreeEntryRom();
    PutBigEndian32(before, T + 0x12, uint32_t(data.size())); // entry 1 DecodedSize
    WriteBytes(rom, before);
    ApplyLzhInsert(PlanWithInput(data, 1));

    LzhExtractResult extracted = LzhExtractEntry(rom, T, 1);
    ASSERT_GE(extracted.data.size(), data.size());
    EXPECT_EQ(Slice(extracted.data, 0, data.size()), data);
    EXPECT_EQ(extracted.entry.DecodedSize, data.size());
    // Entry 2's data moved with its offset.
    std::vector<uint8_t> after = ReadBytes(rom);
    uint32_t entry2 = GetBigEndian32(after, T + 0x1A);
    EXPECT_EQ(Slice(after, T + entry2, 0x100), Slice(before, T + 0x226, 0x100));
}

TEST_F(LzhPage, ExtractReadsTheFieldsOfTheIndexedEntry) {
    // Index 0x10: fields at T + 0xC2 (DataOffset), T + 0xC6 and T + 0xCA; the index is not
    // compared with the table's entry count.
    std::vector<uint8_t> data = Pattern(500, 3);
    std::vector<uint8_t> packed = Packed(data);
    std::vector<uint8_t> image = Pattern(T + 0x300);
    PutBigEndian32(image, T + 2, 0x0E); // a table of one entry
    PutBigEndian32(image, T + 0xC2, 0x200);
    PutBigEndian32(image, T + 0xC6, uint32_t(data.size()));
    PutBigEndian32(image, T + 0xCA, uint32_t(packed.size()));
    Put(image, T + 0x200, packed);
    WriteBytes(rom, image);

    LzhExtractResult result = LzhExtractEntry(rom, T, 0x10);
    EXPECT_EQ(result.entry, (TableEntry{0x200, uint32_t(data.size()), uint32_t(packed.size())}));
    ASSERT_GE(result.data.size(), data.size());
    EXPECT_EQ(Slice(result.data, 0, data.size()), data);
}

TEST_F(LzhPage, ExtractRefusesWhatIsNotInTheFile) {
    std::vector<uint8_t> image = ThreeEntryRom();
    PutBigEndian32(image, T + 10 + 24, 0x1000); // entry 2's data runs past the end
    WriteBytes(rom, image);
    EXPECT_THROW(LzhExtractEntry(rom, T, 2), FileError);
    EXPECT_THROW(LzhExtractEntry(rom, T, 0x100), FileError); // fields past the end
    EXPECT_THROW(LzhExtractEntry(dir.File("none.bin"), T, 0), FileError);
    PutBigEndian32(image, T + 6, MAX_DECODED_SIZE + 1);
    WriteBytes(rom, image);
    EXPECT_THROW(LzhExtractEntry(rom, T, 0), RefusedError);
}

TEST_F(LzhPage, RefusalsWriteNothing) {
    struct Case {
        const char* name;
        std::vector<uint8_t> rom;
        uint32_t index;
        bool fileError; // else refused
    };
    std::vector<uint8_t> tooManyEntries = ThreeEntryRom();
    PutBigEndian32(tooManyEntries, T + 2, 0x18E); // 33 entries
    std::vector<uint8_t> offsetInsideLeadingWord = ThreeEntryRom();
    PutBigEndian32(offsetInsideLeadingWord, T + 2, 1);
    std::vector<uint8_t> movedEntryPastTheEnd = ThreeEntryRom();
    PutBigEndian32(movedEntryPastTheEnd, T + 10 + 24, 0x1000);
    const std::vector<uint8_t> shortTable = Slice(ThreeEntryRom(), 0, T + 0x1E);
    const Case cases[] = {
        {"index 32", ThreeEntryRom(), 0x20, false},
        {"more than 32 entries", tooManyEntries, 1, false},
        {"first offset below 2", offsetInsideLeadingWord, 1, false},
        {"moved entry past the end", movedEntryPastTheEnd, 1, true},
        {"table cut short", shortTable, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(rom, c.rom);
        WriteBytes(input, InputPackingTo(0x130));
        try {
            ApplyLzhInsert(PlanLzhInsert(rom, input, T, c.index));
            ADD_FAILURE() << "no error";
        } catch (const FileError& e) {
            EXPECT_TRUE(c.fileError) << e.what();
            EXPECT_NE(std::string(e.what()).find(rom), std::string::npos) << e.what();
        } catch (const RefusedError& e) {
            EXPECT_FALSE(c.fileError) << e.what();
            EXPECT_NE(std::string(e.what()).find(rom), std::string::npos) << e.what();
        }
        EXPECT_EQ(ReadBytes(rom), c.rom);
    }
}

TEST_F(LzhPage, MissingFilesAreReportedAndNeverCreated) {
    WriteBytes(input, {1, 2, 3});
    std::string missing = dir.File("missing.bin");
    EXPECT_THROW(PlanLzhInsert(missing, input, T, 0), FileError);
    EXPECT_FALSE(FileExists(missing));

    WriteBytes(rom, ThreeEntryRom());
    EXPECT_THROW(PlanLzhInsert(rom, dir.File("no-input.bin"), T, 0), FileError);
}

TEST_F(LzhPage, TableChangedAfterThePlanIsNotWritten) {
    WriteBytes(rom, ThreeEntryRom());
    LzhInsertPlan plan = PlanWithInput(InputPackingTo(0x130), 1);
    std::vector<uint8_t> changed = ThreeEntryRom();
    PutBigEndian32(changed, T + 10 + 24, 0x80);
    WriteBytes(rom, changed);
    EXPECT_THROW(ApplyLzhInsert(plan), RefusedError);
    EXPECT_EQ(ReadBytes(rom), changed);
}

} // namespace
} // namespace drovak
