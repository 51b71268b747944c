#include "mod/ModProblem.h"

#include <utility>

namespace drovak {

namespace {

std::string Identifier(const ModProblem& problem) {
    return problem.file + ": folder problem " + std::to_string(int(problem.kind));
}

} // namespace

ModRefusal::ModRefusal(ModProblem problem)
    : RefusedError(Identifier(problem)), ModProblemCarrier(std::move(problem)) {}

ModOtherContent::ModOtherContent(ModProblem problem)
    : OtherContentError(Identifier(problem)), ModProblemCarrier(std::move(problem)) {}

ModFileProblem::ModFileProblem(ModProblem problem)
    : FileError(Identifier(problem)), ModProblemCarrier(std::move(problem)) {}

void ThrowModProblem(ModProblem problem) {
    using K = ModProblemKind;
    if (problem.kind == K::SheetPalettePastEnd ||
        (problem.kind == K::UnpackStopped && problem.flag)) {
        throw ModFileProblem(std::move(problem));
    }
    if (problem.kind == K::OutputHoldsOther) throw ModOtherContent(std::move(problem));
    throw ModRefusal(std::move(problem));
}

const ModProblem* ModProblemOf(const std::exception& error) {
    return CarriedProblem<ModProblem>(error);
}

} // namespace drovak
