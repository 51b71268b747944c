// IPS patches: records, runs, growth and truncation, and the patches that end wrong.
#include "patch/Ips.h"
#include "patch/Patch.h"
#include "patch/PatchInfo.h"

#include "base/Crc32.h"
#include "base/Errors.h"
#include "support/TestSupport.h"
#include "words/PatchRefusalWords.h"

namespace drovak::test {
namespace {

Bytes Record(uint32_t offset, const std::string& data) {
    return Cat(Bytes{uint8_t(offset >> 16), uint8_t(offset >> 8), uint8_t(offset),
                     uint8_t(data.size() >> 8), uint8_t(data.size())},
               Text(data));
}

Bytes RunRecord(uint32_t offset, uint16_t count, char value) {
    return Cat(Record(offset, ""), Bytes{uint8_t(count >> 8), uint8_t(count), uint8_t(value)});
}

Bytes Ips(const Bytes& records, const Bytes& after = {}) {
    return Cat(Text("PATCH"), records, Text("EOF"), after);
}

const Bytes SOURCE = Text("0123456789");

TEST(Ips, RecordsRunsGrowthAndTruncationMakeTheImage) {
    const std::tuple<const char*, Bytes, std::string> cases[] = {
        {"a record and a run", Ips(Cat(Record(2, "AB"), RunRecord(6, 3, 'Z'))), "01AB45ZZZ9"},
        {"a later record wins", Ips(Cat(Record(0, "xyz"), Record(1, "Q"))), "xQz3456789"},
        {"a record past the end grows the image with zeros", Ips(Record(12, "!")),
         std::string("0123456789\0\0!", 13)},
        {"a run past the end", Ips(RunRecord(9, 3, 'r')), "012345678rrr"},
        {"truncated after EOF", Ips(Record(0, "ab"), Hex("00 00 04")), "ab23"},
        // As the common patchers do: a size after EOF only ever cuts.
        {"a size after EOF past the image's end leaves it", Ips(Record(0, "ab"), Hex("00 00 0C")),
         "ab23456789"},
        {"a size after EOF past a grown image's end", Ips(Record(10, "ab"), Hex("00 00 0B")),
         "0123456789a"},
    };
    for (const auto& [name, patch, image] : cases) {
        SCOPED_TRACE(name);
        const PatchResult result = ApplyPatch(SOURCE, patch);
        ASSERT_TRUE(result.Applied()) << PatchFaultText(result.fault);
        EXPECT_EQ(std::string(result.target.begin(), result.target.end()), image);
    }
}

TEST(Ips, PatchesThatEndWrongAreRefused) {
    using R = PatchRefusal;
    // The patch, the refusal and the words of its fault.
    const std::tuple<Bytes, PatchRefusal, std::string> cases[] = {
        {Text("PATCH"), R::Damaged, "the patch ends before \"EOF\""},
        {Cat(Text("PATCH"), Record(0, "ab")), R::Damaged, "the patch ends before \"EOF\""},
        {Cat(Text("PATCH"), RunRecord(0, 4, 'x')), R::Damaged, "the patch ends before \"EOF\""},
        {Cat(Text("PATCH"), Slice(Record(0, "abcd"), 0, 5)), R::Damaged,
         "a record's bytes end early"},
        {Cat(Text("PATCH"), Hex("00 00 01 00")), R::Damaged, "a record ends early"},
        {Cat(Text("PATCH"), Slice(RunRecord(0, 4, 'x'), 0, 7)), R::Damaged, "a run ends early"},
        {Ips({}, Hex("00")), R::Damaged, "something other than a size follows \"EOF\""},
        {Ips({}, Hex("00 00 00 01")), R::Damaged, "something other than a size follows \"EOF\""},
        {Ips(RunRecord(2, 0, 'r')), R::Damaged, "a run of length 0"},
        {Ips({}), R::AlreadyApplied, ""},
        {Ips(Record(0, "01")), R::AlreadyApplied, ""},
        {Text("PATCX"), R::NotAPatch, ""},
        {{}, R::NotAPatch, ""},
    };
    for (const auto& [patch, refusal, words] : cases) {
        const PatchResult result = ApplyPatch(SOURCE, patch);
        EXPECT_EQ(std::tuple(result.refusal, PatchFaultText(result.fault), result.target.empty()),
                  std::tuple(refusal, words, true))
            << patch.size();
    }
    const PatchResult bps = ApplyIpsPatch(SOURCE, Text("BPS1"));
    EXPECT_EQ(std::tuple(bps.refusal, bps.position, PatchFaultText(bps.fault)),
              std::tuple(R::NotAPatch, 0u, "no \"PATCH\" at the start"));
}

TEST(Ips, TheLargestRecordStaysInsideWhatItGrows) {
    // The highest offset and the longest run: the image grows to their end, no further.
    const PatchResult result = ApplyIpsPatch(SOURCE, Ips(RunRecord(0xFFFFFE, 0xFFFF, 'm')));
    ASSERT_TRUE(result.Applied());
    EXPECT_EQ(std::tuple(result.target.size(), result.target.back(), result.target[0xFFFFFD]),
              std::tuple(0xFFFFFEu + 0xFFFF, 'm', 0));
    // An offset one below the end mark's spelling is an offset.
    const PatchResult below = ApplyIpsPatch(SOURCE, Ips(Record(0x454F45, "x")));
    ASSERT_TRUE(below.Applied());
    EXPECT_EQ(below.target.size(), 0x454F46u);
    // An image of 64 MiB is patched; one byte more is refused with its size, before any copy.
    Bytes image(64u << 20, 0);
    EXPECT_TRUE(ApplyIpsPatch(image, Ips(Record(0, "x"))).Applied());
    image.push_back(0);
    const PatchResult large = ApplyIpsPatch(image, Ips(Record(0, "x")));
    EXPECT_EQ(
        std::tuple(large.refusal, PatchFaultText(large.fault), large.size, large.target.empty()),
        std::tuple(PatchRefusal::TargetTooLarge, std::string("the image is too large"),
                   uint64_t(image.size()), true));
}

TEST(Ips, MadePatchesGiveTheModifiedImageAndSayWhatTheyHold) {
    Bytes large = Pattern(0x460000, 3);
    Bytes eof = large; // a change right at the offset that reads as "EOF"
    eof[0x454F46] ^= 0xFF;
    Bytes stretch = large; // longer than a record holds, then a run
    std::fill_n(stretch.begin() + 0x1000, 0x20000, 0x55);
    std::fill_n(stretch.begin() + 0x454F40, 0x30, 0x77); // a run across the "EOF" offset
    // Name, images, and the records, runs and truncation the patch holds.
    const std::tuple<const char*, Bytes, Bytes, uint64_t, uint64_t, std::optional<uint32_t>>
        cases[] = {
            {"bytes changed, the first too", SOURCE, Text("x12345y789"), 2, 0, std::nullopt},
            {"changes close together are one record", SOURCE, Text("0x2y4z6789"), 1, 0,
             std::nullopt},
            {"a gap shorter than a record's header is one record", SOURCE, Text("0x2345y789"), 1, 0,
             std::nullopt},
            {"so is one after two changes", SOURCE, Text("0xy3456z89"), 1, 0, std::nullopt},
            {"grown", SOURCE, Text("0123456789abc"), 1, 0, std::nullopt},
            {"the shortest run written as one", SOURCE, Text("0zzzzzzzzz"), 1, 1, std::nullopt},
            {"shrunk", SOURCE, Text("01234"), 0, 0, 5},
            {"the EOF offset", large, eof, 1, 0, std::nullopt},
            {"long stretches and runs", large, stretch, 4, 3, std::nullopt},
        };
    Bytes patches;
    uint64_t written = 0;
    for (const auto& [name, original, modified, records, runs, truncation] : cases) {
        SCOPED_TRACE(name);
        const Bytes patch = CreateIpsPatch(original, modified);
        patches.insert(patches.end(), patch.begin(), patch.end());
        const PatchResult result = ApplyPatch(original, patch);
        ASSERT_TRUE(result.Applied()) << PatchFaultText(result.fault);
        EXPECT_TRUE(result.target == modified);
        const PatchInfo info = DescribePatch(patch);
        ASSERT_TRUE(info.ips);
        EXPECT_EQ(std::tie(info.ips->records, info.ips->runs, info.ips->truncation),
                  std::tie(records, runs, truncation));
        written += info.ips->bytesWritten;
    }
    EXPECT_EQ(CrcText(Crc32(patches)), "AF99D51A"); // the records chosen, byte for byte
    EXPECT_EQ(written, 131154u); // the EOF offset's change written from the byte before it
    // What IPS can't reach is refused.
    const Bytes over(MAX_IPS_IMAGE_SIZE + 1, 0), full(MAX_IPS_IMAGE_SIZE, 0);
    EXPECT_THROW(CreateIpsPatch(SOURCE, over), RefusedError);
    EXPECT_THROW(CreateIpsPatch(over, full), RefusedError);
    EXPECT_NO_THROW(CreateIpsPatch(SOURCE, full));
}

} // namespace
} // namespace drovak::test
