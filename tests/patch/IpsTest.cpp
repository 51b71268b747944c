// IPS patches: records, runs, growth and truncation, and the patches that end wrong.
#include "patch/Ips.h"
#include "patch/Patch.h"
#include "support/TestSupport.h"

namespace drovak::test {
namespace {

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes Record(uint32_t offset, const std::string& data) {
    return Cat(Bytes{uint8_t(offset >> 16), uint8_t(offset >> 8), uint8_t(offset),
                     uint8_t(data.size() >> 8), uint8_t(data.size())},
               Text(data));
}

Bytes RunRecord(uint32_t offset, uint16_t count, char value) {
    return {uint8_t(offset >> 16), uint8_t(offset >> 8), uint8_t(offset), 0, 0,
            uint8_t(count >> 8),   uint8_t(count),       uint8_t(value)};
}

Bytes Ips(const Bytes& records, const Bytes& after = {}) {
    return Cat(Text("PATCH"), records, Text("EOF"), after);
}

const Bytes SOURCE = Text("0123456789");

TEST(Ips, RecordsRunsGrowthAndTruncationMakeTheImage) {
    const struct {
        const char* name;
        Bytes patch;
        std::string image;
    } cases[] = {
        {"no records", Ips({}), "0123456789"},
        {"a record and a run", Ips(Cat(Record(2, "AB"), RunRecord(6, 3, 'Z'))), "01AB45ZZZ9"},
        {"a later record wins", Ips(Cat(Record(0, "xyz"), Record(1, "Q"))), "xQz3456789"},
        {"a record past the end grows the image with zeros", Ips(Record(12, "!")),
         std::string("0123456789\0\0!", 13)},
        {"a run past the end", Ips(RunRecord(9, 3, 'r')), "012345678rrr"},
        {"an empty run past the end", Ips(RunRecord(20, 0, 'r')), "0123456789"},
        {"truncated after EOF", Ips(Record(0, "ab"), Hex("00 00 04")), "ab23"},
        {"a size after EOF larger than the image pads it", Ips({}, Hex("00 00 0C")),
         std::string("0123456789\0\0", 12)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PatchResult result = ApplyPatch(SOURCE, c.patch);
        ASSERT_TRUE(result.Applied()) << result.detail;
        EXPECT_EQ(std::string(result.target.begin(), result.target.end()), c.image);
    }
    // An empty image touched only by an empty run stays empty (nothing is reached past its end).
    const PatchResult empty = ApplyPatch({}, Ips(RunRecord(255, 0, 'r')));
    ASSERT_TRUE(empty.Applied()) << empty.detail;
    EXPECT_TRUE(empty.target.empty());
}

TEST(Ips, PatchesThatEndWrongAreRefused) {
    const struct {
        const char* name;
        Bytes patch;
        PatchRefusal refusal;
    } cases[] = {
        {"no EOF", Cat(Text("PATCH"), Record(0, "ab")), PatchRefusal::Damaged},
        {"a record cut short", Cat(Text("PATCH"), Slice(Record(0, "abcd"), 0, 7)),
         PatchRefusal::Damaged},
        {"a record's header cut short", Cat(Text("PATCH"), Hex("00 00 01 00")),
         PatchRefusal::Damaged},
        {"a run cut short", Cat(Text("PATCH"), Slice(RunRecord(0, 4, 'x'), 0, 7)),
         PatchRefusal::Damaged},
        {"one byte after EOF", Ips({}, Hex("00")), PatchRefusal::Damaged},
        {"four bytes after EOF", Ips({}, Hex("00 00 00 01")), PatchRefusal::Damaged},
        {"another format", Text("PATCX"), PatchRefusal::NotAPatch},
        {"nothing", {}, PatchRefusal::NotAPatch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PatchResult result = ApplyPatch(SOURCE, c.patch);
        EXPECT_EQ(result.refusal, c.refusal);
        EXPECT_TRUE(result.target.empty());
    }
}

TEST(Ips, TheLargestRecordStaysInsideWhatItGrows) {
    // The highest offset and the longest run: the image grows to their end, no further.
    const PatchResult result = ApplyIpsPatch(SOURCE, Ips(RunRecord(0xFFFFFE, 0xFFFF, 'm')));
    ASSERT_TRUE(result.Applied());
    EXPECT_EQ(result.target.size(), 0xFFFFFEu + 0xFFFF);
    EXPECT_EQ(result.target.back(), 'm');
    EXPECT_EQ(result.target[0xFFFFFD], 0);
    // An offset one below the end mark's spelling is an offset.
    const PatchResult below = ApplyIpsPatch(SOURCE, Ips(Record(0x454F45, "x")));
    ASSERT_TRUE(below.Applied());
    EXPECT_EQ(below.target.size(), 0x454F46u);
}

} // namespace
} // namespace drovak::test
