#include "graphics/GraphicsProblem.h"

#include <utility>

namespace drovak {

namespace {

std::string Identifier(const GraphicsProblem& problem) {
    return problem.file + ": graphics problem " + std::to_string(int(problem.kind));
}

bool IsFileProblem(GraphicsProblemKind kind) {
    return kind == GraphicsProblemKind::LevelDataPastEnd ||
           kind == GraphicsProblemKind::PaletteLinePastEnd ||
           kind == GraphicsProblemKind::NoPngName;
}

} // namespace

GraphicsFileProblem::GraphicsFileProblem(GraphicsProblem problem)
    : FileError(Identifier(problem)), GraphicsProblemCarrier(std::move(problem)) {}

GraphicsRefusal::GraphicsRefusal(GraphicsProblem problem)
    : RefusedError(Identifier(problem)), GraphicsProblemCarrier(std::move(problem)) {}

void ThrowGraphicsProblem(GraphicsProblem problem) {
    if (IsFileProblem(problem.kind)) throw GraphicsFileProblem(std::move(problem));
    throw GraphicsRefusal(std::move(problem));
}

const GraphicsProblem* GraphicsProblemOf(const std::exception& error) {
    return CarriedProblem<GraphicsProblem>(error);
}

} // namespace drovak
