#pragma once

#include "cli/Arguments.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace drovak::cli {

// Exit codes.
constexpr int EXIT_OK = 0;
constexpr int EXIT_USAGE = 1;
constexpr int EXIT_FILE = 2;    // a file can't be read or written, or is too short
constexpr int EXIT_REFUSED = 3; // the operation was refused, or the file is in use; nothing was
                                // written
constexpr int EXIT_UNEXPECTED = 4;

struct CommandOutput {
    std::ostream& out; // results
    std::ostream& err; // errors and progress
    // The width of the terminal `err` writes to; nothing when it is not one (Progress.h).
    std::optional<unsigned> errTerminalColumns;
};

struct Command {
    std::string name;
    std::string usage;       // the arguments after the name, as shown in help
    std::string summary;     // one line for the command list
    std::string description; // the rest of "COMMAND --help"
    ArgumentShape arguments;
    // Returns the exit code; failures throw (UsageError, FileError, RefusedError).
    int (*run)(const ParsedArguments& arguments, CommandOutput& output);
};

// The command groups.
std::vector<Command> CodecCommands();
std::vector<Command> RomCommands();
std::vector<Command> RomBackupCommands();
std::vector<Command> PictureCommands();
std::vector<Command> TileCommands();
std::vector<Command> PatchCommands();
std::vector<Command> ModCommands();

// Every command, in the order the help lists them.
const std::vector<Command>& AllCommands();
const Command* FindCommand(const std::string& name);

} // namespace drovak::cli
