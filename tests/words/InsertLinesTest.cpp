// The insert commands' refusals, worded from plans made of numbers alone.
#include "words/InsertLines.h"
#include "words/InsertWords.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

namespace drovak {
namespace {

constexpr size_t npos = std::string::npos;

// The parts the text does not hold.
std::vector<std::string> Missing(const std::string& text, std::vector<std::string> parts) {
    std::erase_if(parts, [&](const std::string& part) { return text.find(part) != npos; });
    return parts;
}

TEST(InsertLines, RleGrowthSaysWhatTheBlockOverwritesOrHowTheFileGrows) {
    // The old block's size, if any; the file's size afterwards; what the text says.
    const std::tuple<std::optional<uint32_t>, uint64_t, std::vector<std::string>> cases[] = {
        {5,
         0x200,
         {"greater than previous! The new block (12 bytes) will overwrite 7 bytes after "
          "the old one at 0x100 (5 bytes); 4 of them are not 00 or FF."}},
        {5,
         0x210,
         {"replaces the old one at 0x100 (5 bytes) and runs past the end of the file: "
          "the file grows from 512 to 528 bytes."}},
        {{}, 0x200, {"no valid RLE block at 0x100! The new block will overwrite the 12 bytes"}},
        {{}, 0x210, {"The new block (12 bytes) runs past", "grows from 512 to 528 bytes"}},
    };
    for (const auto& [oldBlock, newFileSize, parts] : cases) {
        RleInsertPlan plan{.packed = std::vector<uint8_t>(12, 0), .oldBlockSize = oldBlock};
        std::tie(plan.offset, plan.fileSize, plan.newFileSize, plan.beyondNotBlank) =
            std::tuple(0x100, 0x200, newFileSize, 4);
        plan.bytesBeyondOldBlock = 12 - oldBlock.value_or(0);
        const std::string text = RleGrowthText(plan);
        EXPECT_EQ(Missing(text, parts), std::vector<std::string>{}) << text;
        EXPECT_EQ(text.find('\r'), npos) << text;
    }
}

TEST(InsertLines, LzhTextsNameTheEntryTheTailAndTheMoves) {
    LzhInsertPlan plan;
    std::tie(plan.index, plan.oldSize, plan.newSize, plan.fileSize, plan.newFileSize,
             plan.tailStart, plan.tailOverwritten, plan.tailNotBlank) =
        std::tuple(3, 20, 30, 0x1000, 0x1004, 0xFF0, 10, 2);
    EXPECT_EQ(Missing(LzhGrowthText(plan),
                      {"(30 bytes) is larger than the old (20 bytes)",
                       "10 bytes after the table's data will be overwritten, from 0xFF0 on; 2 of "
                       "them are not 00 or FF. The file grows from 4096 to 4100 bytes."}),
              std::vector<std::string>{});
    EXPECT_TRUE(LzhGrowthBoxWords(plan).starts_with(
        "New size of the compressed data is greater then previous!\r\nDrovak may recalculate "
        "sizes table. Do you want to continue?\r\n10 bytes after the table's data"));
    plan.newSize = 0;
    EXPECT_EQ(LzhEmptyInputText(plan, "in.bin"),
              "The file in.bin is empty! Entry 0x3 will hold no data. Do you want to continue?");
    plan.moves.push_back({4, 0x40, 0x2C, 8});
    EXPECT_NE(LzhEmptyInputText(plan, "in.bin").find("moves back by 20 bytes."), npos);
}

} // namespace
} // namespace drovak
