#include "rom/RlePage.h"
#include "base/Paths.h"
#include "compression/Rle.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

namespace drovak {
namespace {

using namespace test;

constexpr uint32_t O = 0x100;

// 0x200 pattern bytes with the block at O.
Bytes RomWithBlock(const std::string& block) {
    Bytes rom = Pattern(0x200);
    return Put(rom, O, Hex(block));
}

class RomRlePage : public ::testing::Test {
protected:
    TempDir dir;
    std::string rom = dir.File("tf3.bin");
    std::string input = dir.File("48120.bin");
};

TEST_F(RomRlePage, ExtractDecodesTheBlockAndCountsItsBytes) {
    WriteBytes(rom, RomWithBlock("00 00 00 10 FD 1F"));
    RleExtractResult result = RleExtractAt(rom, O);
    EXPECT_EQ(result.consumed, 6);
    EXPECT_EQ(result.data, Bytes(16, 0xFF));
    EXPECT_THROW(RleExtractAt(rom, 0x1FE), FileError); // header runs past the end
    EXPECT_THROW(RleExtractAt(dir.File("none.bin"), O), FileError);
}

// Only a longer block, or one where no valid block was, is asked about (No leaves the file as
// it was); the new block replaces exactly its own length of bytes.
TEST_F(RomRlePage, InsertWritesTheBlockAndAsksWhenItGrows) {
    const Bytes small = Hex("00 00 00 04 00 13 02"),
                large = Hex("00 00 00 04 10 20 30 40 50 60 70 80");
    Bytes cutShort = Pattern(0x104);
    Put(cutShort, O, {0, 0, 1, 0});
    const std::tuple<const char*, Bytes, const char*, Bytes, std::optional<uint32_t>> cases[] = {
        // name, ROM, input, new block, old block's size
        {"shorter", RomWithBlock("00 00 00 04 10 20 30 40 50 60 70 80"), "01 11 10 00", small, 12},
        {"longer", RomWithBlock("00 00 00 04 07"), "12 34 56 78", large, 5},
        {"equal, input padded", RomWithBlock("00 00 00 04 70 60 50 40 30 20 11"), "12 34 56",
         Hex("00 00 00 04 10 20 30 40 50 60 01"), 11},
        {"header over the limit", RomWithBlock("7F FF FF FF"), "01 11 10 00", small, {}},
        {"items run past the end", cutShort, "01 11 10 00", small, {}},
        {"offset at the end", Pattern(O), "01 11 10 00", small, {}},
    };
    for (const auto& [name, image, data, block, oldSize] : cases) {
        SCOPED_TRACE(name);
        WriteBytes(rom, image);
        WriteBytes(input, Hex(data));
        RleInsertPlan plan = PlanRleInsert(rom, input, O);
        EXPECT_EQ(plan.packed, block);
        EXPECT_EQ(plan.oldBlockSize, oldSize);
        uint32_t beyond = uint32_t(block.size()) - oldSize.value_or(0);
        EXPECT_EQ(plan.needsConfirmation, block.size() > oldSize.value_or(0));
        if (plan.needsConfirmation) {
            EXPECT_EQ(plan.bytesBeyondOldBlock, beyond);
            std::string question = RleGrowthQuestion(plan);
            EXPECT_NE(question.find(std::to_string(beyond) + " bytes"), std::string::npos);
            EXPECT_NE(question.find("0x100"), std::string::npos) << question;
        }
        EXPECT_EQ(ReadBytes(rom), image);
        ApplyRleInsert(plan);
        Bytes expected = image;
        EXPECT_EQ(ReadBytes(rom), Put(expected, O, block));
    }
}

TEST_F(RomRlePage, RefusalsWriteNothing) {
    const Bytes before = RomWithBlock("00 00 00 04 07");
    WriteBytes(rom, before);
    // 65,537 zero bytes hold a run too long for any item.
    WriteBytes(input, Bytes(65537, 0));
    EXPECT_EQ(MessageOf<UnsupportedRepeatError>([&] { PlanRleInsert(rom, input, O); }),
              "Unsupported repeat count: 131079");
    EXPECT_EQ(ReadBytes(rom), before);

    // Missing files are reported, and a missing ROM is not created.
    WriteBytes(input, {1, 2, 3, 4});
    std::string missing = dir.File("other.bin");
    EXPECT_THROW(PlanRleInsert(missing, input, O), FileError);
    EXPECT_FALSE(FileExists(missing));
    EXPECT_THROW(PlanRleInsert(rom, missing, O), FileError);

    // A block that changed between the plan and the writes is left alone; a ROM that
    // disappeared is not created anew.
    RleInsertPlan plan = PlanRleInsert(rom, input, O);
    const Bytes changed = RomWithBlock("00 00 00 08 0F 00 00");
    WriteBytes(rom, changed);
    EXPECT_THROW(ApplyRleInsert(plan), RefusedError);
    EXPECT_EQ(ReadBytes(rom), changed);
    std::filesystem::remove(rom);
    EXPECT_THROW(ApplyRleInsert(plan), FileError);
    EXPECT_FALSE(FileExists(rom));
}

} // namespace
} // namespace drovak
