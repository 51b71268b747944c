#include "patch/PatchProblem.h"

#include <string>

namespace drovak {

namespace {

std::string Identifier(const PatchProblem& problem) {
    return "patch problem " + std::to_string(int(problem.kind));
}

} // namespace

PatchMakingRefusal::PatchMakingRefusal(PatchProblem problem)
    : RefusedError(Identifier(problem)), PatchProblemCarrier(problem) {}

PatchMakingFailure::PatchMakingFailure(PatchProblem problem)
    : DrovakError(Identifier(problem)), PatchProblemCarrier(problem) {}

void ThrowPatchProblem(PatchProblemKind kind, uint64_t size) {
    const PatchProblem problem{kind, size};
    if (kind == PatchProblemKind::SuffixArrayFailed) throw PatchMakingFailure(problem);
    throw PatchMakingRefusal(problem);
}

const PatchProblem* PatchProblemOf(const std::exception& error) {
    return CarriedProblem<PatchProblem>(error);
}

} // namespace drovak
