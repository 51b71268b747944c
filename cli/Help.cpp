#include "cli/Help.h"

namespace drovak::cli {

const char* const TOOL_DESCRIPTION =
    "The Drovak core from the command line: the codecs, the ROM operations of the\n"
    "compression pages, the pictures of the window as PNG files, and tile data as indexed\n"
    "PNG pictures and back. A whole ROM becomes a folder of files any editor can change\n"
    "(unpack), and the folder a ROM again (pack; status tells what changed, pack --watch\n"
    "packs on each save, --run test-plays it); a mod travels as a BPS or IPS patch\n"
    "(patch-create, patch-info, patch-apply).\n";

const char* const NUMBERS_TEXT =
    "OFFSET, TABLE and INDEX are hexadecimal, read like the window's \"(HEX)\" fields: an\n"
    "optional 0x or $, then 1 to 8 hexadecimal digits (1F, 0x1F and $1F are the same);\n"
    "anything else is refused (exit code 1) before a file is touched. SIZE, N and C are\n"
    "decimal. Results go to stdout, errors to stderr.\n";

const char* const ENVIRONMENT_TEXT =
    "DROVAK_EMULATOR  the emulator pack --run starts: a command line, %f standing for the\n"
    "ROM (\"blastem %f\"); unset, the first of blastem and mednafen that is installed.\n";

const std::vector<ExitCodeMeaning>& ExitCodeMeanings() {
    static const std::vector<ExitCodeMeaning> meanings = {
        {EXIT_OK, "success"},
        {EXIT_USAGE, "the command line is wrong"},
        {EXIT_FILE, "a file can't be read or written, or is too short; nothing was written unless "
                    "the message says so"},
        {EXIT_REFUSED, "refused, or a file is in use by another program; nothing was written"},
        {EXIT_UNEXPECTED, "an unexpected failure"},
    };
    return meanings;
}

namespace {

void PrintNumbersAndExitCodes(std::ostream& out) {
    out << NUMBERS_TEXT << "\nExit codes:\n";
    for (const auto& exit : ExitCodeMeanings())
        out << "  " << exit.code << "  " << exit.meaning << "\n";
}

} // namespace

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = [] {
        std::vector<Command> all;
        for (auto group : {CodecCommands, RomCommands, RomBackupCommands, PictureCommands,
                           TileCommands, PatchCommands, ModCommands}) {
            for (auto& command : group()) all.push_back(std::move(command));
        }
        return all;
    }();
    return commands;
}

const Command* FindCommand(const std::string& name) {
    for (const auto& command : AllCommands()) {
        if (command.name == name) return &command;
    }
    return nullptr;
}

void PrintGeneralHelp(std::ostream& out) {
    out << "Usage: drovak-cli COMMAND ARGUMENTS...\n"
           "       drovak-cli COMMAND --help\n"
           "       drovak-cli --version\n"
           "\n"
        << TOOL_DESCRIPTION << "\nCommands:\n";
    for (const auto& command : AllCommands()) {
        out << "  " << command.name << std::string(16 - command.name.size(), ' ') << command.summary
            << "\n";
    }
    out << "\n" << ENVIRONMENT_TEXT << "\n";
    PrintNumbersAndExitCodes(out);
}

void PrintCommandHelp(const Command& command, std::ostream& out) {
    out << "Usage: drovak-cli " << command.name << " " << command.usage << "\n\n"
        << command.description << "\n\n";
    PrintNumbersAndExitCodes(out);
}

} // namespace drovak::cli
