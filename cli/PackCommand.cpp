// pack: a folder's changes put back into a ROM image, written once.
#include "cli/PackCommand.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "base/Program.h"
#include "base/ReplaceFile.h"
#include "base/WholeFile.h"
#include "cli/PackLines.h"
#include "mod/Pack.h"
#include "patch/Bps.h"
#include "patch/Crc32.h"
#include "words/EmulatorWords.h"
#include "words/RomChangeWords.h"

namespace drovak::cli {

std::string PackOnce(const ParsedArguments& arguments, CommandOutput& output, bool lines) {
    const std::string &dir = arguments.Positional(0), &out = arguments.Positional(1);
    const PackPlan plan = PlanPack(dir, arguments.Text("--base"));
    const std::string questions = PackQuestionLines(plan);
    if (!arguments.Has("--yes") && !questions.empty()) {
        throw RefusedError(dir + ": the pack asks:\n" + questions +
                           "Give --yes to go ahead. Nothing was written.");
    }
    for (const PackedChange& change : plan.changes) {
        for (const std::string& note : change.notes) output.err << "note: " << note << "\n";
        if (lines) output.out << PackChangeLine(change) << "\n";
    }
    if (lines && plan.changes.empty()) output.out << dir << ": no file changed since the unpack\n";
    // The patch from the base to OUT, made and checked before anything is written.
    const std::optional<std::string> patchPath = arguments.Text("--bps");
    std::vector<uint8_t> patch;
    if (patchPath) {
        for (const std::string* image : {&plan.base.name, &out}) {
            if (*patchPath == *image || SameFile(*patchPath, *image)) {
                throw RefusedError(*patchPath + ": is the ROM image " + *image +
                                   " itself; nothing was written");
            }
        }
        patch = CreateBpsPatch(plan.base.bytes, plan.image);
        if (!arguments.Has("--yes") && FileHoldsOtherBytes(*patchPath, patch)) {
            throw RefusedError(*patchPath + ": already exists and holds other data. Give --yes "
                                            "to replace it. Nothing was written.");
        }
    }
    const bool existed = FileExists(out);
    const RomChange change = WritePack(plan, out);
    std::string written = existed ? RomChangeSummary(out, change) : NewFileLine(out, change);
    if (patchPath) {
        WriteFileReplacing(*patchPath, patch);
        written += (lines ? "\n" : " ") + *patchPath + " written: a patch of " +
                   std::to_string(patch.size()) + " bytes from " + plan.manifest.romName +
                   " (CRC-32 " + CrcText(plan.manifest.romCrc) + ") to " + FileNamePart(out) +
                   " (CRC-32 " + CrcText(Crc32(plan.image)) + ").";
    }
    if (!lines) {
        written = std::to_string(plan.changes.size()) +
                  (plan.changes.size() == 1 ? " file" : " files") + " changed since the unpack; " +
                  written;
    }
    return written;
}

std::vector<std::string> EmulatorFor(const std::string& rom) {
    std::optional<std::vector<std::string>> command = EmulatorCommand(std::nullopt, rom);
    if (!command) throw RefusedError(NoEmulatorText(rom) + "; nothing was written");
    return std::move(*command);
}

void StartEmulator(const std::vector<std::string>& command, const std::string& rom,
                   CommandOutput& output) {
    try {
        StartProgram(command);
    } catch (const FileError& error) {
        throw FileError(std::string(error.what()) + "; " + rom + " was written");
    }
    output.out << EmulatorStartedText(command[0], rom) << std::endl;
}

int Pack(const ParsedArguments& arguments, CommandOutput& output) {
    if (arguments.Has("--watch")) return WatchAndPack(arguments, output);
    const std::vector<std::string> emulator =
        arguments.Has("--run") ? EmulatorFor(arguments.Positional(1)) : std::vector<std::string>{};
    output.out << PackOnce(arguments, output, true) << "\n";
    if (!emulator.empty()) StartEmulator(emulator, arguments.Positional(1), output);
    return EXIT_OK;
}

} // namespace drovak::cli
