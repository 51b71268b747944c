#include "rom/LzhPage.h"
#include "rom/HeaderChecksum.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "compression/Lzh.h"
#include "rom/DataFile.h"
#include "rom/LzhDecodedSize.h"
#include "rom/RomProblem.h"

#include <algorithm>

namespace drovak {

std::string SuggestedLzhFileName(const std::string& romPath, const std::string& offsetText,
                                 const std::string& indexText) {
    return FolderPart(romPath) + offsetText + "_" + indexText + ".bin";
}

namespace {

// An entry's stream must lie in the file: bytes past its end were never there to be read. The
// stream's position is counted without wrapping around 32 bits.
void CheckDataInFile(const Stream& rom, uint32_t table, uint32_t index, uint64_t at,
                     uint32_t size) {
    if (at + size > rom.Size()) {
        RomProblem problem{RomProblemKind::EntryDataPastEnd, rom.Name(), table, index};
        problem.at = at;
        problem.size = size;
        problem.fileSize = rom.Size();
        ThrowRomProblem(problem);
    }
}

// The stream made from the input, checked to decode back to it.
std::vector<uint8_t> PackChecked(const std::string& romName, const std::vector<uint8_t>& input) {
    CheckDataSize(romName, input.size());
    const uint32_t inputSize = uint32_t(input.size());
    std::vector<uint8_t> packed = LzhEncode(input);
    const std::vector<uint8_t> decoded = LzhDecode(packed, inputSize).bytes;
    if (decoded.size() < inputSize || !std::equal(input.begin(), input.end(), decoded.begin())) {
        ThrowRomProblem({RomProblemKind::LzhNotDecodedBack, romName});
    }
    return packed;
}

// The refusal of an index the table does not hold.
[[noreturn]] void BeyondTheTable(const std::string& romName, uint32_t table, uint32_t index,
                                 uint32_t count) {
    ThrowRomProblem({RomProblemKind::EntryBeyondTable, romName, table, index, count});
}

// The number of entries of the table, refused beyond the 32 a compress can recalculate or when
// the index lies beyond it.
uint32_t CheckedEntryCount(Stream& rom, uint32_t table, uint32_t index) {
    rom.Seek(EntryPosition(table, 0), SeekOrigin::Begin);
    const uint32_t firstOffset = rom.ReadBigEndian32();
    if (firstOffset < TABLE_LEADING_WORD_SIZE) {
        RomProblem problem{RomProblemKind::NotATable, rom.Name(), table};
        problem.value = firstOffset;
        ThrowRomProblem(problem);
    }
    const uint32_t count = EntryCount(rom, table);
    if (count > WORK_TABLE_CAPACITY) {
        RomProblem problem{RomProblemKind::TooManyEntries, rom.Name(), table};
        problem.count = count;
        problem.value = firstOffset;
        ThrowRomProblem(problem);
    }
    if (index >= count) BeyondTheTable(rom.Name(), table, index, count);
    return count;
}

uint64_t DataEnd(uint32_t table, const TableEntry& entry) {
    return uint64_t(DataPosition(table, entry)) + entry.PackedSize;
}

// What the grown data overwrites after the table's data.
void NoteTail(const RomBytes& rom, LzhInsertPlan& plan) {
    for (const TableEntry& entry : plan.oldEntries) {
        plan.tailStart = std::max(plan.tailStart, DataEnd(plan.table, entry));
    }
    if (!plan.needsConfirmation) return;
    const uint64_t end =
        std::min<uint64_t>(plan.tailStart + (plan.newSize - plan.oldSize), rom.bytes.size());
    for (uint64_t at = plan.tailStart; at < end; ++at) {
        ++plan.tailOverwritten;
        if (rom.bytes[at] != 0x00 && rom.bytes[at] != 0xFF) ++plan.tailNotBlank;
    }
}

// A piece of the image as a plan leaves it: the new stream, the rewritten fields, the table's
// fields, or the data of another entry where it ends up.
using Piece = DataPiece;

bool Overlap(const Piece& a, const Piece& b) {
    return a.size > 0 && b.size > 0 && a.at < b.at + b.size && b.at < a.at + a.size;
}

// What the plan writes may not land on the table's fields or on the data of another entry as the
// plan leaves it (moved or not), and the fields it rewrites may not lie in any entry's data: the
// table or those entries would no longer decode. (A table whose data lies after it in entry
// order never does this.) Notes whether any of it lies on the header checksum's bytes.
void PlaceData(const RomBytes& rom, LzhInsertPlan& plan) {
    const Piece fresh{PieceKind::NewData, plan.index, DataPosition(plan.table, plan.newEntries[0]),
                      plan.newSize};
    const Piece fields{PieceKind::NewFields, plan.index, EntryPosition(plan.table, plan.index),
                       uint64_t(TABLE_ENTRY_SIZE) * plan.newEntries.size()};
    const Piece table{PieceKind::TableFields, 0, EntryPosition(plan.table, 0),
                      uint64_t(TABLE_ENTRY_SIZE) * plan.entryCount};
    ViewStream stream(rom.bytes, rom.name);
    std::vector<Piece> others;
    for (uint32_t k = 0; k < plan.entryCount; ++k) {
        if (k == plan.index) continue;
        const bool moved = k > plan.index && plan.newSize != plan.oldSize;
        const TableEntry data = k < plan.index ? ReadTableEntry(stream, plan.table, k)
                                               : plan.newEntries[k - plan.index];
        others.push_back({moved ? PieceKind::MovedData : PieceKind::StayingData, k,
                          DataPosition(plan.table, data), data.PackedSize});
    }
    const auto refuse = [&rom, &plan](const Piece& writer, const Piece& overwritten) {
        RomProblem problem{RomProblemKind::Overwrite, rom.name, plan.table};
        problem.writer = writer;
        problem.overwritten = overwritten;
        ThrowRomProblem(problem);
    };
    const auto moved = [](const Piece& piece) { return piece.kind == PieceKind::MovedData; };
    const auto onChecksum = [](const Piece& piece) { return CoversChecksum(piece.at, piece.size); };
    // The table's leading word is the table's too: a table at 0x18E lies on the checksum.
    plan.dataOnChecksum = onChecksum(fresh) || onChecksum(table) ||
                          CoversChecksum(plan.table, TABLE_LEADING_WORD_SIZE);
    if (Overlap(fresh, table)) refuse(fresh, table);
    for (const Piece& other : others) {
        plan.dataOnChecksum = plan.dataOnChecksum || onChecksum(other);
        if (moved(other) && Overlap(other, table)) refuse(other, table);
        if (Overlap(fresh, other)) moved(other) ? refuse(other, fresh) : refuse(fresh, other);
        if (Overlap(fields, other)) refuse(fields, other);
        for (const Piece& stays : others) {
            if (moved(other) && !moved(stays) && Overlap(other, stays)) refuse(other, stays);
        }
    }
}

} // namespace

LzhExtractResult LzhExtractEntry(Stream& rom, uint32_t table, uint32_t index) {
    // What lies past the table's entries is no entry: its "fields" would be other data.
    const uint32_t count = EntryCount(rom, table);
    if (index >= count) BeyondTheTable(rom.Name(), table, index, count);
    LzhExtractResult result;
    result.entry = ReadTableEntry(rom, table, index);
    const uint32_t at = DataPosition(table, result.entry);
    if (result.entry.DecodedSize > 0) {
        CheckDataInFile(rom, table, index, at, result.entry.PackedSize);
    }
    // A damaged entry's stream may run on past its packed size: it is read as far as it goes.
    result.data = LzhDecode(ReadRest(rom, at), result.entry.DecodedSize, rom.Name()).bytes;
    return result;
}

LzhExtractResult LzhExtractEntry(const RomBytes& rom, uint32_t table, uint32_t index) {
    ViewStream stream(rom.bytes, rom.name);
    return LzhExtractEntry(stream, table, index);
}

LzhExtractResult LzhExtractEntry(const std::string& romPath, uint32_t table, uint32_t index) {
    return LzhExtractEntry(*OpenRomRead(romPath), table, index);
}

LzhInsertPlan PlanLzhInsert(const RomBytes& rom, const std::vector<uint8_t>& input, uint32_t table,
                            uint32_t index) {
    LzhInsertPlan plan;
    plan.table = table;
    plan.index = index;
    plan.fileSize = rom.bytes.size();
    ViewStream stream(rom.bytes, rom.name);
    plan.entryCount = CheckedEntryCount(stream, table, index);
    plan.inputSize = uint32_t(input.size());
    plan.decodedSize = plan.inputSize;
    plan.emptyInput = input.empty();
    plan.packed = PackChecked(rom.name, input);
    plan.newSize = uint32_t(plan.packed.size());

    for (uint32_t k = index; k < plan.entryCount; ++k) {
        const TableEntry entry = ReadTableEntry(stream, table, k);
        CheckDataInFile(stream, table, k, DataPosition(table, entry), entry.PackedSize);
        plan.oldEntries.push_back(entry);
    }
    plan.oldSize = plan.oldEntries[0].PackedSize;
    plan.needsConfirmation = plan.newSize > plan.oldSize;

    // The following entries shift by the change in size, in 32-bit wrap-around arithmetic; a
    // shrink is a negative shift. The entry's DecodedSize follows its new data, unless that is
    // the old data with the decoder's overshoot (NewDecodedSize).
    const uint32_t delta = plan.newSize - plan.oldSize;
    plan.decodedSize = NewDecodedSize(stream, table, plan.oldEntries[0], input);
    plan.newEntries = plan.oldEntries;
    plan.newEntries[0].PackedSize = plan.newSize;
    plan.newEntries[0].DecodedSize = plan.decodedSize;
    plan.newFileSize = plan.fileSize;
    for (size_t k = 0; k < plan.newEntries.size(); ++k) {
        if (k > 0) plan.newEntries[k].DataOffset += delta;
        plan.newFileSize = std::max(plan.newFileSize, DataEnd(table, plan.newEntries[k]));
        if (k == 0 || delta == 0) continue;
        plan.moves.push_back({index + uint32_t(k), DataPosition(table, plan.oldEntries[k]),
                              DataPosition(table, plan.newEntries[k]),
                              plan.oldEntries[k].PackedSize});
    }
    CheckRomSize(rom.name, plan.newFileSize);
    // Growing, the last entry moves first; shrinking, the first.
    if (plan.needsConfirmation) std::reverse(plan.moves.begin(), plan.moves.end());
    PlaceData(rom, plan);
    NoteTail(rom, plan);
    return plan;
}

LzhInsertPlan PlanLzhInsert(const std::string& romPath, const std::string& inputPath,
                            uint32_t table, uint32_t index) {
    const std::vector<uint8_t> input = ReadDataFile(inputPath);
    return PlanLzhInsert(ReadRom(romPath), input, table, index);
}

std::vector<uint8_t> ApplyLzhInsert(const LzhInsertPlan& plan, const RomBytes& rom) {
    // The question was asked about the image the plan read: what it relies on must still hold.
    if (rom.bytes.size() != plan.fileSize) {
        RomProblem problem{RomProblemKind::ImageSizeChanged, rom.name};
        problem.fileSize = rom.bytes.size();
        problem.value = plan.fileSize;
        ThrowRomProblem(problem);
    }
    ViewStream stream(rom.bytes, rom.name);
    const bool sameCount = EntryCount(stream, plan.table) == plan.entryCount;
    for (uint32_t k = 0; k < plan.oldEntries.size(); ++k) {
        if (!sameCount ||
            ReadTableEntry(stream, plan.table, plan.index + k) != plan.oldEntries[k]) {
            ThrowRomProblem({RomProblemKind::EntryChanged, rom.name, plan.table, plan.index + k});
        }
    }

    std::vector<uint8_t> image = rom.bytes;
    image.resize(size_t(plan.newFileSize), 0);
    for (const DataMove& move : plan.moves) {
        std::copy_n(rom.bytes.begin() + move.from, move.size, image.begin() + move.to);
    }
    std::copy(plan.packed.begin(), plan.packed.end(),
              image.begin() + DataPosition(plan.table, plan.newEntries[0]));
    for (uint32_t k = 0; k < plan.newEntries.size(); ++k) {
        uint8_t* field = &image[EntryPosition(plan.table, plan.index + k)];
        StoreBigEndian32(field, plan.newEntries[k].DataOffset);
        StoreBigEndian32(field + 4, plan.newEntries[k].DecodedSize);
        StoreBigEndian32(field + 8, plan.newEntries[k].PackedSize);
    }
    return image;
}

RomChange ApplyLzhInsert(const LzhInsertPlan& plan, const std::string& romPath) {
    return ChangeRom(
        romPath, [&plan](const RomBytes& rom) { return ApplyLzhInsert(plan, rom); },
        plan.dataOnChecksum);
}

TableEntry LzhTargetEntry(const RomBytes& rom, uint32_t table, uint32_t index) {
    ViewStream stream(rom.bytes, rom.name);
    CheckedEntryCount(stream, table, index);
    return ReadTableEntry(stream, table, index);
}

std::optional<EntryProblem> LzhEntryProblem(uint64_t fileSize, uint32_t table,
                                            const TableEntry& entry) {
    if (entry.DecodedSize > MAX_DECODED_SIZE) return EntryProblem::DecodedSizeOverLimit;
    if (entry.DecodedSize > 0 &&
        uint64_t(DataPosition(table, entry)) + entry.PackedSize > fileSize) {
        return EntryProblem::DataPastEnd;
    }
    return std::nullopt;
}

} // namespace drovak
