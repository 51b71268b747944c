#include "compression/CodecProblem.h"

#include <utility>

namespace drovak {

namespace {

std::string Identifier(const CodecProblem& problem) {
    return problem.source + ": codec problem " + std::to_string(int(problem.kind));
}

bool IsShortData(CodecProblemKind kind) {
    return kind == CodecProblemKind::RleHeaderPastEnd ||
           kind == CodecProblemKind::RleBlockEndsEarly;
}

} // namespace

CodecShortData::CodecShortData(CodecProblem problem)
    : FileError(Identifier(problem)), CodecProblemCarrier(std::move(problem)) {}

CodecRefusal::CodecRefusal(CodecProblem problem)
    : RefusedError(Identifier(problem)), CodecProblemCarrier(std::move(problem)) {}

void ThrowCodecProblem(CodecProblem problem) {
    if (IsShortData(problem.kind)) throw CodecShortData(std::move(problem));
    throw CodecRefusal(std::move(problem));
}

const CodecProblem* CodecProblemOf(const std::exception& error) {
    return CarriedProblem<CodecProblem>(error);
}

} // namespace drovak
