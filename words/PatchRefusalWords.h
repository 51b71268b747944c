#pragma once

// The user's words for a patch that was not applied or not made.

#include "patch/PatchProblem.h"
#include "patch/PatchResult.h"

#include <string>

namespace drovak {

// What exactly was wrong where a patch was refused: "the patch ends early", and so on.
std::string PatchFaultText(PatchFault fault);

// Why a patch was refused, in one sentence that names the patch and the image (the file names
// given): "hack.bps was made for a ROM with CRC-32 1A2B3C4D; tf3.bin has 0BADF00D". Empty for
// an applied patch.
std::string PatchRefusalText(const PatchResult& result, const std::string& patchName,
                             const std::string& romName);

// The refusal with what it left, as the terminal says it ("...; nothing was written") and as the
// window's box says it ("... . Nothing was written.").
std::string PatchRefusedLine(const PatchResult& result, const std::string& patchName,
                             const std::string& romName);
std::string PatchRefusedMessage(const PatchResult& result, const std::string& patchName,
                                const std::string& romName);

// "the modified image's 17825792 bytes are more than IPS can reach (...)", and so on.
std::string PatchProblemText(const PatchProblem& problem);

} // namespace drovak
