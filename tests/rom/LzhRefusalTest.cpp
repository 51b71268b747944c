#include "LzhTestRoms.h"
#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "compression/Lzh.h"
#include "rom/DataFile.h"
#include "rom/HeaderChecksum.h"
#include "rom/LzhPage.h"
#include "support/WordsOf.h"

#include <algorithm>
#include <tuple>

// What a compress refuses, and that the refusal names the facts and builds nothing.

namespace drovak {
namespace {

using namespace test;

TEST(RomLzhPage, RefusalsNameTheRomAndBuildNothing) {
    const std::tuple<const char*, uint32_t, uint32_t, uint32_t, bool, const char*> cases[] = {
        // name, field at T changed first, its new value, index, a FileError (else refused), the
        // facts the message gives
        {"index 32", 2, 0x26, 0x20, false,
         "entry 0x20 is beyond the table at 0x400, which has 3 entries"},
        {"index beyond the table", 2, 0x26, 3, false,
         "entry 0x3 is beyond the table at 0x400, which has 3 entries"},
        {"more than 32 entries", 2, 0x18E, 1, false, "has 33 entries (first data offset 0x18E)"},
        {"32 entries, the fourth reaching past the end", 2, 0x182, 1, true,
         "the data of entry 0x3 of the table at 0x400"},
        {"first offset below 2", 2, 1, 1, false, "its first data offset 0x1"},
        {"first offset 2: no entries", 2, 2, 0, false, "which has 0 entries"},
        {"moved entry past the end", 10 + 24, 0x1000, 1, true,
         "entry 0x2 of the table at 0x400 (4096 bytes at 0x626) runs past the end of the file at "
         "0x766"},
        {"target entry past the end", 10 + 12, 0x1000, 1, true,
         "entry 0x1 of the table at 0x400 (4096 bytes at 0x526)"},
        // table + offset wraps to 0x300, as extract reads it: the grown data reaches the table.
        {"target offset wraps around", 2 + 12, 0xFFFFFF00, 1, false,
         "would overwrite the table's fields"},
        {"table cut short", 0x1E, 0, 1, true, // and the file cut there
         "the data of entry 0x1 of the table at 0x400 (256 bytes at 0x526) runs past the end of "
         "the file at 0x41E"},
    };
    for (const auto& [name, field, value, index, fileError, facts] : cases) {
        Bytes image = ThreeEntryRom();
        Put32(image, T + field, value);
        if (field == 0x1E) image.resize(T + 0x1E);
        // A structured binding is captured by copy into a name of its own (Clang before 16
        // captures no structured binding).
        auto plan = [&, index = index] {
            PlanLzhInsert(Image(image), InputPackingTo(0x130), T, index);
        };
        std::string error = fileError ? WordsOf<FileError>(plan) : WordsOf<RefusedError>(plan);
        for (const char* part : {"tf3.bin", "nothing was", facts})
            EXPECT_TRUE(Holds(error, part)) << name;
    }

    // A wrapped entry whose new data fits is compressed into where extract finds it.
    Bytes wrapped = ThreeEntryRom();
    Put32(wrapped, T + 2 + 12, 0xFFFFFF00);
    const LzhInsertPlan fits = PlanLzhInsert(Image(wrapped), InputPackingTo(0xF0), T, 1);
    const Bytes written = ApplyLzhInsert(fits, Image(wrapped));
    EXPECT_TRUE(std::equal(fits.packed.begin(), fits.packed.end(), written.begin() + 0x300));

    // The table or the file's size changed after the plan: nothing is built.
    const LzhInsertPlan plan = PlanLzhInsert(Image(ThreeEntryRom()), InputPackingTo(0x130), T, 1);
    Bytes changed = ThreeEntryRom();
    Put32(changed, T + 10 + 24, 0x80);
    EXPECT_THROW(ApplyLzhInsert(plan, Image(changed)), RefusedError);
    EXPECT_THROW(ApplyLzhInsert(plan, Image(Cat(ThreeEntryRom(), Bytes{0}))), RefusedError);
}

// Tables whose data does not lie in entry order (found by fuzzing): what a compress writes
// would land on data it does not move or on the table itself, so that entries would no longer
// decode. Refused, naming what would be overwritten.
TEST(RomLzhPage, RefusesToWriteOverWhatItDoesNotMove) {
    // Name; entry `changed`'s new offset and packed size (0: kept), put first; the index and new
    // size compressed; what would be overwritten.
    const std::tuple<const char*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, const char*>
        cases[] = {
            {"grown data onto an entry below", 0x326, 0x20, 1, 2, 0x130, "the data of entry 0x1"},
            {"fields onto an entry below", 0x02, 0x30, 1, 2, 0x100, "the data of entry 0x1"},
            {"moved data onto the new data", 0x110, 0x10, 2, 0, 0x130, "the new data of entry 0x0"},
            {"moved data onto the table", 0x26, 0x10, 2, 0, 0xF0, "the table's fields"},
            {"new data onto an entry after it, nothing moved", 0x1F0, 0, 2, 1, 0x100,
             "the data of entry 0x2"},
        };
    for (const auto& [name, offset, packedSize, changed, index, newSize, overwritten] : cases) {
        Bytes image = ThreeEntryRom();
        Put32(image, T + 2 + 12 * changed, offset);
        if (packedSize) Put32(image, T + 10 + 12 * changed, packedSize);
        const std::string error = WordsOf<RefusedError>([&, at = index, size = newSize] {
            PlanLzhInsert(Image(image), InputPackingTo(size), T, at);
        });
        EXPECT_TRUE(Holds(error, "would overwrite " + std::string(overwritten)))
            << name << ": " << error;
        EXPECT_TRUE(Holds(error, "nothing was written")) << name;
    }
    // Four entries, entry 1's data after entry 3's: growing entry 2 by 0x30 would move entry 3's
    // data onto entry 1's, which stays. The refusal names both, the size and where.
    Bytes image = ThreeEntryRom();
    const uint32_t fields[4][3] = {
        {0x32, 0, 0x10}, {0x250, 0, 0x20}, {0x42, 0, 0x100}, {0x142, 0, 0x100}};
    for (uint32_t k = 0; k < 12; ++k) Put32(image, T + 2 + 4 * k, fields[k / 3][k % 3]);
    const std::string moved =
        WordsOf<RefusedError>([&] { PlanLzhInsert(Image(image), InputPackingTo(0x130), T, 2); });
    EXPECT_TRUE(Holds(moved,
                      "the moved data of entry 0x3 of the table at 0x400 (256 bytes at 0x572) "
                      "would overwrite the data of entry 0x1 of the table at 0x400, which "
                      "stays where it is"))
        << moved;

    // Whether the data or the table's fields lie on the checksum's bytes (0x18E and 0x18F).
    // At 0x100 entry 0's data does, at 0x180 the fields, at 0x18E the leading word.
    const std::pair<uint32_t, bool> tables[] = {
        {0x100, true}, {0x180, true}, {0x18E, true}, {0x190, false}};
    for (const auto& [table, covers] : tables) {
        const Bytes rom = ThreeEntryRom(table);
        EXPECT_EQ(PlanLzhInsert(Image(rom), InputPackingTo(0x100), table, 2).dataOnChecksum, covers)
            << table;
    }

    // A table at 0x100 whose entry 0 holds the bytes of a right header checksum (at 0x18E):
    // the new data stays as written there, and no checksum is stored over it.
    TempDir dir;
    const std::string rom = dir.File("header.bin");
    image = ThreeEntryRom(0x100);
    image.resize(0x800);
    StoreChecksum(image);
    WriteBytes(rom, image);
    const LzhInsertPlan plan = PlanLzhInsert(Image(image), InputPackingTo(0x100), 0x100, 0);
    EXPECT_TRUE(plan.dataOnChecksum);
    ApplyLzhInsert(plan, rom);
    EXPECT_EQ(LzhExtractEntry(Image(ReadBytes(rom)), 0x100, 0).data, InputPackingTo(0x100));
}

} // namespace
} // namespace drovak
