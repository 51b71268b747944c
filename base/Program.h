#pragma once

#include <optional>
#include <string>
#include <vector>

namespace drovak {

// Other programs started from a command line that a user gave, without a shell: nothing in a
// file's name can run as a command.

// The words of a command line as a shell splits them, without expanding anything: blanks
// between words; '...' keeps everything, "..." and a backslash keep the next character.
// RefusedError for a quote left open or a line without a word.
std::vector<std::string> SplitCommandLine(const std::string& line);

// The words with "%f" in each replaced by `path` (a word stays one word); `path` added as the
// last word when no word holds "%f".
std::vector<std::string> WithFile(std::vector<std::string> words, const std::string& path);

// The path of the program `name` as the shell finds it (a name with a "/" as it is, else the
// folders of PATH), when it is there and may be run.
std::optional<std::string> FindProgram(const std::string& name);

// An environment variable's value; nothing when it is not set or empty.
std::optional<std::string> EnvironmentValue(const char* name);

// Starts the program words[0] (found as FindProgram finds it) with the words as its arguments,
// in a process group of its own (a Ctrl+C meant for this program does not end it), its input
// empty, without waiting for it. FileError when it can't be started.
void StartProgram(const std::vector<std::string>& words);

// Collects the programs started that have ended since (a program that runs on after starting
// one calls it now and then, so that none lingers as a zombie).
void ReapEndedPrograms();

// The emulator to test-play a ROM with: the command line in DROVAK_EMULATOR, else `setting`,
// else the first of blastem and mednafen that is installed ("NAME %f"); its words with the ROM
// in place of "%f" (WithFile). Nothing when none is set or found.
std::optional<std::vector<std::string>> EmulatorCommand(const std::optional<std::string>& setting,
                                                        const std::string& romPath);

} // namespace drovak
