// pack: a folder's changes put back into a ROM image, written once.
#include "cli/PackCommand.h"

#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "base/Program.h"
#include "base/ReplaceFile.h"
#include "base/WholeFile.h"
#include "cli/Files.h"
#include "cli/PackLines.h"
#include "mod/Pack.h"
#include "patch/Bps.h"
#include "words/EmulatorWords.h"
#include "words/RomChangeWords.h"
#include "words/RomProblemWords.h"

namespace drovak::cli {

std::string PackOnce(const ParsedArguments& arguments, CommandOutput& output, bool lines) {
    const std::string &dir = arguments.Positional(0), &out = arguments.Positional(1);
    const std::optional<std::string> patchPath = arguments.Text("--bps");
    const bool yes = arguments.Has("--yes");
    // What a pack writes never lies inside the folder it reads: no answer lets it.
    RefuseOutputInside(dir, out);
    if (patchPath) RefuseOutputInside(dir, *patchPath);
    const PackPlan plan = PlanPack(dir, arguments.Text("--base"));
    const std::string questions = PackQuestionLines(plan);
    if (!yes && !questions.empty()) {
        throw RefusedError(dir + ": the pack asks:\n" + questions +
                           "Give --yes to go ahead. Nothing was written.");
    }
    // The patch from the base to OUT, made and checked before anything is written.
    std::vector<uint8_t> patch;
    if (patchPath) {
        for (const std::string* image : {&plan.base.name, &out}) {
            if (*patchPath == *image || SameFile(*patchPath, *image)) {
                throw RefusedError(*patchPath + ": is the ROM image " + *image +
                                   " itself; nothing was written");
            }
        }
        patch = CreateBpsPatch(plan.base.bytes, plan.image);
    }
    if (!yes && !SameFile(out, plan.base.name) && FileHoldsOtherBytes(out, plan.image)) {
        throw OtherContentError(out + ": already exists and holds other data; nothing was written");
    }
    for (const PackedChange& change : plan.changes) {
        for (const std::string& note : change.notes) output.err << "note: " << note << "\n";
        if (lines) output.out << PackChangeLine(change) << "\n";
    }
    for (const ViewChange& view : plan.views) {
        const std::string line = PackViewLine(view, output.err);
        if (lines) output.out << line << "\n";
    }
    const size_t changed = plan.changes.size() + plan.views.size();
    if (lines && changed == 0) output.out << dir << ": no file changed since the unpack\n";
    // The patch goes first: when OUT then can't be written, the patch is whole, and said so.
    std::string patchLine;
    if (patchPath) {
        WriteFileReplacing(*patchPath, patch, OutputOptions(arguments));
        patchLine = *patchPath + " written: a patch of " + std::to_string(patch.size()) +
                    " bytes from " + plan.manifest.romName + " (CRC-32 " +
                    CrcText(plan.manifest.romCrc) + ") to " + FileNamePart(out) + " (CRC-32 " +
                    CrcText(Crc32(plan.image)) + ").";
    }
    const bool existed = FileExists(out);
    RomChange change;
    try {
        change = WritePack(plan, out, yes);
    } catch (const FileError& error) {
        if (!patchPath) throw;
        throw FileError(ErrorText(error) + " (" + *patchPath +
                        " was written, a patch to the image " + out + " would have held)");
    }
    std::string written = existed ? RomChangeSummary(out, change) : NewFileLine(out, change);
    if (patchPath) written = patchLine + (lines ? "\n" : " ") + written;
    if (!lines) {
        written = std::to_string(changed) + (changed == 1 ? " file" : " files") +
                  " changed since the unpack; " + written;
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
        throw FileError(ErrorText(error) + "; " + rom + " was written");
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
