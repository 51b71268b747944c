// The LZH page's compress over a ROM image in memory: a small valid image (a pointer table and
// its entries' streams, perhaps a header with a right checksum) is changed in a few places as the
// fuzzer says, and the fuzzer's remaining bytes are compressed into one entry. The plan refuses,
// or its new image holds the input in that entry, every other entry that decoded before decodes
// as before, the table keeps its length, a right checksum stays right (unless the table or its
// data lies on it), and nothing changed outside the table fields, the new data, the moved data and
// the checksum.
#include "base/Errors.h"
#include "base/Stream.h"
#include "compression/Lzh.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzRom.h"
#include "rom/HeaderChecksum.h"
#include "rom/LzhPage.h"
#include "rom/PointerTable.h"
#include "rom/RomLayout.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace {

using drovak::TableEntry;

constexpr uint32_t MAX_CHECKED_SIZE = 64 * 1024; // entries decoded to compare, at most
constexpr uint32_t MAX_CHECKED_ENTRIES = 40;

struct Made {
    std::vector<uint8_t> image;
    std::vector<size_t> fields; // where the table's 32-bit fields lie
};

Made MakeImage(FuzzedDataProvider& in, uint32_t table) {
    const uint32_t count = in.ConsumeIntegralInRange<uint32_t>(1, 8);
    Made made;
    made.image.assign(table + drovak::TABLE_LEADING_WORD_SIZE, 0);
    uint32_t offset = drovak::TABLE_LEADING_WORD_SIZE + drovak::TABLE_ENTRY_SIZE * count;
    std::vector<uint8_t> streams;
    for (uint32_t k = 0; k < count; ++k) {
        const std::vector<uint8_t> content = drovak::fuzz::Content(
            in.ConsumeIntegralInRange<size_t>(0, 300), in.ConsumeIntegral<uint8_t>(), k);
        const std::vector<uint8_t> packed = drovak::LzhEncode(content);
        made.image.resize(drovak::EntryPosition(table, k + 1), 0);
        uint8_t* field = &made.image[drovak::EntryPosition(table, k)];
        drovak::StoreBigEndian32(field, offset);
        drovak::StoreBigEndian32(field + 4, uint32_t(content.size()));
        drovak::StoreBigEndian32(field + 8, uint32_t(packed.size()));
        for (size_t f = 0; f < 3; ++f)
            made.fields.push_back(drovak::EntryPosition(table, k) + 4 * f);
        streams.insert(streams.end(), packed.begin(), packed.end());
        offset += uint32_t(packed.size());
    }
    made.image.insert(made.image.end(), streams.begin(), streams.end());
    // What lies after the table's data: blank, or not.
    const std::vector<uint8_t> tail = drovak::fuzz::Content(
        in.ConsumeIntegralInRange<size_t>(0, 96), in.ConsumeIntegral<uint8_t>(), 99);
    made.image.insert(made.image.end(), tail.begin(), tail.end());
    if (in.ConsumeBool()) {
        made.image.resize(std::max<size_t>(made.image.size(), 0x210), 0xFF);
        drovak::StoreChecksum(made.image);
    }
    return made;
}

// The decoded data of a stream followed by `after` bytes of `fill`.
std::vector<uint8_t> DecodeAlone(const std::vector<uint8_t>& stream, uint32_t decodedSize,
                                 uint8_t fill) {
    std::vector<uint8_t> bytes = stream;
    bytes.resize(stream.size() + 2 * size_t(decodedSize) + 16, fill);
    return drovak::LzhDecode(bytes, decodedSize, "alone").bytes;
}

// Entry k's data, when it decodes from its PackedSize bytes alone (not from what follows them),
// is small enough to compare.
std::optional<std::vector<uint8_t>> SelfContained(const drovak::RomBytes& rom, uint32_t table,
                                                  uint32_t k) {
    try {
        drovak::ViewStream stream(rom.bytes, rom.name);
        const TableEntry entry = drovak::ReadTableEntry(stream, table, k);
        if (entry.DecodedSize > MAX_CHECKED_SIZE) return std::nullopt;
        const drovak::LzhExtractResult inPlace = drovak::LzhExtractEntry(rom, table, k);
        // Where the extraction reads it: the position is counted in 32 bits, as the pages do.
        const uint64_t at = uint32_t(table + entry.DataOffset);
        if (entry.DecodedSize > 0 && at + entry.PackedSize <= rom.bytes.size()) {
            const std::vector<uint8_t> stream(rom.bytes.begin() + long(at),
                                              rom.bytes.begin() + long(at + entry.PackedSize));
            if (DecodeAlone(stream, entry.DecodedSize, 0x00) != inPlace.data ||
                DecodeAlone(stream, entry.DecodedSize, 0xFF) != inPlace.data)
                return std::nullopt;
        }
        return inPlace.data;
    } catch (const drovak::DrovakError&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const uint32_t table = in.ConsumeIntegralInRange<uint32_t>(0, 0x300);
    Made made = MakeImage(in, table);
    drovak::fuzz::Mutate(in, made.image, made.fields);
    const uint32_t index = in.ConsumeIntegralInRange<uint32_t>(0, 8);
    const std::vector<uint8_t> input = in.ConsumeRemainingBytes<uint8_t>();
    const drovak::RomBytes rom{"rom", made.image};

    std::map<uint32_t, std::vector<uint8_t>> before;
    std::map<uint32_t, TableEntry> fieldsBefore;
    for (uint32_t k = 0; k < MAX_CHECKED_ENTRIES; ++k) {
        if (auto decoded = SelfContained(rom, table, k)) before[k] = *decoded;
        try {
            drovak::ViewStream stream(rom.bytes, rom.name);
            fieldsBefore[k] = drovak::ReadTableEntry(stream, table, k);
        } catch (const drovak::DrovakError&) {
        }
    }

    drovak::LzhInsertPlan plan;
    try {
        plan = drovak::PlanLzhInsert(rom, input, table, index);
    } catch (const drovak::DrovakError&) {
        return 0; // refused: nothing is written
    }
    std::vector<uint8_t> image = drovak::ApplyLzhInsert(plan, rom);
    drovak::KeepChecksum(rom.bytes, image, plan.dataOnChecksum);
    // A right checksum stays right, unless the table or its data lies on it and keeps its bytes.
    const bool checksumKept =
        drovak::CheckChecksum(rom.bytes) == drovak::ChecksumState::Right && !plan.dataOnChecksum;
    const drovak::RomBytes after{"after", image};

    FUZZ_CHECK(image.size() == plan.newFileSize);
    FUZZ_CHECK(plan.needsConfirmation || image.size() == rom.bytes.size());
    if (checksumKept) FUZZ_CHECK(drovak::CheckChecksum(image) == drovak::ChecksumState::Right);
    drovak::ViewStream stream(image, "after");
    FUZZ_CHECK(drovak::EntryCount(stream, table) == plan.entryCount);

    // The entry holds the input, and says so: its length, or the old DecodedSize when the input
    // is longer only by what the old data decoded past it (then the decoder stops within the
    // input, past that size).
    const drovak::LzhExtractResult entry = drovak::LzhExtractEntry(after, table, index);
    FUZZ_CHECK(entry.entry.DecodedSize == plan.decodedSize);
    if (plan.decodedSize == input.size()) {
        FUZZ_CHECK(entry.data == input);
    } else {
        FUZZ_CHECK(plan.decodedSize == plan.oldEntries[0].DecodedSize);
        FUZZ_CHECK(plan.decodedSize < input.size());
        FUZZ_CHECK(entry.data.size() >= plan.decodedSize && entry.data.size() <= input.size());
        FUZZ_CHECK(std::equal(entry.data.begin(), entry.data.end(), input.begin()));
    }

    // Every other entry is as it was: the same fields below the entry, the same data all along.
    for (uint32_t k = 0; k < plan.entryCount && k < MAX_CHECKED_ENTRIES; ++k) {
        if (k == index) continue;
        if (k < index) FUZZ_CHECK(drovak::ReadTableEntry(stream, table, k) == fieldsBefore.at(k));
        if (!before.count(k)) continue;
        FUZZ_CHECK(drovak::LzhExtractEntry(after, table, k).data == before.at(k));
    }

    drovak::fuzz::Ranges planned;
    for (uint32_t k = 0; k < plan.newEntries.size(); ++k)
        planned.Add(drovak::EntryPosition(table, index + k), drovak::TABLE_ENTRY_SIZE);
    planned.Add(drovak::DataPosition(table, plan.newEntries[0]), plan.newSize);
    for (const drovak::DataMove& move : plan.moves) planned.Add(move.to, move.size);
    if (checksumKept) planned.Add(drovak::HEADER_CHECKSUM_OFFSET, 2);
    FUZZ_CHECK(planned.OnlyTheseChanged(rom.bytes, image));
    return 0;
}
