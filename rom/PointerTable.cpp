#include "rom/PointerTable.h"

namespace drovak {

uint32_t EntryCount(Stream& s, uint32_t table) {
    s.Seek(EntryPosition(table, 0), SeekOrigin::Begin);
    return (s.ReadBigEndian32() - TABLE_LEADING_WORD_SIZE) / TABLE_ENTRY_SIZE;
}

TableEntry ReadTableEntry(Stream& s, uint32_t table, uint32_t index) {
    uint32_t at = EntryPosition(table, index);
    TableEntry entry;
    s.Seek(at, SeekOrigin::Begin);
    entry.DataOffset = s.ReadBigEndian32();
    s.Seek(uint32_t(at + 4), SeekOrigin::Begin);
    entry.DecodedSize = s.ReadBigEndian32();
    s.Seek(uint32_t(at + 8), SeekOrigin::Begin);
    entry.PackedSize = s.ReadBigEndian32();
    return entry;
}

void WriteTableEntry(Stream& s, uint32_t table, uint32_t index, const TableEntry& entry) {
    uint32_t at = EntryPosition(table, index);
    s.Seek(at, SeekOrigin::Begin);
    s.WriteBigEndian32(entry.DataOffset);
    s.Seek(uint32_t(at + 4), SeekOrigin::Begin);
    s.WriteBigEndian32(entry.DecodedSize);
    s.Seek(uint32_t(at + 8), SeekOrigin::Begin);
    s.WriteBigEndian32(entry.PackedSize);
}

} // namespace drovak
