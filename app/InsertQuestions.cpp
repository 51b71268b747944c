#include "app/InsertQuestions.h"

#include "words/InsertWords.h"

namespace drovak::app {

// A box's question breaks its lines as the boxes' texts do.
namespace {
constexpr const char* BOX_LINE = "\r\n";
}

const char* const LZH_GROWTH_QUESTION =
    "New size of the compressed data is greater then previous!\r\n"
    "Drovak may recalculate sizes table. Do you want to continue?";

std::string LzhGrowthQuestion(const LzhInsertPlan& plan) {
    return std::string(LZH_GROWTH_QUESTION) + BOX_LINE + LzhTailWords(plan);
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
