#include "base/FileProblem.h"

#include <utility>

namespace drovak {

namespace {

std::string Identifier(const FileProblem& problem) {
    return problem.path + ": file problem " + std::to_string(int(problem.kind));
}

} // namespace

FileFailure::FileFailure(FileProblem problem)
    : FileError(Identifier(problem)), FileProblemCarrier(std::move(problem)) {}

FileRefusal::FileRefusal(FileProblem problem)
    : RefusedError(Identifier(problem)), FileProblemCarrier(std::move(problem)) {}

FileOtherContent::FileOtherContent(FileProblem problem)
    : OtherContentError(Identifier(problem)), FileProblemCarrier(std::move(problem)) {}

FileInUse::FileInUse(FileProblem problem)
    : InUseError(Identifier(problem)), FileProblemCarrier(std::move(problem)) {}

void ThrowFileProblem(FileProblem problem) {
    using K = FileProblemKind;
    if (problem.kind < K::NotRegular) throw FileFailure(std::move(problem));
    if (problem.kind < K::OtherContent) throw FileRefusal(std::move(problem));
    if (problem.kind == K::OtherContent) throw FileOtherContent(std::move(problem));
    throw FileInUse(std::move(problem));
}

void ThrowFileProblem(FileProblemKind kind, const std::string& path, int error) {
    FileProblem problem;
    problem.kind = kind;
    problem.path = path;
    problem.error = error;
    ThrowFileProblem(std::move(problem));
}

const FileProblem* FileProblemOf(const std::exception& error) {
    return CarriedProblem<FileProblem>(error);
}

} // namespace drovak
