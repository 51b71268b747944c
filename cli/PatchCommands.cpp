// patch-create and patch-apply: BPS patches made between two ROM images, BPS and IPS patches
// applied to one.
#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "base/WholeFile.h"
#include "cli/Command.h"
#include "cli/Files.h"
#include "patch/Bps.h"
#include "patch/Patch.h"
#include "rom/RomChange.h"
#include "rom/RomFile.h"
#include "words/RomChangeWords.h"

namespace drovak::cli {

namespace {

// No patch of a ROM image is larger than the image it carries and a little more.
constexpr uint64_t MAX_PATCH_SIZE = MAX_PATCH_TARGET_SIZE + (1u << 20);

int PatchCreate(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string &original = arguments.Positional(0), &modified = arguments.Positional(1),
                      &out = arguments.Positional(2);
    for (const std::string* image : {&original, &modified}) {
        if (SameFile(out, *image)) {
            throw RefusedError(out + ": is the ROM image " + *image +
                               " itself; a patch is never written over its images; nothing was "
                               "written");
        }
    }
    const RomBytes before = ReadRom(original), after = ReadRom(modified);
    const std::vector<uint8_t> patch = CreateBpsPatch(before.bytes, after.bytes);
    WriteFileReplacing(out, patch, OutputOptions(arguments));
    output.out << patch.size() << "\n";
    output.err << out << " written: " << patch.size() << " bytes, from CRC-32 "
               << CrcText(Crc32(before.bytes)) << " (" << before.bytes.size() << " bytes) to "
               << CrcText(Crc32(after.bytes)) << " (" << after.bytes.size() << " bytes).\n";
    return EXIT_OK;
}

// The patched image, or RefusedError with the refusal's reason.
std::vector<uint8_t> Patched(const RomBytes& rom, const std::vector<uint8_t>& patch,
                             const std::string& patchPath) {
    PatchResult result = ApplyPatch(rom.bytes, patch);
    if (!result.Applied()) {
        throw RefusedError(PatchRefusalText(result, patchPath, rom.name) + "; nothing was written");
    }
    return std::move(result.target);
}

int PatchApply(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string &rom = arguments.Positional(0), &patchPath = arguments.Positional(1),
                      &out = arguments.Positional(2);
    const std::vector<uint8_t> patch = ReadWholeFile(
        patchPath, MAX_PATCH_SIZE, "a patch may be (" + std::to_string(MAX_PATCH_SIZE) + " bytes)");
    if (DetectPatchFormat(patch) == PatchFormat::Ips) {
        output.err << patchPath << ": an IPS patch has no checksums: nothing tells whether " << rom
                   << " is the ROM it was made for, or whether the result is right.\n";
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
    output.err << out << " written: " << target.size() << " bytes, CRC-32 "
               << CrcText(Crc32(target)) << ".\n";
    return EXIT_OK;
}

} // namespace

std::vector<Command> PatchCommands() {
    return {
        {"patch-create",
         "ORIGINAL MODIFIED PATCH [--yes]",
         "make a BPS patch that turns one ROM into another",
         "Writes to PATCH a BPS patch that turns ORIGINAL into MODIFIED: data left in place is\n"
         "read from ORIGINAL, data that moved or repeats is copied from where it is found\n"
         "(long matches found with a suffix array), the rest carried literally. The patch holds\n"
         "the CRC-32s of both images and its own; patch-apply checks them. Prints the patch's\n"
         "size in bytes. A PATCH that exists and holds something else is only replaced with\n"
         "--yes; PATCH may not be ORIGINAL or MODIFIED. Both images may be up to 64 MiB.",
         {{"ORIGINAL", "MODIFIED", "PATCH"}, {}, {"--yes"}},
         PatchCreate},
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
         "holds something else is only replaced with --yes.",
         {{"ORIGINAL", "PATCH", "OUT"}, {}, {"--yes"}},
         PatchApply},
    };
}

} // namespace drovak::cli
