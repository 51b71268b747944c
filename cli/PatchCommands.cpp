// patch-create, patch-info and patch-apply: BPS and IPS patches made between two ROM images,
// described, and applied to one.
#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "base/WholeFile.h"
#include "cli/Command.h"
#include "cli/Files.h"
#include "patch/Bps.h"
#include "patch/ImageDifference.h"
#include "patch/Ips.h"
#include "patch/Patch.h"
#include "patch/PatchInfo.h"
#include "rom/RomChange.h"
#include "rom/RomFile.h"
#include "words/CliWords.h"
#include "words/CommandWords.h"
#include "words/PatchWords.h"
#include "words/RomChangeWords.h"
#include "words/RomProblemWords.h"

namespace drovak::cli {

namespace {

// No patch of a ROM image is larger than the image it carries and a little more.
constexpr uint64_t MAX_PATCH_SIZE = MAX_PATCH_TARGET_SIZE + (1u << 20);

// A BPS patch's metadata file holds text; more than this is not a note on a mod.
constexpr uint64_t MAX_METADATA_SIZE = 1u << 20;

int PatchCreate(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string &original = arguments.Positional(0), &modified = arguments.Positional(1),
                      &out = arguments.Positional(2);
    const bool ips = arguments.Has("--ips");
    const std::optional<std::string> metaPath = arguments.Text("--meta");
    if (ips && metaPath) throw UsageError(IpsMetadataText());
    for (const std::string* image : {&original, &modified}) {
        if (SameFile(out, *image)) {
            throw RefusedError(PatchOverImageText(out, *image));
        }
    }
    const RomBytes before = ReadRom(original), after = ReadRom(modified);
    const ImageDifference difference = CompareImages(before.bytes, after.bytes);
    if (difference.Same()) {
        throw RefusedError(
            SameImageText(original, modified, Crc32(after.bytes), after.bytes.size()));
    }
    std::vector<uint8_t> patch;
    if (ips) {
        try {
            patch = CreateIpsPatch(before.bytes, after.bytes);
        } catch (const RefusedError& error) {
            throw RefusedError(NoIpsPatchText(out, ErrorText(error)));
        }
    } else {
        patch = CreateBpsPatch(before.bytes, after.bytes);
        if (metaPath) {
            const std::vector<uint8_t> text =
                ReadWholeFile(*metaPath, MAX_METADATA_SIZE, SizeLimit::Metadata);
            patch = WithBpsMetadata(patch, std::string(text.begin(), text.end()));
        }
    }
    WriteFileReplacing(out, patch, OutputOptions(arguments));
    output.out << PatchCreatedText(
                      out, ips, patch.size(),
                      {FileNamePart(original), Crc32(before.bytes), before.bytes.size()},
                      {FileNamePart(modified), Crc32(after.bytes), after.bytes.size()},
                      ImageDifferenceText(difference))
               << "\n";
    return EXIT_OK;
}

int ShowPatchInfo(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string& path = arguments.Positional(0);
    const std::vector<uint8_t> patch = ReadWholeFile(path, MAX_PATCH_SIZE, SizeLimit::Patch);
    const PatchInfo info = DescribePatch(patch);
    output.out << PatchInfoText(info, FileNamePart(path), patch.size());
    return info.problem.Applied() ? EXIT_OK : EXIT_REFUSED;
}

// The patched image, or RefusedError with the refusal's reason.
std::vector<uint8_t> Patched(const RomBytes& rom, const std::vector<uint8_t>& patch,
                             const std::string& patchPath) {
    PatchResult result = ApplyPatch(rom.bytes, patch);
    if (!result.Applied()) {
        throw RefusedError(PatchRefusedLine(result, patchPath, rom.name));
    }
    return std::move(result.target);
}

int PatchApply(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string &rom = arguments.Positional(0), &patchPath = arguments.Positional(1),
                      &out = arguments.Positional(2);
    const std::vector<uint8_t> patch = ReadWholeFile(patchPath, MAX_PATCH_SIZE, SizeLimit::Patch);
    if (DetectPatchFormat(patch) == PatchFormat::Ips) {
        output.err << IpsUncheckedText(patchPath, rom) << "\n";
    }
    if (SameFile(out, rom)) {
        // The ROM itself is changed: the patch decides every byte, the header checksum's too.
        const RomChange change = ChangeRom(
            rom, [&](const RomBytes& now) { return Patched(now, patch, patchPath); }, true);
        output.err << RomChangeSummary(rom, change) << "\n";
        return EXIT_OK;
    }
    const std::vector<uint8_t> target = Patched(ReadRom(rom), patch, patchPath);
    WriteFileReplacing(out, target, OutputOptions(arguments));
    output.err << PatchAppliedText(out, target.size(), Crc32(target)) << "\n";
    return EXIT_OK;
}

} // namespace

std::vector<Command> PatchCommands() {
    return {
        {"patch-create",
         "ORIGINAL MODIFIED PATCH [--ips] [--meta FILE] [--yes]",
         "make a BPS (or IPS) patch that turns one ROM into another",
         "Writes to PATCH a BPS patch that turns ORIGINAL into MODIFIED: data left in place is\n"
         "read from ORIGINAL, data that moved or repeats is copied from where it is found\n"
         "(long matches found with a suffix array), the rest carried literally. The patch holds\n"
         "the CRC-32s of both images and its own; patch-apply checks them. --meta FILE stores\n"
         "the text of FILE (up to 1 MiB) as the patch's metadata, which most patchers show.\n"
         "--ips writes an IPS patch instead, for those who share IPS: a record for each\n"
         "stretch that differs, and the new size when the image shrinks; IPS has no checksums\n"
         "and can't reach past 16 MiB, so a MODIFIED over 16 MiB is refused (exit code 3).\n"
         "Two images that are the same are refused: a patch would change nothing. Prints the\n"
         "patch's name, format and size, both images' CRC-32s and sizes, and what it changes\n"
         "(bytes, stretches, where). A PATCH that exists and holds something else is only\n"
         "replaced with --yes; PATCH may not be ORIGINAL or MODIFIED. Both images may be up\n"
         "to 64 MiB.",
         {{"ORIGINAL", "MODIFIED", "PATCH"}, {"--meta"}, {"--ips", "--yes"}},
         PatchCreate},
        {"patch-info",
         "PATCH",
         "show what a BPS or IPS patch holds",
         "Prints PATCH's format and size; for a BPS patch the sizes and CRC-32s of the ROM it\n"
         "is made for (source) and of the ROM it makes (target), its metadata (control\n"
         "characters shown as \\xNN) and its actions by kind; for an IPS patch its records\n"
         "(runs among them), the bytes they write and the size it cuts the image to. A\n"
         "damaged patch (a checksum that fails, a record or action cut short) or a file that\n"
         "is no patch is said to be so, and the exit code is 3.",
         {{"PATCH"}, {}, {}},
         ShowPatchInfo},
        {"patch-apply",
         "ORIGINAL PATCH OUT [--yes]",
         "apply a BPS or IPS patch to a ROM",
         "Applies PATCH (BPS or IPS, told by its first bytes) to ORIGINAL and writes the result\n"
         "to OUT, replaced whole. A BPS patch is checked before anything is written: its own\n"
         "CRC-32, ORIGINAL's (\"made for a ROM with CRC-32 X; ORIGINAL has Y\"), every copy's\n"
         "bounds, the result's size (at most 64 MiB) and its CRC-32; a patch that fails any of\n"
         "them is refused (exit code 3) and nothing is written. An IPS patch has no checksums:\n"
         "stderr says so, and only its records' form and bounds are checked. OUT may be ORIGINAL\n"
         "itself: it is then changed as every change of a ROM is, its previous image kept as\n"
         "ORIGINAL.bak (drovak-cli undo ORIGINAL swaps them back). Any other OUT that exists and\n"
         "holds something else is only replaced with --yes. A patch that ORIGINAL already went\n"
         "through (ORIGINAL is the ROM a BPS patch makes, or the patch changes nothing in it)\n"
         "is refused as \"already applied\" (exit code 3). As the common patchers do, an IPS\n"
         "size after \"EOF\" only ever cuts the image, and a run of length 0 is damage.",
         {{"ORIGINAL", "PATCH", "OUT"}, {}, {"--yes"}},
         PatchApply},
    };
}

} // namespace drovak::cli
