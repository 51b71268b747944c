#include "words/PatchRefusalWords.h"

#include "base/Crc32.h"

namespace drovak {

std::string PatchFaultText(PatchFault fault) {
    using F = PatchFault;
    switch (fault) {
    case F::None:
        return "";
    case F::NoBpsStart:
        return "no \"BPS1\" at the start";
    case F::NoIpsStart:
        return "no \"PATCH\" at the start";
    case F::NoPatchStart:
        return "no \"BPS1\" or \"PATCH\" at the start";
    case F::EndsEarly:
        return "the patch ends early";
    case F::ChecksumFails:
        return "the patch's checksum fails";
    case F::HeaderIntoFooter:
        return "the header runs into the footer";
    case F::ActionIntoFooter:
        return "an action runs into the footer";
    case F::WritesPastTarget:
        return "an action writes past the target's end";
    case F::ReadsPastSource:
        return "an action reads past the source's end";
    case F::LiteralsIntoFooter:
        return "literal bytes run into the footer";
    case F::CopyOutsideSource:
        return "a copy starts outside the source";
    case F::CopyOutsideTarget:
        return "a copy starts outside what the target holds so far";
    case F::CopyPastSource:
        return "a copy reads past the source's end";
    case F::ActionsEndEarly:
        return "the actions end before the target's end";
    case F::ImageIsTarget:
        return "the image is the one the patch makes";
    case F::MadeForAnother:
        return "made for another image";
    case F::TargetTooLarge:
        return "the target is too large";
    case F::ImageNotTarget:
        return "the image made is not the one the patch was made from";
    case F::EndsBeforeEof:
        return "the patch ends before \"EOF\"";
    case F::RecordEndsEarly:
        return "a record ends early";
    case F::RunEndsEarly:
        return "a run ends early";
    case F::RunOfZero:
        return "a run of length 0";
    case F::RecordBytesEndEarly:
        return "a record's bytes end early";
    case F::AfterEof:
        return "something other than a size follows \"EOF\"";
    case F::ImageTooLarge:
        return "the image is too large";
    case F::RecordTooLarge:
        return "too large";
    }
    return "refused";
}

std::string PatchRefusalText(const PatchResult& result, const std::string& patchName,
                             const std::string& romName) {
    const std::string at = " (at byte " + std::to_string(result.position) + " of the patch)";
    switch (result.refusal) {
    case PatchRefusal::None:
        return {};
    case PatchRefusal::NotAPatch:
        return patchName + " is not a patch: it starts with neither \"BPS1\" nor \"PATCH\"";
    case PatchRefusal::WrongSource:
        return patchName + " was made for a ROM with CRC-32 " + CrcText(result.expectedCrc) + " (" +
               std::to_string(result.size) + " bytes); " + romName + " has " +
               CrcText(result.actualCrc);
    case PatchRefusal::Damaged:
        if (result.expectedCrc != result.actualCrc) {
            return patchName + " is damaged: its own checksum fails (it names " +
                   CrcText(result.expectedCrc) + ", its bytes give " + CrcText(result.actualCrc) +
                   ")";
        }
        return patchName + " is damaged: " + PatchFaultText(result.fault) + at;
    case PatchRefusal::OutOfBounds:
        return patchName + " is damaged or hostile: " + PatchFaultText(result.fault) + at;
    case PatchRefusal::TargetTooLarge:
        return patchName + " would make an image of " + std::to_string(result.size) +
               " bytes, more than a ROM image may hold (" + std::to_string(MAX_PATCH_TARGET_SIZE) +
               ")";
    case PatchRefusal::AlreadyApplied:
        return patchName + " is already applied: " + romName + " (CRC-32 " +
               CrcText(result.actualCrc) + ") is the image it makes, and it would change nothing";
    case PatchRefusal::TargetMismatch:
        return patchName + " did not make the image it was made from: the result has CRC-32 " +
               CrcText(result.actualCrc) + ", the patch names " + CrcText(result.expectedCrc);
    }
    return patchName + ": refused";
}

std::string PatchProblemText(const PatchProblem& problem) {
    using K = PatchProblemKind;
    const std::string size = std::to_string(problem.size);
    const std::string byBps = "; make a BPS patch instead";
    switch (problem.kind) {
    case K::OriginalTooLarge:
    case K::ModifiedTooLarge:
        return std::string("the ") +
               (problem.kind == K::OriginalTooLarge ? "original" : "modified") + " image's " +
               size + " bytes are more than a patch may be made of (" +
               std::to_string(MAX_PATCH_TARGET_SIZE) + ")";
    case K::BeyondIpsReach:
        return "the modified image's " + size +
               " bytes are more than IPS can reach (16 MiB: its offsets have 24 bits)" + byBps;
    case K::IpsCannotCutTo:
        return "the modified image is cut to " + size + " bytes, a size IPS can't write (24 bits)" +
               byBps;
    case K::MetadataNotBps:
        return "not a BPS patch: its metadata can't be set";
    case K::MetadataDamagedBps:
        return "a damaged BPS patch: its metadata can't be set";
    case K::SuffixArrayFailed:
        return "the suffix array of " + size + " bytes could not be made";
    }
    return "patch refused";
}

std::string PatchRefusedLine(const PatchResult& result, const std::string& patchName,
                             const std::string& romName) {
    return PatchRefusalText(result, patchName, romName) + "; nothing was written";
}

std::string PatchRefusedMessage(const PatchResult& result, const std::string& patchName,
                                const std::string& romName) {
    return PatchRefusalText(result, patchName, romName) + ". Nothing was written.";
}

} // namespace drovak
