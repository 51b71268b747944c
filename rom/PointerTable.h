#pragma once

#include "base/Stream.h"

#include <cstdint>

namespace drovak {

// One entry of a pointer table: where its LZHUF stream begins (counted from the table), its
// length after decoding, and the stream's length in bytes.
struct TableEntry {
    uint32_t DataOffset = 0;
    uint32_t DecodedSize = 0;
    uint32_t PackedSize = 0;
    bool operator==(const TableEntry&) const = default;
};

constexpr uint32_t TABLE_LEADING_WORD_SIZE = 2;
constexpr uint32_t TABLE_ENTRY_SIZE = 12;
constexpr uint32_t WORK_TABLE_CAPACITY = 32;

// Position of entry i's DataOffset field (DecodedSize at +4, PackedSize at +8); 32-bit wrap.
constexpr uint32_t EntryPosition(uint32_t table, uint32_t index) {
    return table + TABLE_LEADING_WORD_SIZE + TABLE_ENTRY_SIZE * index;
}

// Where an entry's stream begins in the image: table + DataOffset in unsigned 32-bit arithmetic
// (the 68000's address arithmetic), the one reading of the two fields everywhere, so that what
// one operation finds another finds too.
constexpr uint32_t DataPosition(uint32_t table, const TableEntry& entry) {
    return table + entry.DataOffset;
}

// (DataOffset of entry 0 - 2) / 12 in unsigned 32-bit arithmetic. RomShortFile when short.
uint32_t EntryCount(Stream& s, uint32_t table);
// Reads the three fields (RomShortFile naming the stream and position when short).
TableEntry ReadTableEntry(Stream& s, uint32_t table, uint32_t index);
// Writes DataOffset, DecodedSize and PackedSize, in this order, big-endian.
void WriteTableEntry(Stream& s, uint32_t table, uint32_t index, const TableEntry& entry);

} // namespace drovak
