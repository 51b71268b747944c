#include "words/InsertLines.h"

#include "words/InsertWords.h"

namespace drovak {

// On the terminal a question stands on one line.
namespace {
constexpr const char* ONE_LINE = " ";
}

std::string LzhEmptyInputText(const LzhInsertPlan& plan, const std::string& inputName) {
    return LzhEmptyInputWords(plan, inputName, ONE_LINE);
}

std::string RleEmptyInputText(const RleInsertPlan& plan, const std::string& inputName) {
    return RleEmptyInputWords(plan, inputName, ONE_LINE);
}

std::string LzhGrowthText(const LzhInsertPlan& plan) {
    return LzhGrowthLineWords(plan);
}

std::string RleGrowthText(const RleInsertPlan& plan) {
    return RleGrowthWords(plan, ONE_LINE);
}

} // namespace drovak
