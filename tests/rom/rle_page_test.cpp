#include "compression/Rle.h"
#include "rom/RlePage.h"
#include "rom/RomFile.h"
#include "rom/TempDir.h"

#include <gtest/gtest.h>

namespace drovak {
namespace {

using test::Pattern;
using test::PutBigEndian32;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr uint32_t O = 0x100;

// A ROM of 0x200 pattern bytes with the block at O.
std::vector<uint8_t> RomWithBlock(const std::vector<uint8_t>& block) {
    std::vector<uint8_t> rom = Pattern(0x200);
    std::copy(block.begin(), block.end(), rom.begin() + O);
    return rom;
}

std::vector<uint8_t> Replaced(std::vector<uint8_t> rom, uint32_t at,
                              const std::vector<uint8_t>& bytes) {
    if (rom.size() < at + bytes.size()) rom.resize(at + bytes.size());
    std::copy(bytes.begin(), bytes.end(), rom.begin() + at);
    return rom;
}

class RlePage : public ::testing::Test {
protected:
    TempDir dir;
    std::string rom = dir.File("tf3.bin");
    std::string input = dir.File("48120.bin");
};

TEST_F(RlePage, ExtractDecodesTheBlockAndCountsItsBytes) {
    WriteBytes(rom, RomWithBlock({0x00, 0x00, 0x00, 0x10, 0xFD, 0x1F}));
    RleExtractResult result = RleExtractAt(rom, O);
    EXPECT_EQ(result.consumed, 6);
    EXPECT_EQ(result.data, std::vector<uint8_t>(16, 0xFF));

    EXPECT_THROW(RleExtractAt(rom, 0x1FE), FileError); // header runs past the end
    EXPECT_THROW(RleExtractAt(dir.File("none.bin"), O), FileError);
}

TEST_F(RlePage, ShorterBlockIsWrittenWithoutAQuestionAndLeavesTheTail) {
    // Old block: 12 34 56 78 as one item per nibble, 12 bytes.
    const std::vector<uint8_t> before =
        RomWithBlock({0, 0, 0, 4, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80});
    WriteBytes(rom, before);
    WriteBytes(input, {0x01, 0x11, 0x10, 0x00});

    RleInsertPlan plan = PlanRleInsert(rom, input, O);
    EXPECT_EQ(plan.oldBlockSize, 12u);
    EXPECT_FALSE(plan.needsConfirmation);
    EXPECT_EQ(ReadBytes(rom), before);

    ApplyRleInsert(plan);
    const std::vector<uint8_t> block = {0, 0, 0, 4, 0x00, 0x13, 0x02};
    EXPECT_EQ(plan.packed, block);
    EXPECT_EQ(ReadBytes(rom), Replaced(before, O, block));
}

TEST_F(RlePage, LongerBlockAsksFirstAndNamesTheBytesOverwritten) {
    const std::vector<uint8_t> before = RomWithBlock({0, 0, 0, 4, 0x07});
    WriteBytes(rom, before);
    WriteBytes(input, {0x12, 0x34, 0x56, 0x78});

    RleInsertPlan plan = PlanRleInsert(rom, input, O);
    EXPECT_EQ(plan.oldBlockSize, 5u);
    EXPECT_TRUE(plan.needsConfirmation);
    EXPECT_EQ(plan.bytesBeyondOldBlock, 7u);
    std::string question = RleGrowthQuestion(plan);
    EXPECT_NE(question.find("7 bytes"), std::string::npos) << question;
    EXPECT_NE(question.find("0x100"), std::string::npos) << question;
    // Not applied (the answer was No): the file is unchanged.
    EXPECT_EQ(ReadBytes(rom), before);

    ApplyRleInsert(plan);
    EXPECT_EQ(ReadBytes(rom),
              Replaced(before, O, {0, 0, 0, 4, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80}));
}

TEST_F(RlePage, EqualSizeAndPaddedInput) {
    // Three input bytes are padded to a word; the old block has the same length.
    const std::vector<uint8_t> before =
        RomWithBlock({0, 0, 0, 4, 0x70, 0x60, 0x50, 0x40, 0x30, 0x20, 0x11});
    WriteBytes(rom, before);
    WriteBytes(input, {0x12, 0x34, 0x56});
    RleInsertPlan plan = PlanRleInsert(rom, input, O);
    EXPECT_EQ(plan.oldBlockSize, 11u);
    EXPECT_FALSE(plan.needsConfirmation);
    ApplyRleInsert(plan);
    EXPECT_EQ(ReadBytes(rom),
              Replaced(before, O, {0, 0, 0, 4, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x01}));
}

TEST_F(RlePage, NoValidBlockAtTheOffsetAsks) {
    struct Case {
        const char* name;
        std::vector<uint8_t> rom;
        uint32_t offset;
    };
    std::vector<uint8_t> overLimit = Pattern(0x200);
    PutBigEndian32(overLimit, O, 0x7FFFFFFF);
    const Case cases[] = {
        {"header over the limit", overLimit, O},
        {"items run past the end", Replaced(Pattern(0x104), O, {0, 0, 1, 0}), O},
        {"offset at the end of the file", Pattern(0x100), O},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(rom, c.rom);
        WriteBytes(input, {0x01, 0x11, 0x10, 0x00});
        RleInsertPlan plan = PlanRleInsert(rom, input, c.offset);
        EXPECT_FALSE(plan.oldBlockSize);
        EXPECT_TRUE(plan.needsConfirmation);
        EXPECT_EQ(plan.bytesBeyondOldBlock, 7u);
        EXPECT_NE(RleGrowthQuestion(plan).find("0x100"), std::string::npos);
        ApplyRleInsert(plan);
        EXPECT_EQ(ReadBytes(rom), Replaced(c.rom, c.offset, plan.packed));
    }
}

TEST_F(RlePage, RefusalsWriteNothing) {
    const std::vector<uint8_t> before = RomWithBlock({0, 0, 0, 4, 0x07});
    WriteBytes(rom, before);

    // 65,537 zero bytes hold a run too long for any item.
    WriteBytes(input, std::vector<uint8_t>(65537, 0));
    try {
        PlanRleInsert(rom, input, O);
        FAIL() << "no error";
    } catch (const UnsupportedRepeatError& e) {
        EXPECT_STREQ(e.what(), "Unsupported repeat count: 131079");
        EXPECT_EQ(e.count(), 131079u);
    }
    EXPECT_EQ(ReadBytes(rom), before);

    // A missing ROM is reported, not created; a missing input likewise.
    WriteBytes(input, {1, 2, 3, 4});
    std::string missingRom = dir.File("other.bin");
    EXPECT_THROW(PlanRleInsert(missingRom, input, O), FileError);
    EXPECT_FALSE(FileExists(missingRom));
    EXPECT_THROW(PlanRleInsert(rom, dir.File("no-input.bin"), O), FileError);

    // A block that changed between the plan and the writes is left alone.
    RleInsertPlan plan = PlanRleInsert(rom, input, O);
    const std::vector<uint8_t> changed = RomWithBlock({0, 0, 0, 8, 0x0F, 0x00, 0x00});
    WriteBytes(rom, changed);
    EXPECT_THROW(ApplyRleInsert(plan), RefusedError);
    EXPECT_EQ(ReadBytes(rom), changed);

    // A ROM that disappears between the plan and the writes is not created anew.
    std::filesystem::remove(rom);
    EXPECT_THROW(ApplyRleInsert(plan), FileError);
    EXPECT_FALSE(FileExists(rom));
}

} // namespace
} // namespace drovak
