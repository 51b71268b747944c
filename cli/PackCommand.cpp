// pack: a folder's changes put back into a ROM image, written once.
#include "cli/PackCommand.h"

#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "base/Program.h"
#include "base/ReplaceFile.h"
#include "base/WholeFile.h"
#include "cli/Files.h"
#include "mod/ModProblem.h"
#include "mod/Pack.h"
#include "patch/Bps.h"
#include "words/EmulatorWords.h"
#include "words/PackCommandWords.h"
#include "words/PackWords.h"
#include "words/RomChangeWords.h"
#include "words/RomProblemWords.h"

namespace drovak::cli {

void RefuseOutputsInsideFolder(const ParsedArguments& arguments) {
    const std::string& dir = arguments.Positional(0);
    RefuseOutputInside(dir, arguments.Positional(1));
    if (const std::optional<std::string> patch = arguments.Text("--bps"))
        RefuseOutputInside(dir, *patch);
}

std::string PackOnce(const ParsedArguments& arguments, CommandOutput& output, bool lines) {
    const std::string &dir = arguments.Positional(0), &out = arguments.Positional(1);
    const std::optional<std::string> patchPath = arguments.Text("--bps");
    const bool yes = arguments.Has("--yes");
    // What a pack writes never lies inside the folder it reads: no answer lets it.
    RefuseOutputsInsideFolder(arguments);
    const PackPlan plan = PlanPack(dir, arguments.Text("--base"));
    const std::string questions = PackQuestionLines(plan);
    if (!yes && !questions.empty()) {
        throw RefusedError(PackAsksText(dir, questions));
    }
    // The patch from the base to OUT, made and checked before anything is written.
    std::vector<uint8_t> patch;
    if (patchPath) {
        for (const std::string* image : {&plan.base.name, &out}) {
            if (*patchPath == *image || SameFile(*patchPath, *image)) {
                throw RefusedError(PatchIsImageText(*patchPath, *image));
            }
        }
        patch = CreateBpsPatch(plan.base.bytes, plan.image);
    }
    if (!yes && !SameFile(out, plan.base.name) && FileHoldsOtherBytes(out, plan.image)) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::OutputHoldsOther, .file = out});
    }
    for (const PackedChange& change : plan.changes) {
        for (const std::string& note : PackNotes(change)) output.err << NoteLine(note) << "\n";
        if (lines) output.out << PackChangeLine(change) << "\n";
    }
    for (const ViewChange& view : plan.views) {
        const std::string line = PackViewLine(view, output.err);
        if (lines) output.out << line << "\n";
    }
    const size_t changed = plan.changes.size() + plan.views.size();
    if (lines && changed == 0) output.out << NothingPackedText(dir) << "\n";
    // The patch goes first: when OUT then can't be written, the patch is whole, and said so.
    std::string patchLine;
    if (patchPath) {
        WriteFileReplacing(*patchPath, patch, OutputOptions(arguments));
        patchLine = PackPatchLine(*patchPath, patch.size(), plan.manifest.romName,
                                  plan.manifest.romCrc, FileNamePart(out), Crc32(plan.image));
    }
    const bool existed = FileExists(out);
    RomChange change;
    try {
        change = WritePack(plan, out, yes);
    } catch (const FileError& error) {
        if (!patchPath) throw;
        throw FileError(PatchWithoutImageText(ErrorText(error), *patchPath, out));
    }
    std::string written = existed ? RomChangeSummary(out, change) : NewFileLine(out, change);
    if (patchPath) written = patchLine + (lines ? "\n" : " ") + written;
    if (!lines) {
        written = ChangedSinceUnpackText(changed) + written;
    }
    return written;
}

std::vector<std::string> EmulatorFor(const std::string& rom) {
    std::optional<std::vector<std::string>> command = EmulatorCommand(std::nullopt, rom);
    if (!command) throw RefusedError(NoEmulatorRefusalText(rom));
    return std::move(*command);
}

void StartEmulator(const std::vector<std::string>& command, const std::string& rom,
                   CommandOutput& output) {
    try {
        StartProgram(command);
    } catch (const FileError& error) {
        throw FileError(RomWrittenText(ErrorText(error), rom));
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
