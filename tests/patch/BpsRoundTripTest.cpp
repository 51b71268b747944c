// Patches made between generated images apply, with the program's reader and with the tests'
// own, to exactly the modified image, and stay small where the change is small.
#include "ReferenceBps.h"
#include "base/Crc32.h"
#include "base/Errors.h"
#include "demo/DemoRom.h"
#include "patch/Bps.h"
#include "patch/BpsMatches.h"
#include "patch/PatchInfo.h"
#include "rom/LzhPage.h"
#include "rom/RomLayout.h"
#include "support/HandMadeRom.h"
#include "support/ProgressWatcher.h"
#include "words/PatchRefusalWords.h"

namespace drovak::test {
namespace {

using handmade::Noise;

Bytes Inserted(Bytes bytes, size_t at, const Bytes& what) {
    bytes.insert(bytes.begin() + long(at), what.begin(), what.end());
    return bytes;
}

Bytes Repeated(const Bytes& block, size_t times) {
    Bytes bytes;
    for (size_t i = 0; i < times; ++i) bytes = Cat(bytes, block);
    return bytes;
}

// The demo ROM with a tile-art entry changed and compressed back: the entries after it move
// and the table's fields change.
std::pair<Bytes, Bytes> DemoRomInsert() {
    const Bytes rom = MakeDemoRom();
    const RomBytes image{"demo", rom};
    Bytes data = LzhExtractEntry(image, POINTER_TABLE_OFFSET, TileArtEntry(0)).data;
    data.resize(LzhTargetEntry(image, POINTER_TABLE_OFFSET, TileArtEntry(0)).DecodedSize);
    std::fill_n(data.begin() + 100, 700, 0x35);
    return {rom, ApplyLzhInsert(PlanLzhInsert(image, data, POINTER_TABLE_OFFSET, TileArtEntry(0)),
                                image)};
}

struct RoundTrip {
    const char* name;
    Bytes original, modified;
    size_t largestPatch; // what a patch that finds the matches stays under
};

std::vector<RoundTrip> Cases() {
    const Bytes base = Noise(200000, 1);
    const Bytes block = Noise(4096, 2);
    const auto [demo, demoChanged] = DemoRomInsert();
    Bytes scattered = base;
    for (size_t at = 500; at < scattered.size(); at += 2000) scattered[at] ^= 0x5A;
    Bytes run = base;
    std::fill_n(run.begin() + 1000, 30000, 0xFF);
    // The demo ROM edited as a hack is: bytes changed here and there, 100 inserted, 60 taken
    // out; much of it repeats (tiles, runs), so each place has matches of many kinds to choose.
    Bytes hacked = demo;
    for (size_t at = 777; at < hacked.size(); at += 9973) hacked[at] = uint8_t(at);
    hacked = Cat(Slice(hacked, 0, 0x30000), Noise(100, 12), Slice(hacked, 0x30000, 0x20000),
                 Slice(hacked, 0x50000 + 60, hacked.size() - 0x50000 - 60));
    // After literals, 4 bytes at the source's start (as long as their copy is dear), and from the
    // second of them on, 100 bytes at 5000: the first is better carried as one more literal.
    Bytes lookAhead = Noise(8000, 9);
    std::copy_n(lookAhead.begin() + 1, 3, lookAhead.begin() + 5000);
    std::copy_n(lookAhead.begin() + 5000, 3, lookAhead.begin() + 7001); // the same at the start
    // 32 bytes at 100, a match as long as is taken without a look a byte further on, and from
    // the second of them on, 100 bytes at 5000.
    Bytes longest = Noise(8000, 10);
    std::copy_n(longest.begin() + 101, 31, longest.begin() + 5000);
    // From 50 on: the source's byte 30, whose next 7 repeat at 51, then N bytes from 51 on: a
    // copy of 8 at 30 against reading N in place a byte further on, worth it only when it saves
    // more than the literal before it costs.
    Bytes repeat = Noise(200, 1);
    std::copy_n(repeat.begin() + 51, 7, repeat.begin() + 31);
    // The source's 32 bytes at 100 also at 20, followed there by the 2 after them in the target:
    // reading 32 in place (a length of 32 still takes one byte) against copying 34 from 20.
    Bytes twice = Noise(300, 15);
    std::copy_n(twice.begin() + 100, 32, twice.begin() + 20);
    const auto readAhead = [&](size_t n) {
        return Cat(Slice(repeat, 0, 50), Slice(repeat, 30, 1), Slice(repeat, 51, n), Noise(5, 7));
    };
    return {
        {"equal", base, base, 32},
        {"both empty", {}, {}, 20},
        {"from nothing", {}, Repeated(block, 8), 4096 + 64},
        {"to nothing", base, {}, 24},
        {"insert moves the rest", base, Inserted(base, 50000, Noise(1000, 3)), 1000 + 48},
        {"insert at the start", base, Inserted(base, 0, Noise(300, 4)), 300 + 40},
        {"block deleted", base, Cat(Slice(base, 0, 70000), Slice(base, 90000, 110000)), 48},
        {"halves swapped", base, Cat(Slice(base, 100000, 100000), Slice(base, 0, 100000)), 48},
        {"a block repeated", base, Cat(Slice(base, 0, 5000), Repeated(block, 10)), 4096 + 64},
        {"a long run", base, run, 64},
        {"grows", Slice(base, 0, 1000), Cat(Slice(base, 0, 1000), Noise(5000, 5)), 5000 + 40},
        {"shrinks", base, Slice(base, 0, 120000), 32},
        {"scattered bytes", base, scattered, 100 * 6 + 32},
        {"unrelated", Noise(10000, 6), Noise(12000, 7), 12000 + 40},
        {"demo ROM, entry compressed back", demo, demoChanged, 3000},
        {"demo ROM, hacked", demo, hacked, 1000},
        {"a copy going on after a byte", base,
         Cat(Slice(base, 100000, 3000), Bytes{uint8_t(~base[103000])}, Slice(base, 103000, 3000)),
         40},
        {"a short match before a long one", lookAhead,
         Cat(Noise(10, 8), Slice(lookAhead, 0, 1), Slice(lookAhead, 5000, 100)), 40},
        {"the same at the start", lookAhead,
         Cat(Slice(lookAhead, 7000, 1), Slice(lookAhead, 5000, 100)), 32},
        {"a match taken without a look further on", longest,
         Cat(Noise(10, 8), Slice(longest, 100, 1), Slice(longest, 5000, 100)), 56},
        {"a read in place a byte on saving two more", repeat, readAhead(9), 32},
        {"a read in place a byte on saving one more", repeat, readAhead(8), 32},
        {"a copy of the modified image's start", base, Repeated(Slice(base, 36, 3), 2), 28},
        {"a read in place of 32 bytes or a copy of 34", twice,
         Cat(Noise(100, 16), Slice(twice, 20, 34)), 140},
        {"the original's end after a longer insert", Slice(base, 0, 100),
         Cat(Noise(200, 13), Slice(base, 50, 50)), 240},
    };
}

TEST(BpsRoundTrip, AppliesToTheModifiedImageWithBothReaders) {
    Bytes patches;
    for (const RoundTrip& trip : Cases()) {
        SCOPED_TRACE(trip.name);
        ProgressWatcher progress;
        const Bytes patch = CreateBpsPatch(trip.original, trip.modified, progress);
        ASSERT_FALSE(progress.done.empty());
        EXPECT_EQ(progress.done.back(), trip.modified.size());
        EXPECT_EQ(progress.total, trip.modified.size());
        EXPECT_LE(patch.size(), trip.largestPatch);
        const PatchResult applied = ApplyBpsPatch(trip.original, patch);
        ASSERT_TRUE(applied.Applied()) << PatchFaultText(applied.fault);
        EXPECT_TRUE(applied.target == trip.modified);
        EXPECT_TRUE(ReferenceBps::Apply(trip.original, patch) == trip.modified);
        EXPECT_TRUE(DescribePatch(patch).problem.Applied());
        // Without the patch's own checksum: a CRC over bytes that end with their CRC is the same
        // whatever those bytes are.
        patches.insert(patches.end(), patch.begin(), patch.end() - 4);
    }
    EXPECT_EQ(CrcText(Crc32(patches)), "3B0C6CDF"); // the matches found, byte for byte
    // An original that is the front of a larger buffer: no match reaches past its end.
    const Bytes buffer = Noise(2000, 14);
    const std::span<const uint8_t> front(buffer.data(), 1000);
    Bytes grown = buffer;
    grown[0] ^= 1;
    EXPECT_EQ(ApplyBpsPatch(Slice(buffer, 0, 1000), CreateBpsPatch(front, grown)).target, grown);
}

// The match candidates of each modified position are the nearest suffixes in sorted order, as
// comparing every pair of suffixes finds them: of the original below and above, and of what
// starts earlier below and above.
TEST(BpsMatches, TheNearestSuffixesInSortedOrderOnEitherSide) {
    for (const auto& [original, modified] :
         {std::pair(Hex("61"), Hex("62")),
          std::pair(Hex("62 61 6E 61 6E 61"), Hex("61 6E 61 62 61 6E")),
          std::pair(Noise(40, 1), Noise(30, 2)), std::pair(Bytes{}, Hex("61 62 61 62")),
          std::pair(Hex("62 61"), Hex("61 61 62"))}) {
        const Bytes whole = Cat(original, modified);
        const int32_t sourceSize = int32_t(original.size()), size = int32_t(whole.size());
        const auto Less = [&](int32_t a, int32_t b) {
            return std::lexicographical_compare(whole.begin() + a, whole.end(), whole.begin() + b,
                                                whole.end());
        };
        // The nearest of positions [0, end) below (or above) the suffix at x.
        const auto Nearest = [&](int32_t x, int32_t end, bool above) {
            int32_t best = -1;
            for (int32_t p = 0; p < end; ++p) {
                if (p != x && (above ? Less(x, p) : Less(p, x)) &&
                    (best < 0 || (above ? Less(p, best) : Less(best, p))))
                    best = p;
            }
            return best;
        };
        const bps::MatchCandidates found = bps::FindMatchCandidates(original, modified);
        for (int32_t x = sourceSize; x < size; ++x) {
            const size_t i = size_t(x - sourceSize);
            EXPECT_EQ(std::tuple(found.sourceBelow[i], found.sourceAbove[i], found.earlierBelow[i],
                                 found.earlierAbove[i]),
                      std::tuple(Nearest(x, sourceSize, false), Nearest(x, sourceSize, true),
                                 Nearest(x, x, false), Nearest(x, x, true)))
                << i;
        }
    }
}

TEST(BpsRoundTrip, ACancelEndsTheWorkAtItsNextStep) {
    // Steps come every 64 KiB; a cancel heard after the last of them ends the work too.
    for (const size_t after : {size_t(0), size_t(1), size_t(4)}) {
        ProgressWatcher progress;
        progress.cancelAfter = after;
        EXPECT_THROW(CreateBpsPatch(Noise(300000, 9), Noise(300000, 10), progress), CancelledError);
        std::vector<uint64_t> steps;
        for (uint64_t k = 1; k <= after; ++k) steps.push_back(65536 * k);
        EXPECT_EQ(progress.done, steps);
        EXPECT_EQ(progress.total, after ? 300000u : 0u); // a step says done of how many
    }
}

TEST(BpsRoundTrip, APatchAppliesToNoOtherImage) {
    const Bytes original = Noise(5000, 8), modified = Inserted(original, 10, Hex("01 02 03"));
    const Bytes patch = CreateBpsPatch(original, modified);
    for (const Bytes& other : {modified, Slice(original, 0, 4999), Cat(original, Hex("00"))}) {
        // The image the patch makes is told apart: the patch was applied to it already.
        EXPECT_EQ(ApplyBpsPatch(other, patch).refusal,
                  other == modified ? PatchRefusal::AlreadyApplied : PatchRefusal::WrongSource);
        EXPECT_FALSE(ReferenceBps::Apply(other, patch).has_value());
    }
}

} // namespace
} // namespace drovak::test
