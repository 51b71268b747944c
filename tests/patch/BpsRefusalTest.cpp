// Wrong bases, damaged and hostile BPS patches are refused, with the numbers that say why, and
// nothing is made of them.
#include "base/Crc32.h"
#include "patch/Bps.h"
#include "patch/BpsNumbers.h"
#include "patch/Patch.h"
#include "patch/PatchInfo.h"
#include "support/HandMadeRom.h"
#include "support/WordsOf.h"
#include "words/PatchRefusalWords.h"
#include "words/PatchWords.h"

#include <optional>
#include <tuple>

namespace drovak::test {
namespace {

// A number as a patch spells it, written here from the format: seven bits a byte, the last
// byte marked, each further byte standing for one more than it carries.
Bytes Number(uint64_t value) {
    Bytes bytes;
    while (value >= 0x80) {
        bytes.push_back(uint8_t(value & 0x7F));
        value = (value >> 7) - 1;
    }
    bytes.push_back(uint8_t(value | 0x80));
    return bytes;
}

Bytes Action(unsigned kind, uint64_t length) {
    return Number((length - 1) << 2 | kind);
}
Bytes Delta(int64_t delta) {
    return Number(delta < 0 ? uint64_t(-delta) << 1 | 1 : uint64_t(delta) << 1);
}

Bytes Le32(uint32_t value) {
    return {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
}

// A patch put together by hand, with a right checksum of its own; its header may claim more
// metadata than it holds.
Bytes HandPatch(const Bytes& source, uint64_t targetSize, const Bytes& actions, uint32_t targetCrc,
                const Bytes& metadata = {}, std::optional<uint64_t> metadataSize = {}) {
    Bytes patch = Cat(Bytes{'B', 'P', 'S', '1'}, Number(source.size()), Number(targetSize),
                      Number(metadataSize.value_or(metadata.size())), metadata, actions,
                      Le32(Crc32(source)), Le32(targetCrc));
    return Cat(patch, Le32(Crc32(patch)));
}

const Bytes SOURCE = Pattern(16);

// The encoder writes numbers as the format spells them, and knows their sizes beforehand.
TEST(BpsNumbers, WrittenAsTheFormatSpellsThem) {
    for (const uint64_t value : {0ull, 63ull, 64ull, 127ull, 128ull, 16511ull, 16512ull, 2113663ull,
                                 2113664ull, 1ull << 48}) {
        Bytes written;
        bps::PutNumber(written, value);
        EXPECT_EQ(std::pair(written, size_t(bps::NumberSize(value))),
                  std::pair(Number(value), Number(value).size()))
            << value;
    }
}

// patch-info counts each kind of action apart; the patch applies, each copy at its own cursor.
TEST(BpsRefusal, TheInfoCountsEachKindOfAction) {
    const Bytes actions = Cat(Action(0, 4), Action(1, 4), Pattern(4), Action(2, 4), Delta(0),
                              Action(3, 4), Delta(0), Action(3, 4), Delta(4));
    const Bytes s4 = Slice(SOURCE, 0, 4), target = Cat(s4, Pattern(4), s4, s4, s4);
    const Bytes patch = HandPatch(SOURCE, 20, actions, Crc32(target));
    EXPECT_EQ(ApplyBpsPatch(SOURCE, patch).target, target);
    const PatchInfo info = DescribePatch(patch);
    ASSERT_TRUE(info.bps);
    EXPECT_EQ(std::tuple(info.bps->sourceReads, info.bps->targetReads, info.bps->sourceCopies,
                         info.bps->targetCopies),
              std::tuple(1u, 1u, 1u, 2u));
    // Too short for a header and a footer, by far or by a byte.
    for (const size_t zeros : {1, 14})
        EXPECT_EQ(DescribePatch(Cat(Hex("42 50 53 31"), Bytes(zeros, 0))).problem.fault,
                  PatchFault::EndsEarly)
            << zeros;
}

TEST(BpsRefusal, HostileActionsAreRefusedBeforeTheyReadOrWriteOutOfBounds) {
    using R = PatchRefusal;
    // The target's size, the actions, the refusal and how it is worded.
    const std::tuple<uint64_t, Bytes, PatchRefusal, const char*> cases[] = {
        {32, Action(0, 32), R::OutOfBounds, "an action reads past the source's end"},
        {5, Cat(Action(1, 10), Pattern(10)), R::OutOfBounds,
         "an action writes past the target's end"},
        {6, Cat(Action(1, 4), Pattern(4), Action(1, 4), Pattern(4)), R::OutOfBounds,
         "an action writes past the target's end"},
        {4, Cat(Action(2, 4), Delta(-1)), R::OutOfBounds, "a copy starts outside the source"},
        {10, Cat(Action(2, 10), Delta(10)), R::OutOfBounds, "a copy reads past the source's end"},
        {4, Cat(Action(2, 4), Delta(16)), R::OutOfBounds, "a copy reads past the source's end"},
        {8, Cat(Action(2, 4), Delta(4), Action(2, 4), Delta(10)), R::OutOfBounds,
         "a copy starts outside the source"},
        {4, Cat(Action(3, 4), Delta(0)), R::OutOfBounds,
         "a copy starts outside what the target holds so far"},
        {8, Cat(Action(1, 4), Pattern(4), Action(3, 4), Delta(4)), R::OutOfBounds,
         "a copy starts outside what the target holds so far"},
        {8, Cat(Action(1, 4), Pattern(4), Action(3, 4), Delta(-(int64_t(1) << 40))), R::OutOfBounds,
         "a copy starts outside what the target holds so far"},
        {uint64_t(1) << 40, Action(0, 16), R::TargetTooLarge, "the target is too large"},
        {(64u << 20) + 1, Action(0, 16), R::TargetTooLarge, "the target is too large"},
        {64u << 20, Action(0, 16), R::Damaged, "the actions end before the target's end"},
        {16, Bytes(12, 0x00), R::Damaged, "an action runs into the footer"},
        {100, Cat(Action(1, 100), Pattern(3)), R::Damaged, "literal bytes run into the footer"},
        {10, Cat(Action(1, 10), Pattern(3)), R::Damaged, "literal bytes run into the footer"},
        {4, Action(2, 4), R::Damaged, "an action runs into the footer"},
        {20, Action(0, 16), R::Damaged, "the actions end before the target's end"},
    };
    for (const auto& [targetSize, actions, refusal, words] : cases) {
        const Bytes patch = HandPatch(SOURCE, targetSize, actions, 0);
        const PatchResult result = ApplyBpsPatch(SOURCE, patch);
        EXPECT_EQ(std::tuple(result.refusal, result.target.empty(), PatchFaultText(result.fault)),
                  std::tuple(refusal, true, std::string(words)))
            << targetSize;
        // A patch's description, without its source, finds the same damage.
        if (refusal == R::Damaged) {
            EXPECT_EQ(PatchFaultText(DescribePatch(patch).problem.fault), words) << targetSize;
        }
    }
}

TEST(BpsRefusal, WellFormedCopiesApplyIncludingOverlappingTargetCopies) {
    // The refusals above are not refusals of everything: the same kinds of action, in bounds.
    const Bytes actions = Cat(Action(0, 2), Action(1, 2), Hex("AA BB"), Action(2, 4), Delta(8),
                              Action(3, 6), Delta(3), Action(2, 2), Delta(-12));
    const Bytes expected = Cat(Slice(SOURCE, 0, 2), Hex("AA BB"), Slice(SOURCE, 8, 4), Hex("BB"),
                               Slice(SOURCE, 8, 4), Hex("BB"), Slice(SOURCE, 0, 2));
    const PatchResult result =
        ApplyBpsPatch(SOURCE, HandPatch(SOURCE, expected.size(), actions, Crc32(expected)));
    ASSERT_TRUE(result.Applied()) << PatchFaultText(result.fault);
    EXPECT_EQ(result.target, expected);
    // The shortest patch there is, nothing made from nothing: 19 bytes.
    const Bytes shortest = HandPatch({}, 0, {}, 0);
    EXPECT_EQ(std::tuple(shortest.size(), ApplyBpsPatch({}, shortest).Applied(),
                         DescribePatch(shortest).problem.Applied()),
              std::tuple(size_t(19), true, true));
}

TEST(BpsRefusal, MetadataIsSkippedButMayNotRunPastTheActions) {
    const Bytes copy = Action(0, 16);
    EXPECT_TRUE(
        ApplyBpsPatch(SOURCE, HandPatch(SOURCE, 16, copy, Crc32(SOURCE), Hex("41 42"))).Applied());
    // Past the footer by one byte or by far: the header runs into the footer, for the patch's
    // description too, and for a size that never ends.
    for (const uint64_t size : {uint64_t(copy.size() + 1), uint64_t(1000)}) {
        const Bytes patch = HandPatch(SOURCE, 16, copy, Crc32(SOURCE), {}, size);
        for (const PatchResult& result :
             {ApplyBpsPatch(SOURCE, patch), DescribePatch(patch).problem}) {
            EXPECT_EQ(
                std::pair(result.refusal, PatchFaultText(result.fault)),
                std::pair(PatchRefusal::Damaged, std::string("the header runs into the footer")));
        }
    }
    const Bytes endless = Cat(Hex("42 50 53 31 00 00"), Bytes(13, 0));
    EXPECT_EQ(DescribePatch(endless).problem.fault, PatchFault::HeaderIntoFooter);
    // Metadata set on the shortest patch there is; one byte less is no BPS patch, and a header
    // that runs into the footer is a damaged one.
    const Bytes shortest = HandPatch({}, 0, {}, 0);
    EXPECT_TRUE(ApplyBpsPatch({}, WithBpsMetadata(shortest, "m")).Applied());
    const std::pair<Bytes, const char*> refused[] = {
        {Slice(shortest, 0, 18), "not a BPS patch: its metadata can't be set"},
        {endless, "a damaged BPS patch: its metadata"}};
    for (const auto& [patch, words] : refused)
        EXPECT_TRUE(
            Holds(WordsOf<DrovakError>([&, &p = patch] { WithBpsMetadata(p, "m"); }), words));
}

// A wrong base, a wrong result and a header naming another size than the base's (its checksum
// right) are refused, naming both checksums, whole.
TEST(BpsRefusal, AWrongBaseOrResultIsNamedByBothChecksums) {
    // The other base has the target's size: still a wrong base, not the target.
    const Bytes original = handmade::Noise(3000, 1), other = handmade::Noise(3001, 2);
    Bytes longer = CreateBpsPatch(SOURCE, Pattern(20, 3));
    ASSERT_EQ(longer[4], 0x90); // the source's size, 16, in one byte
    longer[4] = 0x91;
    longer =
        Cat(Slice(longer, 0, longer.size() - 4), Le32(Crc32(Slice(longer, 0, longer.size() - 4))));
    const std::string ours = CrcText(Crc32(SOURCE));
    const std::tuple<Bytes, Bytes, PatchRefusal, uint32_t, uint32_t, std::string> cases[] = {
        // base, patch, refusal, checksum named, checksum given, words
        {SOURCE, HandPatch(SOURCE, 16, Action(0, 16), 0x01234567), PatchRefusal::TargetMismatch,
         0x01234567, Crc32(SOURCE),
         "hack.bps did not make the image it was made from: the result has CRC-32 " + ours +
             ", the patch names 01234567"},
        {other, CreateBpsPatch(original, Cat(original, Hex("01"))), PatchRefusal::WrongSource,
         Crc32(original), Crc32(other),
         "hack.bps was made for a ROM with CRC-32 " + CrcText(Crc32(original)) +
             " (3000 bytes); tf3.bin has " + CrcText(Crc32(other))},
        {SOURCE, longer, PatchRefusal::WrongSource, Crc32(SOURCE), Crc32(SOURCE),
         "hack.bps was made for a ROM with CRC-32 " + ours + " (17 bytes); tf3.bin has " + ours},
    };
    for (const auto& [base, patch, refusal, named, given, words] : cases) {
        const PatchResult result = ApplyBpsPatch(base, patch);
        EXPECT_EQ(result.refusal, refusal) << words;
        EXPECT_EQ(std::tie(result.expectedCrc, result.actualCrc), std::tie(named, given));
        EXPECT_TRUE(result.target.empty());
        EXPECT_EQ(PatchRefusalText(result, "hack.bps", "tf3.bin"), words);
    }
}

TEST(BpsRefusal, EveryTruncationAndEveryChangedByteIsRefused) {
    const Bytes original = handmade::Noise(600, 3);
    Bytes modified = original;
    modified.insert(modified.begin() + 200, 50, 0x77);
    modified[500] ^= 1;
    const Bytes patch = CreateBpsPatch(original, modified);
    ASSERT_TRUE(ApplyBpsPatch(original, patch).Applied());
    for (size_t size = 0; size < patch.size(); ++size) {
        const PatchResult result = ApplyBpsPatch(original, Slice(patch, 0, size));
        EXPECT_EQ(result.refusal, size < 4 ? PatchRefusal::NotAPatch : PatchRefusal::Damaged)
            << size;
    }
    for (size_t at = 0; at < patch.size(); ++at) {
        for (const uint8_t flip : {0x01, 0x80, 0xFF}) {
            Bytes damaged = patch;
            damaged[at] ^= flip;
            EXPECT_FALSE(ApplyBpsPatch(original, damaged).Applied()) << at;
        }
    }
}

TEST(BpsCreate, RefusesImagesLargerThanAPatchMayCarry) {
    const Bytes large((64u << 20) + 1, 0);
    EXPECT_THROW(CreateBpsPatch(large, {}), RefusedError);
    EXPECT_THROW(CreateBpsPatch({}, large), RefusedError);
}

PatchResult Refusal(PatchRefusal kind, uint32_t named, uint32_t given, uint64_t size = 0,
                    PatchFault fault = PatchFault::None, uint64_t position = 0) {
    PatchResult result = PatchResult::Refused(kind, position, fault);
    std::tie(result.expectedCrc, result.actualCrc, result.size) = std::tuple(named, given, size);
    return result;
}

// What a refused patch says, whole: which checksum the patch names and which the bytes give,
// each with all eight digits, and the sizes.
TEST(PatchWords, EveryRefusalNamesWhatWasExpectedAndWhatWasFound) {
    const std::pair<PatchResult, std::string> cases[] = {
        {Refusal(PatchRefusal::None, 1, 2), ""},
        {Refusal(PatchRefusal::NotAPatch, 1, 2),
         "hack.bps is not a patch: it starts with neither \"BPS1\" nor \"PATCH\""},
        {Refusal(PatchRefusal::WrongSource, 0x00C0FFEE, 0x0BADF00D, 3000),
         "hack.bps was made for a ROM with CRC-32 00C0FFEE (3000 bytes); tf3.bin has 0BADF00D"},
        {Refusal(PatchRefusal::Damaged, 0x0000ABCD, 0x00000001),
         "hack.bps is damaged: its own checksum fails (it names 0000ABCD, its bytes give "
         "00000001)"},
        {Refusal(PatchRefusal::Damaged, 5, 5, 0, PatchFault::EndsEarly, 7),
         "hack.bps is damaged: the patch ends early (at byte 7 of the patch)"},
        {Refusal(PatchRefusal::OutOfBounds, 0, 0, 0, PatchFault::CopyPastSource, 12),
         "hack.bps is damaged or hostile: a copy reads past the source's end (at byte 12 of the "
         "patch)"},
        {Refusal(PatchRefusal::TargetTooLarge, 0, 0, MAX_PATCH_TARGET_SIZE + 1),
         "hack.bps would make an image of 67108865 bytes, more than a ROM image may hold "
         "(67108864)"},
    };
    for (const auto& [result, words] : cases)
        EXPECT_EQ(PatchRefusalText(result, "hack.bps", "tf3.bin"), words);
    // What a made patch changes, in both numbers.
    EXPECT_EQ(ImageDifferenceText({1, 1, 0xA, 0xA, 8, 9}),
              "changes 1 byte in 1 stretch between 0xA and 0xA; grows from 8 to 9 bytes");
    EXPECT_EQ(ImageDifferenceText(CompareImages(Hex("00 01 02 03 04"), Hex("FF 01 FF FF"))),
              "changes 3 bytes in 2 stretches between 0x0 and 0x3; shrinks from 5 to 4 bytes");
}

} // namespace
} // namespace drovak::test
