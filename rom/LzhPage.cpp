#include "rom/LzhPage.h"
#include "rom/HeaderChecksum.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "compression/Lzh.h"
#include "rom/DataFile.h"
#include "rom/LzhDecodedSize.h"

#include <algorithm>

namespace drovak {

std::string SuggestedLzhFileName(const std::string& romPath, const std::string& offsetText,
                                 const std::string& indexText) {
    return FolderPart(romPath) + offsetText + "_" + indexText + ".bin";
}

namespace {

std::string EntryName(uint32_t table, uint32_t index) {
    return "entry " + HexText(index) + " of the table at " + HexText(table);
}

// An entry's stream must lie in the file: bytes past its end were never there to be read. The
// stream's position is counted without wrapping around 32 bits.
void CheckDataInFile(const Stream& rom, uint32_t table, uint32_t index, uint64_t at,
                     uint32_t size) {
    if (at + size > rom.Size()) {
        throw FileError(rom.Name() + ": too short: the data of " + EntryName(table, index) + " (" +
                        std::to_string(size) + " bytes at " + HexText(at) +
                        ") runs past the end of the file at " + HexText(rom.Size()) +
                        "; nothing was written");
    }
}

// The stream made from the input, checked to decode back to it.
std::vector<uint8_t> PackChecked(const std::string& romName, const std::vector<uint8_t>& input) {
    CheckDataSize(romName, input.size());
    const uint32_t inputSize = uint32_t(input.size());
    std::vector<uint8_t> packed = LzhEncode(input);
    const std::vector<uint8_t> decoded = LzhDecode(packed, inputSize).bytes;
    if (decoded.size() < inputSize || !std::equal(input.begin(), input.end(), decoded.begin())) {
        throw RefusedError(romName + ": the LZH stream made from the new data does not decode "
                                     "back to it; nothing was written");
    }
    return packed;
}

// The refusal of an index the table does not hold.
RefusedError BeyondTheTable(const std::string& romName, uint32_t table, uint32_t index,
                            uint32_t count) {
    return RefusedError(romName + ": entry " + HexText(index) + " is beyond the table at " +
                        HexText(table) + ", which has " + std::to_string(count) +
                        " entries; nothing was read or written");
}

// The number of entries of the table, refused beyond the 32 a compress can recalculate or when
// the index lies beyond it.
uint32_t CheckedEntryCount(Stream& rom, uint32_t table, uint32_t index) {
    rom.Seek(EntryPosition(table, 0), SeekOrigin::Begin);
    const uint32_t firstOffset = rom.ReadBigEndian32();
    if (firstOffset < TABLE_LEADING_WORD_SIZE) {
        throw RefusedError(rom.Name() + ": the table at " + HexText(table) +
                           " is not a table: its first data offset " + HexText(firstOffset) +
                           " lies inside its leading word; nothing was written");
    }
    const uint32_t count = EntryCount(rom, table);
    if (count > WORK_TABLE_CAPACITY) {
        throw RefusedError(rom.Name() + ": the table at " + HexText(table) + " has " +
                           std::to_string(count) + " entries (first data offset " +
                           HexText(firstOffset) +
                           "); a compress can recalculate at most 32; nothing was written");
    }
    if (index >= count) throw BeyondTheTable(rom.Name(), table, index, count);
    return count;
}

uint64_t DataEnd(uint32_t table, const TableEntry& entry) {
    return uint64_t(table) + entry.DataOffset + entry.PackedSize;
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
struct Piece {
    std::string what;
    uint64_t at = 0;
    uint64_t size = 0;
    bool moved = false;
};

bool Overlap(const Piece& a, const Piece& b) {
    return a.size > 0 && b.size > 0 && a.at < b.at + b.size && b.at < a.at + a.size;
}

// What the plan writes may not land on the table's fields or on the data of another entry as the
// plan leaves it (moved or not), and the fields it rewrites may not lie in any entry's data: the
// table or those entries would no longer decode. (A table whose data lies after it in entry
// order never does this.) Notes whether any of it lies on the header checksum's bytes.
void PlaceData(const RomBytes& rom, LzhInsertPlan& plan) {
    const std::string entry = EntryName(plan.table, plan.index);
    const Piece fresh{"the new data of " + entry,
                      uint64_t(plan.table) + plan.newEntries[0].DataOffset, plan.newSize};
    const Piece fields{"the new fields of " + entry + " and the entries after it",
                       EntryPosition(plan.table, plan.index),
                       uint64_t(TABLE_ENTRY_SIZE) * plan.newEntries.size()};
    const Piece table{"the table's fields", EntryPosition(plan.table, 0),
                      uint64_t(TABLE_ENTRY_SIZE) * plan.entryCount};
    ViewStream stream(rom.bytes, rom.name);
    std::vector<Piece> others;
    for (uint32_t k = 0; k < plan.entryCount; ++k) {
        if (k == plan.index) continue;
        const bool moved = k > plan.index && plan.newSize != plan.oldSize;
        const TableEntry data = k < plan.index ? ReadTableEntry(stream, plan.table, k)
                                               : plan.newEntries[k - plan.index];
        others.push_back({(moved ? "the moved data of " : "the data of ") +
                              EntryName(plan.table, k) + (moved ? "" : ", which stays where it is"),
                          uint64_t(plan.table) + data.DataOffset, data.PackedSize, moved});
    }
    const auto refuse = [&rom](const Piece& writer, const Piece& overwritten) {
        throw RefusedError(rom.name + ": " + writer.what + " (" + std::to_string(writer.size) +
                           " bytes at " + HexText(writer.at) + ") would overwrite " +
                           overwritten.what + "; nothing was written");
    };
    const auto onChecksum = [](const Piece& piece) { return CoversChecksum(piece.at, piece.size); };
    plan.dataOnChecksum = onChecksum(fresh) || onChecksum(table);
    if (Overlap(fresh, table)) refuse(fresh, table);
    for (const Piece& other : others) {
        plan.dataOnChecksum = plan.dataOnChecksum || onChecksum(other);
        if (other.moved && Overlap(other, table)) refuse(other, table);
        if (Overlap(fresh, other)) other.moved ? refuse(other, fresh) : refuse(fresh, other);
        if (Overlap(fields, other)) refuse(fields, other);
        for (const Piece& stays : others) {
            if (other.moved && !stays.moved && Overlap(other, stays)) refuse(other, stays);
        }
    }
}

} // namespace

LzhExtractResult LzhExtractEntry(Stream& rom, uint32_t table, uint32_t index) {
    // What lies past the table's entries is no entry: its "fields" would be other data.
    const uint32_t count = EntryCount(rom, table);
    if (index >= count) throw BeyondTheTable(rom.Name(), table, index, count);
    LzhExtractResult result;
    result.entry = ReadTableEntry(rom, table, index);
    const uint32_t at = table + result.entry.DataOffset;
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
        CheckDataInFile(stream, table, k, uint64_t(table) + entry.DataOffset, entry.PackedSize);
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
        plan.moves.push_back({index + uint32_t(k), table + plan.oldEntries[k].DataOffset,
                              table + plan.newEntries[k].DataOffset,
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
        throw RefusedError(rom.name + ": changed since it was read (now " +
                           std::to_string(rom.bytes.size()) + " bytes, then " +
                           std::to_string(plan.fileSize) + "); nothing was written");
    }
    ViewStream stream(rom.bytes, rom.name);
    const bool sameCount = EntryCount(stream, plan.table) == plan.entryCount;
    for (uint32_t k = 0; k < plan.oldEntries.size(); ++k) {
        if (!sameCount ||
            ReadTableEntry(stream, plan.table, plan.index + k) != plan.oldEntries[k]) {
            throw RefusedError(rom.name + ": " + EntryName(plan.table, plan.index + k) +
                               " changed since it was read; nothing was written");
        }
    }

    std::vector<uint8_t> image = rom.bytes;
    image.resize(size_t(plan.newFileSize), 0);
    for (const DataMove& move : plan.moves) {
        std::copy_n(rom.bytes.begin() + move.from, move.size, image.begin() + move.to);
    }
    std::copy(plan.packed.begin(), plan.packed.end(),
              image.begin() + uint32_t(plan.table + plan.newEntries[0].DataOffset));
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

std::optional<std::string> LzhEntryProblem(uint64_t fileSize, uint32_t table,
                                           const TableEntry& entry) {
    if (entry.DecodedSize > MAX_DECODED_SIZE) return "decoded size over the limit";
    if (entry.DecodedSize > 0 &&
        uint64_t(uint32_t(table + entry.DataOffset)) + entry.PackedSize > fileSize) {
        return "data past the end of the file";
    }
    return std::nullopt;
}

} // namespace drovak
