#include "cli/Help.h"

namespace drovak::cli {

namespace {

const char* const NUMBERS_AND_EXIT_CODES =
    "OFFSET, TABLE and INDEX are hexadecimal, read like the window's \"(HEX)\" fields (an\n"
    "optional 0x or $, then digits up to the first other character; 1F, 0x1F and $1F are\n"
    "the same). SIZE, N and C are decimal. Results go to stdout, errors to stderr.\n"
    "\n"
    "Exit codes:\n"
    "  0  success\n"
    "  1  the command line is wrong\n"
    "  2  a file can't be read or written, or is too short\n"
    "  3  the operation was refused; nothing was written (rle-encode: see its help)\n"
    "  4  an unexpected failure\n";

} // namespace

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = [] {
        std::vector<Command> all;
        for (auto group : {CodecCommands, RomCommands, PictureCommands}) {
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
           "\n"
           "The Drovak core from the command line: the codecs, the ROM operations of the\n"
           "compression pages, and the pictures of the window as PNG files.\n"
           "\n"
           "Commands:\n";
    for (const auto& command : AllCommands()) {
        out << "  " << command.name << std::string(16 - command.name.size(), ' ') << command.summary
            << "\n";
    }
    out << "\n" << NUMBERS_AND_EXIT_CODES;
}

void PrintCommandHelp(const Command& command, std::ostream& out) {
    out << "Usage: drovak-cli " << command.name << " " << command.usage << "\n\n"
        << command.description << "\n\n"
        << NUMBERS_AND_EXIT_CODES;
}

} // namespace drovak::cli
