#include "png/PngProblem.h"

#include <utility>

namespace drovak {

namespace {

std::string Identifier(const PngProblem& problem) {
    return problem.file + ": PNG problem " + std::to_string(int(problem.kind));
}

} // namespace

PngFileProblem::PngFileProblem(PngProblem problem)
    : FileError(Identifier(problem)), PngProblemCarrier(std::move(problem)) {}

PngRefusal::PngRefusal(PngProblem problem)
    : RefusedError(Identifier(problem)), PngProblemCarrier(std::move(problem)) {}

PngFailure::PngFailure(PngProblem problem)
    : DrovakError(Identifier(problem)), PngProblemCarrier(std::move(problem)) {}

void ThrowPngProblem(PngProblem problem) {
    using K = PngProblemKind;
    switch (problem.kind) {
    case K::ChunkPastEnd:
    case K::TooShortForData:
    case K::EndsEarly:
        throw PngFileProblem(std::move(problem));
    case K::ReaderNotStarted:
    case K::CompressorNotStarted:
    case K::CompressorNotPrimed:
    case K::CompressorFailed:
        throw PngFailure(std::move(problem));
    default:
        throw PngRefusal(std::move(problem));
    }
}

const PngProblem* PngProblemOf(const std::exception& error) {
    return CarriedProblem<PngProblem>(error);
}

} // namespace drovak
