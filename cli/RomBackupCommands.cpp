// undo and checksum: a ROM image's backup and its header checksum.
#include "base/Errors.h"
#include "cli/Command.h"
#include "rom/HeaderChecksum.h"
#include "rom/RomChange.h"
#include "rom/RomFile.h"
#include "rom/RomLayout.h"
#include "words/CommandWords.h"
#include "words/RomChangeWords.h"

namespace drovak::cli {

namespace {

int Undo(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string& rom = arguments.Positional(0);
    output.out << RomUndoSummary(rom, UndoRomChange(rom)) << "\n";
    return EXIT_OK;
}

int Checksum(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string& rom = arguments.Positional(0);
    const RomBytes image = ReadRom(rom);
    const std::optional<uint16_t> stored = StoredChecksum(image.bytes);
    if (!stored) {
        throw FileError(NoHeaderChecksumText(rom, image.bytes.size()));
    }
    const uint16_t computed = ComputeChecksum(image.bytes);
    output.out << ChecksumLine(*stored, computed) << "\n";
    if (!arguments.Has("--fix")) return EXIT_OK;
    if (*stored == computed) {
        output.err << ChecksumRightText(rom) << "\n";
        return EXIT_OK;
    }
    const RomChange change = ChangeRom(rom, [](const RomBytes& now) {
        std::vector<uint8_t> fixed = now.bytes;
        StoreChecksum(fixed);
        return fixed;
    });
    output.err << RomChangeSummary(rom, change) << "\n";
    return EXIT_OK;
}

} // namespace

std::vector<Command> RomBackupCommands() {
    return {
        {"undo",
         "ROM",
         "swap a ROM and its backup: undo (or redo) the last change",
         "Swaps ROM and ROM.bak, the backup every change keeps (beside the file a link points\n"
         "to), in one step: the last change is undone, and a second undo redoes it. Without a\n"
         "backup it refuses (exit code 3) and nothing changes. Prints what it did.",
         {{"ROM"}, {}, {}},
         Undo},
        {"checksum",
         "ROM [--fix]",
         "show, or fix, the header checksum of a ROM",
         "Prints the header checksum stored in ROM (at " + HexText(HEADER_CHECKSUM_OFFSET) +
             ") and the one computed from it (the 16-bit\n"
             "sum of the big-endian words from " +
             HexText(CHECKSUM_START) +
             " to the end), as four hexadecimal digits each,\n"
             "and whether they agree: \"stored BAD2, computed BAD2: right\". With --fix a wrong "
             "checksum is replaced by the computed one: ROM\n"
             "is replaced whole and its previous image kept as ROM.bak, as by every change.",
         {{"ROM"}, {}, {"--fix"}},
         Checksum},
    };
}

} // namespace drovak::cli
