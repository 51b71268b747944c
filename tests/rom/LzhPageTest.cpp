#include "rom/LzhPage.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "compression/Lzh.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <tuple>

namespace drovak {
namespace {

using namespace test;

constexpr uint32_t T = 0x400;

Bytes Packed(const Bytes& input) {
    MemoryStream source(input), packed;
    LzhEncode(source, packed, uint32_t(input.size()));
    return packed.Take();
}

// Random bytes whose LZH stream is exactly `size` bytes long (found once per size).
Bytes InputPackingTo(uint32_t size) {
    static std::map<uint32_t, Bytes> found;
    Bytes& input = found[size];
    std::mt19937 random(size);
    while (Packed(input).size() != size && input.size() < 4 * size)
        input.push_back(uint8_t(random()));
    EXPECT_EQ(Packed(input).size(), size);
    return input;
}

// The table of three entries at T: data at T + 0x26, 0x126 and 0x226, 0x100 bytes each, with
// DecodedSize 0x1111, 0x2222, 0x3333; pattern bytes all around, 0x40 of them after the data.
Bytes ThreeEntryRom() {
    Bytes rom = Pattern(T + 0x366, 0x5A);
    for (uint32_t k = 0; k < 3; ++k) {
        Put32(rom, T + 2 + 12 * k, 0x26 + 0x100 * k);
        Put32(rom, T + 6 + 12 * k, 0x1111 * (k + 1));
        Put32(rom, T + 10 + 12 * k, 0x100);
    }
    return rom;
}

class RomLzhPage : public ::testing::Test {
protected:
    TempDir dir;
    std::string rom = dir.File("tf3.bin");
    std::string input = dir.File("20000_1.bin");

    LzhInsertPlan Plan(const Bytes& image, const Bytes& data, uint32_t index) {
        WriteBytes(rom, image);
        WriteBytes(input, data);
        return PlanLzhInsert(rom, input, T, index);
    }
};

// Growth asks first (No leaves the file alone); the entries after the index move by the size
// change and only their DataOffsets, the PackedSize and the stream itself change. A shrink
// leaves the old bytes after the last entry's moved data (0x10 of them at T + 0x316). An index
// beyond the table writes nothing, but still asks when there is data.
TEST_F(RomLzhPage, InsertMovesTheFollowingEntries) {
    const std::tuple<uint32_t, uint32_t, bool> cases[] = {
        {1, 0x130, true}, {1, 0xF0, false}, {1, 0x100, false}, {1, 0, false},
        {0, 0x130, true}, {0, 0xF0, false}, {3, 0x40, true},   {3, 0, false}};
    for (const auto& [index, newSize, asks] : cases) {
        SCOPED_TRACE(testing::Message() << index << " " << newSize);
        const Bytes before = ThreeEntryRom(), data = newSize ? InputPackingTo(newSize) : Bytes{};
        LzhInsertPlan plan = Plan(before, data, index);
        EXPECT_EQ(plan.needsConfirmation, asks);
        EXPECT_EQ(plan.writesNothing(), index == 3);
        EXPECT_EQ(ReadBytes(rom), before);

        ApplyLzhInsert(plan);
        Bytes expected = before;
        for (uint32_t k = index + 1; k < 3; ++k) {
            uint32_t moved = 0x26 + 0x100 * k + newSize - 0x100;
            Put(expected, T + moved, Slice(before, T + 0x26 + 0x100 * k, 0x100));
            Put32(expected, T + 2 + 12 * k, moved);
        }
        if (index < 3)
            Put32(Put(expected, T + 0x26 + 0x100 * index, plan.packed), T + 10 + 12 * index,
                  newSize);
        EXPECT_EQ(ReadBytes(rom), expected);
        if (data.empty() || index == 3) continue;
        EXPECT_EQ(Slice(LzhExtractEntry(rom, T, index).data, 0, data.size()), data);
    }
}

TEST_F(RomLzhPage, ExtractReadsTheIndexedEntryOrRefuses) {
    // Index 0x10 has its fields at T + 0xC2, 0xC6 and 0xCA; it is not compared with the count.
    Bytes image = ThreeEntryRom();
    Put(image, T + 0xC2, Slice(image, T + 0x1A, 12)); // entry 2's fields
    WriteBytes(rom, image);
    EXPECT_EQ(LzhExtractEntry(rom, T, 0x10).entry, (TableEntry{0x226, 0x3333, 0x100}));
    EXPECT_EQ(LzhExtractEntry(rom, T, 0x10).data, LzhExtractEntry(rom, T, 2).data);

    image = ThreeEntryRom();
    Put32(image, T + 10 + 24, 0x1000); // entry 2's data runs past the end
    WriteBytes(rom, image);
    EXPECT_THROW(LzhExtractEntry(rom, T, 2), FileError);
    EXPECT_THROW(LzhExtractEntry(rom, T, 0x100), FileError); // fields past the end
    EXPECT_THROW(LzhExtractEntry(dir.File("none.bin"), T, 0), FileError);
    Put32(image, T + 6, MAX_DECODED_SIZE + 1);
    WriteBytes(rom, image);
    EXPECT_THROW(LzhExtractEntry(rom, T, 0), RefusedError);
}

TEST_F(RomLzhPage, RefusalsNameTheRomAndWriteNothing) {
    const std::tuple<const char*, uint32_t, uint32_t, uint32_t, bool> cases[] = {
        // name, field at T changed first, its new value, index, a FileError (else refused)
        {"index 32", 2, 0x26, 0x20, false},
        {"more than 32 entries", 2, 0x18E, 1, false},
        {"first offset below 2", 2, 1, 1, false},
        {"moved entry past the end", 10 + 24, 0x1000, 1, true},
        {"table cut short", 0x1E, 0, 1, true}, // and the file cut there
    };
    for (const auto& [name, field, value, index, fileError] : cases) {
        Bytes image = ThreeEntryRom();
        Put32(image, T + field, value);
        if (field == 0x1E) image.resize(T + 0x1E);
        // A structured binding is captured by copy into a name of its own (Clang before 16
        // captures no structured binding).
        auto insert = [&, index = index] {
            ApplyLzhInsert(Plan(image, InputPackingTo(0x130), index));
        };
        std::string error =
            fileError ? MessageOf<FileError>(insert) : MessageOf<RefusedError>(insert);
        EXPECT_NE(error.find(rom), std::string::npos) << name << ": " << error;
        EXPECT_EQ(ReadBytes(rom), image) << name;
    }

    // The table changed after the plan: nothing is written.
    LzhInsertPlan plan = Plan(ThreeEntryRom(), InputPackingTo(0x130), 1);
    Bytes changed = ThreeEntryRom();
    Put32(changed, T + 10 + 24, 0x80);
    WriteBytes(rom, changed);
    EXPECT_THROW(ApplyLzhInsert(plan), RefusedError);
    EXPECT_EQ(ReadBytes(rom), changed);

    // Missing files are reported and never created.
    std::string missing = dir.File("missing.bin");
    EXPECT_THROW(PlanLzhInsert(missing, input, T, 0), FileError);
    EXPECT_FALSE(FileExists(missing));
    EXPECT_THROW(PlanLzhInsert(rom, missing, T, 0), FileError);
}

} // namespace
} // namespace drovak
