#include "app/InsertQuestions.h"

#include "words/InsertWords.h"

namespace drovak::app {

// A box's question breaks its lines as the boxes' texts do.
namespace {
constexpr const char* BOX_LINE = "\r\n";
}

std::string LzhGrowthQuestion(const LzhInsertPlan& plan) {
    return LzhGrowthBoxWords(plan);
}

std::string LzhEmptyInputQuestion(const LzhInsertPlan& plan, const std::string& inputName) {
    return LzhEmptyInputWords(plan, inputName, BOX_LINE);
}

std::string RleGrowthQuestion(const RleInsertPlan& plan) {
    return RleGrowthWords(plan, BOX_LINE);
}

std::string RleEmptyInputQuestion(const RleInsertPlan& plan, const std::string& inputName) {
    return RleEmptyInputWords(plan, inputName, BOX_LINE);
}

} // namespace drovak::app
