#include "rom/PointerTable.h"

#include "rom/RomProblem.h"

namespace drovak {

namespace {

// Field `field` (0 to 2) of entry i. A table that runs past the end of the file is named with
// the file's real size, not with where the read stopped.
uint32_t ReadField(Stream& s, uint32_t table, uint32_t index, unsigned field) {
    const uint32_t at = EntryPosition(table, index) + 4 * field;
    if (uint64_t(at) + 4 > s.Size()) {
        RomProblem problem{RomProblemKind::FieldPastEnd, s.Name(), table, index};
        problem.field = field;
        problem.at = at;
        problem.fileSize = s.Size();
        ThrowRomProblem(problem);
    }
    s.Seek(at, SeekOrigin::Begin);
    return s.ReadBigEndian32();
}

} // namespace

uint32_t EntryCount(Stream& s, uint32_t table) {
    return (ReadField(s, table, 0, 0) - TABLE_LEADING_WORD_SIZE) / TABLE_ENTRY_SIZE;
}

TableEntry ReadTableEntry(Stream& s, uint32_t table, uint32_t index) {
    TableEntry entry;
    entry.DataOffset = ReadField(s, table, index, 0);
    entry.DecodedSize = ReadField(s, table, index, 1);
    entry.PackedSize = ReadField(s, table, index, 2);
    return entry;
}

void WriteTableEntry(Stream& s, uint32_t table, uint32_t index, const TableEntry& entry) {
    s.Seek(EntryPosition(table, index), SeekOrigin::Begin); // the three fields, one after another
    s.WriteBigEndian32(entry.DataOffset);
    s.WriteBigEndian32(entry.DecodedSize);
    s.WriteBigEndian32(entry.PackedSize);
}

} // namespace drovak
