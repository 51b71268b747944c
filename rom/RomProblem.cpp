#include "rom/RomProblem.h"

namespace drovak {

namespace {

std::string Identifier(const RomProblem& problem) {
    return problem.file + ": ROM problem " + std::to_string(int(problem.kind));
}

} // namespace

RomShortFile::RomShortFile(RomProblem problem)
    : FileError(Identifier(problem)), RomProblemCarrier(std::move(problem)) {}

RomRefusal::RomRefusal(RomProblem problem)
    : RefusedError(Identifier(problem)), RomProblemCarrier(std::move(problem)) {}

void ThrowRomProblem(RomProblem problem) {
    if (IsShortFile(problem.kind)) throw RomShortFile(std::move(problem));
    throw RomRefusal(std::move(problem));
}

const RomProblem* ProblemOf(const std::exception& error) {
    return CarriedProblem<RomProblem>(error);
}

} // namespace drovak
