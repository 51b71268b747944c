// lzh-extract, lzh-insert, rle-extract, rle-insert, make-demo-rom: the compression pages'
// operations on a ROM image.
#include "base/Errors.h"
#include "base/ReplaceFile.h"
#include "base/WholeFile.h"
#include "cli/Command.h"
#include "cli/Files.h"
#include "demo/DemoRom.h"
#include "rom/HexField.h"
#include "rom/LzhPage.h"
#include "rom/LzhTableList.h"
#include "rom/RlePage.h"
#include "rom/RomChange.h"
#include "rom/RomLayout.h"
#include "words/CliWords.h"
#include "words/CommandWords.h"
#include "words/InsertLines.h"
#include "words/LzhListWords.h"
#include "words/RomChangeWords.h"

#include <iomanip>
#include <sstream>
#include <string_view>

namespace drovak::cli {

namespace {

const std::string ROM_CHANGE_TEXT =
    "\nThe ROM is replaced whole (a new file beside it, synced, renamed over it), its previous\n"
    "image kept as ROM.bak (drovak-cli undo ROM swaps them back); a right header checksum\n"
    "is kept right, unless the new data lies on it. stderr says what was written.";

const std::string OUT_TEXT =
    "\nOUT may not be ROM itself, under any name; a FIFO or a device as OUT is "
    "written through.\nAn OUT that exists and holds other data is only replaced with --yes.";

// Writes an output file; one that exists and holds other data only with --yes.
void WriteOutput(const ParsedArguments& arguments, const std::string& out,
                 const std::vector<uint8_t>& bytes) {
    if (!arguments.Has("--yes") && FileHoldsOtherBytes(out, bytes)) {
        throw RefusedError(HoldsOtherDataText(out));
    }
    WriteFileReplacing(out, bytes);
}

// What a change did, on stderr: stdout keeps the numbers scripts read.
void ReportChange(CommandOutput& output, const std::string& rom, const RomChange& change) {
    output.err << RomChangeSummary(rom, change) << "\n";
}

int LzhExtract(const ParsedArguments& arguments, CommandOutput& output) {
    const uint32_t table = arguments.Hex("--table", POINTER_TABLE_OFFSET);
    const uint32_t index = arguments.Hex("--index", DEFAULT_TABLE_INDEX);
    const std::string &rom = arguments.Positional(0), &out = arguments.Positional(1);
    RefuseWritingOverRom(out, rom);
    LzhExtractResult result = LzhExtractEntry(rom, table, index);
    WriteOutput(arguments, out, result.data);
    output.out << result.entry.PackedSize << "\n";
    return EXIT_OK;
}

int LzhList(const ParsedArguments& arguments, CommandOutput& output) {
    const uint32_t table = arguments.Hex("--table", POINTER_TABLE_OFFSET);
    const std::vector<LzhListEntry> entries = ListLzhTable(ReadRom(arguments.Positional(0)), table);
    // Columns as wide as their heading, left-aligned; the last one as it comes, and no blanks
    // at the end of a line.
    const auto line = [&output](const auto& cells) {
        std::ostringstream text;
        for (size_t i = 0; i + 1 < cells.size(); ++i) {
            text << std::left << std::setw(int(std::string_view(LZH_LIST_COLUMNS[i]).size()))
                 << cells[i] << "  ";
        }
        text << cells.back();
        std::string shown = text.str();
        shown.erase(shown.find_last_not_of(' ') + 1);
        output.out << shown << "\n";
    };
    line(LZH_LIST_COLUMNS);
    for (const LzhListEntry& entry : entries) line(LzhListCells(entry));
    return EXIT_OK;
}

int LzhInsert(const ParsedArguments& arguments, CommandOutput& output) {
    const uint32_t table = arguments.Hex("--table", POINTER_TABLE_OFFSET);
    const uint32_t index = arguments.Hex("--index", DEFAULT_TABLE_INDEX);
    const std::string &rom = arguments.Positional(0), &in = arguments.Positional(1);
    const bool yes = arguments.Has("--yes");
    LzhInsertPlan plan = PlanLzhInsert(rom, in, table, index);
    if (plan.emptyInput && !yes) {
        throw RefusedError(rom + ": " + LzhEmptyInputText(plan, in) + ANSWER_WITH_YES);
    }
    if (plan.needsConfirmation && !yes) {
        throw RefusedError(rom + ": " + LzhGrowthText(plan) + ANSWER_WITH_YES);
    }
    const RomChange change = ApplyLzhInsert(plan, rom);
    output.out << plan.newSize << " " << plan.oldSize << "\n";
    ReportChange(output, rom, change);
    if (plan.decodedSize != plan.inputSize) {
        output.err << DecodedSizeStaysText(plan.decodedSize, plan.inputSize) << "\n";
    }
    return EXIT_OK;
}

int RleExtract(const ParsedArguments& arguments, CommandOutput& output) {
    const uint32_t offset = arguments.Hex("--at", DEFAULT_RLE_OFFSET);
    const std::string &rom = arguments.Positional(0), &out = arguments.Positional(1);
    RefuseWritingOverRom(out, rom);
    RleExtractResult result = RleExtractAt(rom, offset);
    WriteOutput(arguments, out, result.data);
    output.out << result.consumed << "\n";
    return EXIT_OK;
}

int RleInsert(const ParsedArguments& arguments, CommandOutput& output) {
    const uint32_t offset = arguments.Hex("--at", DEFAULT_RLE_OFFSET);
    const std::string &rom = arguments.Positional(0), &in = arguments.Positional(1);
    const bool yes = arguments.Has("--yes");
    RleInsertPlan plan = PlanRleInsert(rom, in, offset);
    if (plan.emptyInput && !yes) {
        throw RefusedError(rom + ": " + RleEmptyInputText(plan, in) + ANSWER_WITH_YES);
    }
    if (plan.needsConfirmation && !yes) {
        throw RefusedError(rom + ": " + RleGrowthText(plan) + ANSWER_WITH_YES);
    }
    const RomChange change = ApplyRleInsert(plan, rom);
    output.out << plan.packed.size() << "\n";
    ReportChange(output, rom, change);
    return EXIT_OK;
}

int MakeDemo(const ParsedArguments& arguments, CommandOutput& output) {
    const auto started = std::chrono::steady_clock::now();
    WriteOutput(arguments, arguments.Positional(0), MakeDemoRom());
    output.out << WrittenLine(arguments.Positional(0), "", started) << "\n";
    return EXIT_OK;
}

} // namespace

std::vector<Command> RomCommands() {
    return {
        {"lzh-extract",
         "ROM OUT [--table TABLE] [--index INDEX] [--yes]",
         "decompress an entry of a pointer table",
         "Decodes entry INDEX (hexadecimal, default " + HexFieldText(DEFAULT_TABLE_INDEX) +
             ") of the pointer table at TABLE\n"
             "(hexadecimal, default " +
             HexFieldText(POINTER_TABLE_OFFSET) +
             ") of ROM into OUT, and prints the entry's packed size in\n"
             "decimal. OUT gets everything the decoder wrote (up to 59 bytes past the entry's\n"
             "decoded size). An INDEX beyond the table is refused (exit code 3)." +
             OUT_TEXT,
         {{"ROM", "OUT"}, {"--table", "--index"}, {"--yes"}},
         LzhExtract},
        {"lzh-list",
         "ROM [--table TABLE]",
         "list the entries of a pointer table",
         "Prints a heading, then one line per entry of the pointer table at TABLE (hexadecimal,\n"
         "default " +
             HexFieldText(POINTER_TABLE_OFFSET) +
             ") of ROM: its index and DataOffset in hexadecimal, its DecodedSize (as stored)\n"
             "and PackedSize in decimal, whether it decodes within the file (\"yes\", or \"no\"\n"
             "and why), and for the game's table what the entry holds (\"tile art, level 3\",\n"
             "\"blocks, level 3\"). A table whose entries run past the end of ROM is refused\n"
             "(exit code 2), naming the file's size.",
         {{"ROM"}, {"--table"}, {}},
         LzhList},
        {"lzh-insert",
         "ROM IN [--table TABLE] [--index INDEX] [--yes]",
         "compress a file into an entry of a pointer table",
         "Encodes IN and puts it into ROM as entry INDEX (hexadecimal, default " +
             HexFieldText(DEFAULT_TABLE_INDEX) +
             ") of the pointer\n"
             "table at TABLE (hexadecimal, default " +
             HexFieldText(POINTER_TABLE_OFFSET) +
             "). When the size changes, the offsets of\n"
             "the following entries are recalculated and their data moved. When the new data is\n"
             "larger than the old it is only written with --yes (the refusal says how many bytes\n"
             "after the table's data it would overwrite); without it the command refuses (exit\n"
             "code 3) and the ROM is left as it was. So is an empty IN. The entry's decoded size\n"
             "becomes IN's length, unless IN is longer and every byte past the old decoded size\n"
             "is what the old data decodes to there (the extra bytes lzh-extract saves, left as\n"
             "they were): then it stays. An INDEX beyond the table is refused, even with --yes.\n"
             "Prints the new and the old packed size in decimal, on one line: NEW OLD." +
             ROM_CHANGE_TEXT,
         {{"ROM", "IN"}, {"--table", "--index"}, {"--yes"}},
         LzhInsert},
        {"rle-extract",
         "ROM OUT [--at OFFSET] [--yes]",
         "decompress an RLE block of a ROM",
         "Decodes the RLE block at OFFSET (hexadecimal, default " +
             HexFieldText(DEFAULT_RLE_OFFSET) +
             ") of ROM into OUT and\n"
             "prints the number of bytes the block occupies in ROM, header included." +
             OUT_TEXT,
         {{"ROM", "OUT"}, {"--at"}, {"--yes"}},
         RleExtract},
        {"rle-insert",
         "ROM IN [--at OFFSET] [--yes]",
         "compress a file into an RLE block of a ROM",
         "Encodes IN as an RLE block and writes it into ROM at OFFSET (hexadecimal, default\n" +
             HexFieldText(DEFAULT_RLE_OFFSET) +
             "); prints the new block's size. When the new block is longer than the one there,\n"
             "or no valid block is there, or it runs past the end of ROM (which then grows), or "
             "IN\n"
             "is empty, it is only written with --yes; without it the command refuses (exit code\n"
             "3) and the ROM is left as it was. An OFFSET at or past the end of ROM is refused,\n"
             "even with --yes, and so is a run the encoder can't write (\"Unsupported repeat\n"
             "count: N\")." +
             ROM_CHANGE_TEXT,
         {{"ROM", "IN"}, {"--at"}, {"--yes"}},
         RleInsert},
        {"make-demo-rom",
         "OUT [--yes]",
         "write the synthetic demonstration ROM",
         "Writes the project's synthetic ROM image to OUT: the pointer table at " +
             HexFieldText(POINTER_TABLE_OFFSET) + ", level\n" +
             "data and palettes, an RLE block at " + HexFieldText(DEFAULT_RLE_OFFSET) +
             " and the title-screen data, laid out where\n"
             "the program reads them. An OUT that exists and holds other data is only replaced\n"
             "with --yes. Prints what it wrote: the file, its size and the time it took.",
         {{"OUT"}, {}, {"--yes"}},
         MakeDemo},
    };
}

} // namespace drovak::cli
