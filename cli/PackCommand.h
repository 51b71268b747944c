#pragma once

// pack, status and pack --watch: a folder's changes planned, said and written.

#include "cli/Command.h"

#include <string>
#include <vector>

namespace drovak::cli {

int Pack(const ParsedArguments& arguments, CommandOutput& output);
int Status(const ParsedArguments& arguments, CommandOutput& output);

// What a pack writes, OUT and the patch, never lies inside DIR: RefusedError when it would.
void RefuseOutputsInsideFolder(const ParsedArguments& arguments);

// One pack of DIR into OUT (and PATCH with --bps) as the pack command makes it; returns the
// line that says what was written. With `lines` each changed file gets a line on stdout first.
std::string PackOnce(const ParsedArguments& arguments, CommandOutput& output, bool lines);

// Packs, then again each time a file of DIR is saved, a line each, until a signal ends it.
int WatchAndPack(const ParsedArguments& arguments, CommandOutput& output);

// The emulator's command line for `rom` (EmulatorCommand); RefusedError saying how to set one
// when none is set or found. Asked before anything is written.
std::vector<std::string> EmulatorFor(const std::string& rom);
// Starts it; FileError (saying that OUT was written) when it can't be.
void StartEmulator(const std::vector<std::string>& command, const std::string& rom,
                   CommandOutput& output);

} // namespace drovak::cli
