#include "rom/RlePage.h"
#include "LzhTestRoms.h"
#include "base/Paths.h"
#include "compression/Rle.h"
#include "rom/DataFile.h"
#include "rom/HeaderChecksum.h"
#include "rom/LzhPage.h"
#include "support/WordsOf.h"

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

TEST(RomRlePage, ExtractDecodesTheBlockAndCountsItsBytes) {
    const RomBytes rom = Image(RomWithBlock("00 00 00 10 FD 1F"));
    const RleExtractResult result = RleExtractAt(rom, O);
    EXPECT_EQ(std::tie(result.consumed, result.data), std::tuple(6, Bytes(16, 0xFF)));
    EXPECT_THROW(RleExtractAt(rom, 0x1FE), FileError); // header runs past the end
    EXPECT_EQ(std::tuple(RleBlockDataSize(rom, O), RleBlockDataSize(rom, 0x1FE)),
              std::tuple(16u, std::nullopt));
    EXPECT_THROW(RleExtractAt(std::string("/no/such/rom.bin"), O), FileError);
    // The suggested data files lie beside the ROM, named by the texts as typed.
    EXPECT_EQ(SuggestedRleFileName("/r/tf3.bin", "9a00") + " " +
                  SuggestedLzhFileName("/r/tf3.bin", "20000", "1F"),
              "/r/9a00.bin /r/20000_1F.bin");
}

// Only a longer block, one where no valid block was, or one that runs past the end of the file
// (which grows) is asked about; the new block replaces exactly its own length of bytes.
TEST(RomRlePage, InsertWritesTheBlockAndAsksWhenItGrows) {
    const Bytes small = Hex("00 00 00 04 00 13 02"),
                large = Hex("00 00 00 04 10 20 30 40 50 60 70 80");
    Bytes cutShort = Pattern(0x104), nearTheEnd = Pattern(0x108);
    Put(cutShort, O, {0, 0, 1, 0});
    Put(nearTheEnd, O, Hex("00 00 00 04 07"));
    const std::tuple<const char*, Bytes, const char*, Bytes, std::optional<uint32_t>> cases[] = {
        // name, ROM, input, new block, old block's size
        {"shorter", RomWithBlock("00 00 00 04 10 20 30 40 50 60 70 80"), "01 11 10 00", small, 12},
        {"longer", RomWithBlock("00 00 00 04 07"), "12 34 56 78", large, 5},
        {"one byte longer", RomWithBlock("00 00 00 04 70 60 50 40 30 20 11"), "12 34 56 78", large,
         11},
        {"equal, input padded", RomWithBlock("00 00 00 04 70 60 50 40 30 20 11"), "12 34 56",
         Hex("00 00 00 04 10 20 30 40 50 60 01"), 11},
        {"header over the limit", RomWithBlock("7F FF FF FF"), "01 11 10 00", small, {}},
        {"items run past the end", cutShort, "01 11 10 00", small, {}},
        {"longer, past the end", nearTheEnd, "12 34 56 78", large, 5},
        {"empty input", RomWithBlock("00 00 00 04 07"), "", Hex("00 00 00 00"), 5},
        // Whole words are encoded: 4n+1 and 4n+2 bytes keep their last bytes.
        {"4n+1 bytes", RomWithBlock("00 00 00 04 07"), "12 34 56 78 9A",
         Hex("00 00 00 08 10 20 30 40 50 60 70 80 90 A0 05"), 5},
        {"4n+2 bytes", RomWithBlock("00 00 00 04 07"), "12 34 56 78 9A BC",
         Hex("00 00 00 08 10 20 30 40 50 60 70 80 90 A0 B0 C0 03"), 5},
    };
    for (const auto& [name, image, data, block, oldSize] : cases) {
        SCOPED_TRACE(name);
        RleInsertPlan plan = PlanRleInsert(Image(image), Hex(data), O);
        EXPECT_EQ(std::tie(plan.packed, plan.oldBlockSize, plan.emptyInput),
                  std::tuple(block, oldSize, Hex(data).empty()));
        const uint64_t end = O + block.size();
        EXPECT_EQ(plan.newFileSize, std::max<uint64_t>(image.size(), end));
        uint32_t beyond = uint32_t(block.size()) - oldSize.value_or(0);
        EXPECT_EQ(plan.needsConfirmation, block.size() > oldSize.value_or(0));
        if (plan.needsConfirmation) {
            EXPECT_EQ(plan.bytesBeyondOldBlock, beyond);
            const auto from = image.begin() + long(end - beyond);
            EXPECT_EQ(plan.beyondNotBlank,
                      std::count_if(from,
                                    image.begin() + long(std::min<uint64_t>(end, image.size())),
                                    [](uint8_t b) { return b != 0 && b != 0xFF; }));
        }
        EXPECT_EQ(plan.fileSize, image.size());
        Bytes expected = image;
        EXPECT_EQ(ApplyRleInsert(plan, Image(image)), Put(expected, O, block));
    }
}

TEST(RomRlePage, RefusalsBuildNothing) {
    const Bytes before = RomWithBlock("00 00 00 04 07");
    // 65,537 zero bytes hold a run too long for any item.
    EXPECT_EQ(
        WordsOf<UnsupportedRepeatError>([&] { PlanRleInsert(Image(before), Bytes(65537, 0), O); }),
        "Unsupported repeat count: 131073");
    // More data than a block may hold, said before any encoding.
    EXPECT_TRUE(Holds(WordsOf<RefusedError>(
                          [&] { PlanRleInsert(Image(before), Pattern(MAX_DECODED_SIZE + 1), O); }),
                      "a compressed block may hold"));
    // An offset at or past the end of the file.
    for (uint32_t at : {0x200u, 0xFFFFFFFFu}) {
        const auto plan = [&] { PlanRleInsert(Image(before), {1, 2, 3, 4}, at); };
        EXPECT_TRUE(Holds(WordsOf<RefusedError>(plan), "past the end of the file"));
    }
    // A block that covers a right header checksum (at 0x18E) keeps its data there: no checksum
    // is stored over it (found by fuzzing).
    TempDir dir;
    const std::string headerRom = dir.File("header.bin");
    Bytes header = RomWithBlock("00 00 00 04 07");
    StoreChecksum(header);
    WriteBytes(headerRom, header);
    const Bytes noise = Pattern(100, 1);
    const RleInsertPlan covering = PlanRleInsert(Image(header), noise, O);
    EXPECT_TRUE(covering.dataOnChecksum);
    ApplyRleInsert(covering, headerRom);
    EXPECT_EQ(RleExtractAt(Image(ReadBytes(headerRom)), O).data, noise);

    // The checksum's bytes are 0x18E and 0x18F: a 7-byte block from 0x188 to 0x18F touches them.
    const std::pair<uint32_t, bool> starts[] = {
        {0x187, false}, {0x188, true}, {0x18F, true}, {0x190, false}};
    for (const auto& [at, covers] : starts)
        EXPECT_EQ(PlanRleInsert(Image(header), Hex("01 11 10 00"), at).dataOnChecksum, covers)
            << at;

    // A block or a file size that changed between the plan and the writes.
    RleInsertPlan plan = PlanRleInsert(Image(before), {1, 2, 3, 4}, O);
    EXPECT_THROW(ApplyRleInsert(plan, Image(RomWithBlock("00 00 00 08 0F 00 00"))), RefusedError);
    EXPECT_THROW(ApplyRleInsert(plan, Image(Pattern(0x300))), RefusedError);
    EXPECT_THROW(ApplyRleInsert(plan, Image(Cat(before, Bytes{0}))), RefusedError); // same block

    // From files: missing ones are reported, and a missing ROM is not created.
    const std::string rom = dir.File("tf3.bin"), input = dir.File("48120.bin");
    const std::string missing = dir.File("other.bin");
    WriteBytes(rom, before);
    WriteBytes(input, {1, 2, 3, 4});
    EXPECT_THROW(PlanRleInsert(missing, input, O), FileError);
    EXPECT_FALSE(FileExists(missing));
    EXPECT_THROW(PlanRleInsert(rom, missing, O), FileError);
    plan = PlanRleInsert(rom, input, O);
    std::filesystem::remove(rom);
    EXPECT_THROW(ApplyRleInsert(plan, rom), FileError);
    EXPECT_FALSE(FileExists(rom));
}

} // namespace
} // namespace drovak
