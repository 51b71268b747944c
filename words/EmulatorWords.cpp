#include "words/EmulatorWords.h"

#include "base/Paths.h"

namespace drovak {

std::string NoEmulatorText(const std::string& rom) {
    return "No emulator to run " + FileNamePart(rom) +
           " in: set DROVAK_EMULATOR to its command line, %f standing for the ROM, as in "
           "DROVAK_EMULATOR='blastem %f'; or install blastem or mednafen";
}

std::string EmulatorStartedText(const std::string& program, const std::string& rom) {
    return FileNamePart(program) + " started on " + FileNamePart(rom) + ".";
}

} // namespace drovak
