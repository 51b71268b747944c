#include "cli/Arguments.h"

#include "rom/HexField.h"
#include "words/CliWords.h"
#include "words/HexFieldWords.h"

#include <algorithm>

namespace drovak::cli {

namespace {

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

bool ParsedArguments::Has(const std::string& option) const {
    return flags_.count(option) != 0 || values_.count(option) != 0;
}

std::optional<std::string> ParsedArguments::Text(const std::string& option) const {
    auto found = values_.find(option);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

uint32_t ParsedArguments::Hex(const std::string& option, uint32_t defaultValue) const {
    auto text = Text(option);
    if (!text) return defaultValue;
    if (const std::optional<uint32_t> value = ParseHexStrict(*text)) return *value;
    throw UsageError(HexWantedText(option, *text));
}

std::optional<uint32_t> ParsedArguments::OptionalDecimal(const std::string& option, uint32_t min,
                                                         uint32_t max) const {
    auto text = Text(option);
    if (!text) return std::nullopt;
    bool digitsOnly =
        !text->empty() && text->size() <= 10 &&
        std::all_of(text->begin(), text->end(), [](char c) { return c >= '0' && c <= '9'; });
    uint64_t value = digitsOnly ? std::stoull(*text) : 0;
    if (!digitsOnly || value < min || value > max) {
        throw UsageError(DecimalWantedText(option, min, max, *text));
    }
    return uint32_t(value);
}

uint32_t ParsedArguments::Decimal(const std::string& option, uint32_t min, uint32_t max) const {
    auto value = OptionalDecimal(option, min, max);
    if (!value) throw UsageError(RequiredText(option));
    return *value;
}

ParsedArguments ParseArguments(const std::vector<std::string>& arguments,
                               const ArgumentShape& shape) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (!isOption) {
            parsed.positional_.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = argument;
        std::optional<std::string> inlineValue;
        if (size_t equals = argument.find('='); equals != std::string::npos) {
            name = argument.substr(0, equals);
            inlineValue = argument.substr(equals + 1);
        }
        if (parsed.Has(name)) throw UsageError(GivenTwiceText(name));
        if (Contains(shape.flags, name)) {
            if (inlineValue) throw UsageError(TakesNoValueText(name));
            parsed.flags_.insert(name);
        } else if (Contains(shape.valueOptions, name)) {
            if (inlineValue) {
                parsed.values_[name] = *inlineValue;
            } else if (i + 1 < arguments.size()) {
                parsed.values_[name] = arguments[++i];
            } else {
                throw UsageError(NeedsValueText(name));
            }
        } else {
            throw UsageError(UnknownOptionText(name));
        }
    }
    if (parsed.positional_.size() != shape.positional.size()) {
        throw UsageError(ArgumentCountText(shape.positional, parsed.positional_.size()));
    }
    return parsed;
}

bool AsksForHelp(const std::vector<std::string>& arguments) {
    for (const auto& argument : arguments) {
        if (argument == "--") return false;
        if (argument == "--help" || argument == "-h") return true;
    }
    return false;
}

} // namespace drovak::cli
