#include "rom/LzhPage.h"
#include "LzhTestRoms.h"
#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "compression/Lzh.h"
#include "rom/DataFile.h"
#include "rom/HeaderChecksum.h"
#include "rom/LzhTableList.h"
#include "support/WordsOf.h"
#include "words/LzhListWords.h"

#include <algorithm>
#include <tuple>

namespace drovak {
namespace {

using namespace test;

// Growth asks first; the entries after the index move by the size change and only their
// DataOffsets, the entry's sizes and the stream itself change. A shrink leaves the old bytes
// after the last entry's moved data (0x10 of them at T + 0x316). Growth overwrites the bytes
// after the table's data and then grows the file. An empty input is flagged (it is asked
// about). What goes in is what an extract gives back.
TEST(RomLzhPage, InsertMovesTheFollowingEntries) {
    const std::tuple<uint32_t, uint32_t, bool> cases[] = {
        {1, 0x130, true}, {1, 0xF0, false}, {1, 0x100, false}, {1, 0, false},
        {0, 0x130, true}, {0, 0xF0, false}, {2, 0x140, true},  {2, 0x150, true}};
    for (const auto& [index, newSize, asks] : cases) {
        SCOPED_TRACE(testing::Message() << index << " " << newSize);
        const Bytes before = ThreeEntryRom(), data = newSize ? InputPackingTo(newSize) : Bytes{};
        const LzhInsertPlan plan = PlanLzhInsert(Image(before), data, T, index);
        EXPECT_EQ(std::tie(plan.needsConfirmation, plan.emptyInput),
                  std::tuple(asks, data.empty()));
        const uint32_t grown = asks ? newSize - 0x100 : 0;
        EXPECT_EQ(plan.newFileSize, std::max<uint64_t>(before.size(), T + 0x326 + grown));

        const Bytes image = ApplyLzhInsert(plan, Image(before));
        Bytes expected = before;
        for (uint32_t k = index + 1; k < 3; ++k) {
            uint32_t moved = 0x26 + 0x100 * k + newSize - 0x100;
            Put(expected, T + moved, Slice(before, T + 0x26 + 0x100 * k, 0x100));
            Put32(expected, T + 2 + 12 * k, moved);
        }
        Put(expected, T + 0x26 + 0x100 * index, plan.packed);
        Put32(expected, T + 6 + 12 * index, uint32_t(data.size()));
        Put32(expected, T + 10 + 12 * index, newSize);
        EXPECT_EQ(image, expected);
        EXPECT_EQ(LzhExtractEntry(Image(image), T, index).data, data);
    }
}

// The question counts the bytes after the table's data that growth overwrites, and those of them
// that are neither 00 nor FF; the table's data ends where its last data ends, whatever the order
// of the entries.
TEST(RomLzhPage, TheTailAfterTheTableIsCounted) {
    // Name; whether entries 1 and 2 hold each other's data; index, new size; the tail's bytes
    // overwritten and not blank.
    const std::tuple<const char*, bool, uint32_t, uint32_t, uint32_t, uint32_t> cases[] = {
        {"in entry order", false, 1, 0x130, 0x30, 12},
        {"data not in entry order", true, 0, 0x130, 0x30, 12},
        {"the last entry", false, 2, 0x101, 1, 0},
        {"past the end of the file", false, 0, 0x150, 0x40, 16},
    };
    for (const auto& [name, swapped, index, newSize, overwritten, notBlank] : cases) {
        Bytes image = ThreeEntryRom();
        for (uint32_t i = 0; i < 0x40; ++i) image[T + 0x326 + i] = Hex("00 FF 12 FF")[i % 4];
        if (swapped) {
            Put32(image, T + 2 + 12, 0x226);
            Put32(image, T + 2 + 24, 0x126);
        }
        const LzhInsertPlan plan = PlanLzhInsert(Image(image), InputPackingTo(newSize), T, index);
        EXPECT_EQ(std::tuple(plan.tailStart, plan.tailOverwritten, plan.tailNotBlank),
                  std::tuple(T + 0x326u, overwritten, notBlank))
            << name;
    }
}

// An entry whose data ends exactly at the end of the file is read, and moved by a compress
// that grows an entry before it (the file grows with it).
TEST(RomLzhPage, AnEntryEndingAtTheEndOfTheFile) {
    Bytes rom = ThreeEntryRom();
    rom.resize(T + 0x326);
    EXPECT_NO_THROW(LzhExtractEntry(Image(rom), T, 2));
    for (uint32_t newSize : {0x130u, 0xF0u}) {
        const LzhInsertPlan plan = PlanLzhInsert(Image(rom), InputPackingTo(newSize), T, 0);
        const Bytes image = ApplyLzhInsert(plan, Image(rom));
        EXPECT_EQ(image.size(), rom.size() + std::max(0, int(newSize) - 0x100));
        EXPECT_EQ(Slice(image, T + 0x226 + newSize - 0x100, 0x100), Slice(rom, T + 0x226, 0x100));
    }
    // A last entry after a hole, moved by more than its size: the file grows by zeros up to it.
    Put32(rom, T + 2 + 24, 0x316);
    Put32(rom, T + 10 + 24, 0x10);
    const Bytes image =
        ApplyLzhInsert(PlanLzhInsert(Image(rom), InputPackingTo(0x130), T, 0), Image(rom));
    EXPECT_EQ(Slice(image, T + 0x326, 0x30), Cat(Bytes(0x20, 0), Slice(rom, T + 0x316, 0x10)));
}

TEST(RomLzhPage, ExtractAndTargetReadTheIndexedEntryOrRefuse) {
    // Index 2 has its fields at T + 0x1A; what lies where index 0x10's would be is no entry,
    // even when it reads like one, and an index far out reads nothing at all.
    Bytes image = ThreeEntryRom();
    Put(image, T + 0xC2, Slice(image, T + 0x1A, 12)); // entry 2's fields
    EXPECT_EQ(LzhExtractEntry(Image(image), T, 2).entry, (TableEntry{0x226, 0x3333, 0x100}));
    EXPECT_EQ(LzhTargetEntry(Image(image), T, 2), (TableEntry{0x226, 0x3333, 0x100}));
    for (uint32_t index : {3u, 0x10u, 0x100u, 0xFFFFFFFFu}) {
        EXPECT_EQ(WordsOf<RefusedError>([&] { LzhExtractEntry(Image(image), T, index); }),
                  "tf3.bin: entry " + HexText(index) +
                      " is beyond the table at 0x400, which has 3 entries; nothing was read or "
                      "written");
        EXPECT_THROW(LzhTargetEntry(Image(image), T, index), RefusedError);
    }

    image = ThreeEntryRom();
    Put32(image, T + 10 + 24, 0x200); // entry 2's data runs past the end, by less than it starts at
    EXPECT_THROW(LzhExtractEntry(Image(image), T, 2), FileError);
    // A table past the end of the file, or a field the file ends inside, names the file's end.
    for (const auto& [table, at] : {std::pair{0x1000u, "0x1002"}, {0x761u, "0x763"}}) {
        const std::string tooShort =
            WordsOf<FileError>([&, t = table] { LzhExtractEntry(Image(image), t, 0); });
        EXPECT_TRUE(Holds(tooShort, "lies at " + std::string(at) +
                                        ", but the file ends at 0x766 (1894 bytes)"));
    }
    EXPECT_THROW(LzhExtractEntry(std::string("/no/such/rom.bin"), T, 0), FileError);
    Put32(image, T + 6, MAX_DECODED_SIZE + 1);
    EXPECT_THROW(LzhExtractEntry(Image(image), T, 0), RefusedError);
}

// The list: every entry, and whether it decodes within the file; a table that does not fit the
// file, or is no table, is refused before anything is listed.
TEST(RomLzhPage, ListShowsEveryEntryAndWhetherItDecodes) {
    Bytes image = ThreeEntryRom();
    Put32(image, T + 10 + 24, 0x1000);              // entry 2's data runs past the end
    Put32(image, T + 6 + 12, MAX_DECODED_SIZE + 1); // entry 1 decodes to too much
    const std::vector<LzhListEntry> list = ListLzhTable(Image(image), T);
    ASSERT_EQ(list.size(), 3u);
    const std::array<std::string, 6> cells[] = {
        {"0x0", "0x26", "4369", "256", "yes", ""},
        {"0x1", "0x126", std::to_string(MAX_DECODED_SIZE + 1), "256",
         "no (decoded size over the limit)", ""},
        {"0x2", "0x226", "13107", "4096", "no (data past the end of the file)", ""}};
    for (size_t k = 0; k < 3; ++k) EXPECT_EQ(LzhListCells(list[k]), cells[k]);

    Put32(image, T + 2, 1); // the first offset inside the leading word
    EXPECT_THROW(ListLzhTable(Image(image), T), RefusedError);
    Put32(image, T + 2, 2); // just after it: a table of no entries
    EXPECT_TRUE(ListLzhTable(Image(image), T).empty());
    Put32(image, T + 2, 0x1000); // 341 entries: their fields run past the end of the file
    EXPECT_EQ(WordsOf<FileError>([&] { ListLzhTable(Image(image), T); }),
              "tf3.bin: too short for the table at 0x400: its 341 entries run to 0x13FE, but the "
              "file ends at 0x766 (1894 bytes)");
}

// The listing's limits, exactly at each and one past it, and the extract agreeing with the
// listing on an empty entry whose data would lie past the end of the file.
TEST(RomLzhPage, ListingLimitsAndTheExtractAgree) {
    const uint64_t size = T + 0x326; // entry 2's data ends with the file
    const std::tuple<TableEntry, std::optional<EntryProblem>> cases[] = {
        {{0x226, MAX_DECODED_SIZE, 0x100}, std::nullopt},
        {{0x226, MAX_DECODED_SIZE + 1, 0x100}, EntryProblem::DecodedSizeOverLimit},
        {{0x226, 0x3333, 0x101}, EntryProblem::DataPastEnd},
        {{0x1000, 1, 0x100}, EntryProblem::DataPastEnd},
        {{0x1000, 0, 0x100}, std::nullopt},
    };
    for (const auto& [entry, problem] : cases)
        EXPECT_EQ(LzhEntryProblem(size, T, entry), problem) << entry.DecodedSize;
    Bytes rom = ThreeEntryRom();
    rom.resize(size);
    Put32(rom, T + 2 + 24, 0x1000);
    Put32(rom, T + 6 + 24, 0);
    EXPECT_EQ(LzhListCells(ListLzhTable(Image(rom), T)[2])[4], "yes");
    EXPECT_EQ(LzhExtractEntry(Image(rom), T, 2).data, Bytes{});
}

// The game's table names what its level entries hold; other entries and other tables nothing.
TEST(RomLzhPage, EntryRolesOfTheGamesTable) {
    const std::tuple<uint32_t, uint32_t, std::optional<std::string>> cases[] = {
        {0x20000, 0x7, std::nullopt},        {0x20000, 0x8, "tile art, level 1"},
        {0x20000, 0xF, "tile art, level 8"}, {0x20000, 0x10, "blocks, level 1"},
        {0x20000, 0x12, "blocks, level 3"},  {0x20000, 0x17, "blocks, level 8"},
        {0x20000, 0x18, std::nullopt},       {T, 0xA, std::nullopt},
        {0x20002, 0x12, std::nullopt}};
    for (const auto& [table, index, role] : cases) {
        const std::optional<EntryRole> found = RoleOfEntry(table, index);
        EXPECT_EQ(found ? std::optional(EntryRoleText(*found)) : std::nullopt, role)
            << HexText(table) << " " << index;
    }
}

// The DecodedSize a compress stores: the old one while the data past it is what the old stream
// decodes there (the decoder's overshoot, which a decompress saves), edits before it or not;
// the input's length for anything else.
TEST(RomLzhPage, CompressKeepsTheDecodedSizeTheGameExpects) {
    // Eight letters as they come, then copies of up to 60 bytes of them: one entry of
    // DecodedSize 10 whose stream holds 320 bytes. The decoder stops at the end of the copy
    // that holds byte 10.
    Bytes data;
    for (int k = 0; k < 40; ++k) data.insert(data.end(), {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'});
    const Bytes packed = LzhEncode(data);
    Bytes rom = Pattern(T + 0xE + packed.size() + 0x10, 0x33);
    Put32(rom, T + 2, 0xE);
    Put32(rom, T + 6, 10);
    Put32(rom, T + 10, uint32_t(packed.size()));
    Put(rom, T + 0xE, packed);
    const Bytes extracted = LzhExtractEntry(Image(rom), T, 0).data;
    ASSERT_GT(extracted.size(), 11u);
    ASSERT_LT(extracted.size(), data.size());

    Bytes editedInside = extracted, editedPast = extracted, longer = extracted;
    editedInside[2] ^= 0xFF;
    editedPast.back() ^= 0xFF;
    longer.push_back(0);
    const std::tuple<const char*, Bytes, uint32_t> cases[] = {
        {"unedited", extracted, 10},
        {"edited inside", editedInside, 10},
        {"no overshoot", Slice(extracted, 0, 10), 10},
        {"a shorter piece of the overshoot", Slice(extracted, 0, 11), 10},
        {"shorter than before", Slice(extracted, 0, 3), 3},
        {"edited past DecodedSize", editedPast, uint32_t(editedPast.size())},
        {"longer than the overshoot", longer, uint32_t(longer.size())},
    };
    for (const auto& [name, input, decodedSize] : cases) {
        const LzhInsertPlan plan = PlanLzhInsert(Image(rom), input, T, 0);
        EXPECT_EQ(plan.decodedSize, decodedSize) << name;
        const Bytes image = ApplyLzhInsert(plan, Image(rom));
        EXPECT_EQ(LoadBigEndian32(&image[T + 6]), decodedSize) << name;
        // What the game reads is the input's first DecodedSize bytes, and a round trip holds.
        const Bytes back = LzhExtractEntry(Image(image), T, 0).data;
        ASSERT_GE(back.size(), decodedSize) << name;
        EXPECT_EQ(Slice(back, 0, decodedSize), Slice(input, 0, decodedSize)) << name;
        EXPECT_EQ(PlanLzhInsert(Image(image), back, T, 0).decodedSize, decodedSize) << name;
    }
    // An old stream that does not decode (a DecodedSize over the limit) keeps nothing.
    Put32(rom, T + 6, MAX_DECODED_SIZE + 1);
    EXPECT_EQ(PlanLzhInsert(Image(rom), extracted, T, 0).decodedSize, extracted.size());
}

// From files: the input is read first, missing files are reported and never created, and the
// ROM is replaced with its old image kept beside it.
TEST(RomLzhPage, FromFiles) {
    TempDir dir;
    const std::string rom = dir.File("tf3.bin"), input = dir.File("20000_1.bin");
    const std::string missing = dir.File("missing.bin");
    WriteBytes(rom, ThreeEntryRom());
    WriteBytes(input, InputPackingTo(0xF0));
    EXPECT_THROW(PlanLzhInsert(missing, input, T, 0), FileError);
    EXPECT_FALSE(FileExists(missing));
    EXPECT_THROW(PlanLzhInsert(rom, missing, T, 0), FileError);

    const LzhInsertPlan plan = PlanLzhInsert(rom, input, T, 1);
    EXPECT_EQ(ReadBytes(rom), ThreeEntryRom());
    const RomChange change = ApplyLzhInsert(plan, rom);
    EXPECT_TRUE(change.written);
    EXPECT_EQ(ReadBytes(rom), ApplyLzhInsert(plan, Image(ThreeEntryRom())));
    EXPECT_EQ(ReadBytes(change.backupPath), ThreeEntryRom());
    std::filesystem::remove(rom);
    EXPECT_THROW(ApplyLzhInsert(plan, rom), FileError);
    EXPECT_FALSE(FileExists(rom));
}

} // namespace
} // namespace drovak
