#pragma once

// Why a page operation stopped, as data: what kind of problem, in which file, and the numbers
// (table, entry, positions, sizes). The words for the user are the window's and the terminal's;
// nothing was written when one is thrown.

#include "base/Errors.h"

#include <cstdint>
#include <string>
#include <utility>

namespace drovak {

enum class RomProblemKind {
    // FileError kinds (the file is too short for what it says it holds):
    FieldPastEnd,     // field `field` of entry `index` lies at `at`, past `fileSize`
    TableRunsPastEnd, // the table's `count` entries run to `at`, past `fileSize`
    EntryDataPastEnd, // entry `index`'s `size` bytes at `at` run past `fileSize`
    // RefusedError kinds:
    EntryBeyondTable,    // entry `index` of a table of `count` entries (a read or a compress)
    NotATable,           // a compress: the first data offset `value` lies in the leading word
    NoTableToList,       // a list: the first data offset lies in the leading word
    TooManyEntries,      // a compress: `count` entries (first data offset `value`), over 32
    LzhNotDecodedBack,   // the new LZH stream does not decode back to the input
    RleNotDecodedBack,   // the new RLE block does not decode back to the input
    Overwrite,           // `writer` would land on `overwritten`
    ImageSizeChanged,    // the image is now `fileSize` bytes, planned with `value`
    EntryChanged,        // entry `index` is no longer what the plan read
    RleOffsetPastEnd,    // the offset `at` is at or past the end of a file of `fileSize` bytes
    RleBlockChanged,     // the block at `at` is no longer the one the plan measured
    DataOverLimit,       // the new data's `size` bytes are more than the `value` a block may hold
    RomOverLimit,        // `size` bytes are more than the `value` a ROM image may hold
    OutputIsRom,         // a decompress's output `file` is the ROM image `other` itself
    NoBackup,            // an undo of `file`: there is no backup `other`
    BackupNotRegular,    // an undo of `file`: its backup `other` is of the kind `value` (st_mode)
    BackupIsRom,         // an undo of `file`: its backup `other` is the same file
    BackupHasOtherNames, // an undo of `file`: its backup `other` has `value` names (a hard link)
};

// A piece of the image a compress writes or keeps.
enum class PieceKind {
    NewData,     // the new data of entry `index`
    NewFields,   // the new fields of entry `index` and the entries after it
    TableFields, // the table's fields
    MovedData,   // the data of entry `index`, moved
    StayingData, // the data of entry `index`, which stays where it is
};

struct DataPiece {
    PieceKind kind = PieceKind::NewData;
    uint32_t index = 0;
    uint64_t at = 0;
    uint64_t size = 0;
};

struct RomProblem {
    RomProblem() = default;
    RomProblem(RomProblemKind kind_, std::string file_, uint32_t table_ = 0, uint32_t index_ = 0,
               uint32_t count_ = 0)
        : kind(kind_), file(std::move(file_)), table(table_), index(index_), count(count_) {}

    RomProblemKind kind = RomProblemKind::EntryBeyondTable;
    std::string file;  // the file's name as given
    std::string other; // the other file: the ROM image (OutputIsRom), the backup (undo)
    uint32_t table = 0;
    uint32_t index = 0;
    uint32_t count = 0;
    unsigned field = 0; // 0 DataOffset, 1 DecodedSize, 2 PackedSize
    uint64_t at = 0;
    uint64_t size = 0;
    uint64_t fileSize = 0;
    uint64_t value = 0;
    DataPiece writer;      // Overwrite only
    DataPiece overwritten; // Overwrite only
};

// Whether the problem is a file too short for what it holds (FileError) or a refusal.
constexpr bool IsShortFile(RomProblemKind kind) {
    return kind == RomProblemKind::FieldPastEnd || kind == RomProblemKind::TableRunsPastEnd ||
           kind == RomProblemKind::EntryDataPastEnd;
}

// What both kinds of exception carry; catch it, or find it with ProblemOf, to word it.
using RomProblemCarrier = ProblemCarrier<RomProblem>;

// what() names only the file and the kind's number: it is not for the user.
class RomShortFile : public FileError, public RomProblemCarrier {
public:
    explicit RomShortFile(RomProblem problem);
};

class RomRefusal : public RefusedError, public RomProblemCarrier {
public:
    explicit RomRefusal(RomProblem problem);
};

// Throws RomShortFile or RomRefusal, as the kind is.
[[noreturn]] void ThrowRomProblem(RomProblem problem);

// The problem an exception carries, or nothing.
const RomProblem* ProblemOf(const std::exception& error);

} // namespace drovak
