// lzh-extract, lzh-insert, rle-extract, rle-insert, make-demo-rom: the compression pages'
// operations on a ROM image.
#include "base/Errors.h"
#include "base/ReplaceFile.h"
#include "cli/Command.h"
#include "cli/Files.h"
#include "demo/DemoRom.h"
#include "rom/HexField.h"
#include "rom/LzhPage.h"
#include "rom/RlePage.h"
#include "rom/RomLayout.h"

namespace drovak::cli {

namespace {

// A question of the window as one line, for a refusal on stderr.
std::string OneLine(std::string text) {
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, " ");
    return text;
}

const char* const ANSWER_WITH_YES = " Give --yes to go ahead. Nothing was written.";

int LzhExtract(const ParsedArguments& arguments, CommandOutput& output) {
    LzhExtractResult result =
        LzhExtractEntry(arguments.Positional(0), arguments.Hex("--table", POINTER_TABLE_OFFSET),
                        arguments.Hex("--index", DEFAULT_TABLE_INDEX));
    WriteFileReplacing(arguments.Positional(1), result.data);
    output.out << result.entry.PackedSize << "\n";
    return EXIT_OK;
}

int LzhInsert(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string& rom = arguments.Positional(0);
    LzhInsertPlan plan =
        PlanLzhInsert(rom, arguments.Positional(1), arguments.Hex("--table", POINTER_TABLE_OFFSET),
                      arguments.Hex("--index", DEFAULT_TABLE_INDEX));
    if (plan.writesNothing()) {
        throw RefusedError(rom + ": entry " + HexText(plan.index) + " is beyond the table at " +
                           HexText(plan.table) + ", which has " + std::to_string(plan.entryCount) +
                           " entries. Nothing was written.");
    }
    if (plan.needsConfirmation && !arguments.Has("--yes")) {
        throw RefusedError(rom + ": the new compressed data (" + std::to_string(plan.newSize) +
                           " bytes) is larger than the old (" + std::to_string(plan.oldSize) +
                           " bytes): the sizes table would be recalculated and the data of the "
                           "following entries moved." +
                           ANSWER_WITH_YES);
    }
    ApplyLzhInsert(plan);
    output.out << plan.newSize << " " << plan.oldSize << "\n";
    return EXIT_OK;
}

int RleExtract(const ParsedArguments& arguments, CommandOutput& output) {
    RleExtractResult result =
        RleExtractAt(arguments.Positional(0), arguments.Hex("--at", DEFAULT_RLE_OFFSET));
    WriteFileReplacing(arguments.Positional(1), result.data);
    output.out << result.consumed << "\n";
    return EXIT_OK;
}

int RleInsert(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string& rom = arguments.Positional(0);
    RleInsertPlan plan =
        PlanRleInsert(rom, arguments.Positional(1), arguments.Hex("--at", DEFAULT_RLE_OFFSET));
    if (plan.needsConfirmation && !arguments.Has("--yes")) {
        throw RefusedError(rom + ": " + OneLine(RleGrowthQuestion(plan)) + ANSWER_WITH_YES);
    }
    ApplyRleInsert(plan);
    output.out << plan.packed.size() << "\n";
    return EXIT_OK;
}

int MakeDemo(const ParsedArguments& arguments, CommandOutput&) {
    WriteFileReplacing(arguments.Positional(0), MakeDemoRom());
    return EXIT_OK;
}

} // namespace

std::vector<Command> RomCommands() {
    return {
        {"lzh-extract",
         "ROM OUT [--table TABLE] [--index INDEX]",
         "decompress an entry of a pointer table",
         "Decodes entry INDEX (hexadecimal, default " + HexFieldText(DEFAULT_TABLE_INDEX) +
             ") of the pointer table at TABLE\n"
             "(hexadecimal, default " +
             HexFieldText(POINTER_TABLE_OFFSET) +
             ") of ROM into OUT, and prints the entry's packed size in\n"
             "decimal. OUT gets everything the decoder wrote (up to 59 bytes past the entry's\n"
             "decoded size).",
         {{"ROM", "OUT"}, {"--table", "--index"}, {}},
         LzhExtract},
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
             "larger than the old it is only written with --yes; without it the command refuses\n"
             "(exit code 3) and the ROM is left as it was. An INDEX beyond the table is refused\n"
             "too. Prints the new and the old packed size in decimal, on one line: NEW OLD.",
         {{"ROM", "IN"}, {"--table", "--index"}, {"--yes"}},
         LzhInsert},
        {"rle-extract",
         "ROM OUT [--at OFFSET]",
         "decompress an RLE block of a ROM",
         "Decodes the RLE block at OFFSET (hexadecimal, default " +
             HexFieldText(DEFAULT_RLE_OFFSET) +
             ") of ROM into OUT and\n"
             "prints the number of bytes the block occupies in ROM, header included.",
         {{"ROM", "OUT"}, {"--at"}, {}},
         RleExtract},
        {"rle-insert",
         "ROM IN [--at OFFSET] [--yes]",
         "compress a file into an RLE block of a ROM",
         "Encodes IN as an RLE block and writes it into ROM at OFFSET (hexadecimal, default\n" +
             HexFieldText(DEFAULT_RLE_OFFSET) +
             "); prints the new block's size. When the new block is longer than the one there,\n"
             "or no valid block is there, it is only written with --yes; without it the command\n"
             "refuses (exit code 3) and the ROM is left as it was. A run the encoder can't write "
             "is\n"
             "refused with \"Unsupported repeat count: N\".",
         {{"ROM", "IN"}, {"--at"}, {"--yes"}},
         RleInsert},
        {"make-demo-rom",
         "OUT",
         "write the synthetic demonstration ROM",
         "Writes the project's synthetic ROM image to OUT: the pointer table at " +
             HexFieldText(POINTER_TABLE_OFFSET) + ", level\n" +
             "data and palettes, an RLE block at " + HexFieldText(DEFAULT_RLE_OFFSET) +
             " and the title-screen data, laid out where\n"
             "the program reads them.",
         {{"OUT"}, {}, {}},
         MakeDemo},
    };
}

} // namespace drovak::cli
