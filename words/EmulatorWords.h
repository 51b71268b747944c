#pragma once

// What test-playing a ROM in an emulator says, the same in the window and on the terminal.

#include <string>

namespace drovak {

// No emulator set or installed: how to set one.
std::string NoEmulatorText(const std::string& rom);

// "blastem started on hack.bin."
std::string EmulatorStartedText(const std::string& program, const std::string& rom);

} // namespace drovak
