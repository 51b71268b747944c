#include "words/CliWords.h"

#include "words/HexFieldWords.h"

namespace drovak {

const char* const REPLACE_WITH_YES = ". Give --yes to replace it.";
const char* const ANSWER_WITH_YES = " Give --yes to go ahead. Nothing was written.";
const char* const STDOUT_FAILED = "cannot write the results to stdout; the command itself was "
                                  "carried out (a file it changed was written)";

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

std::string HexWantedText(const std::string& option, const std::string& text) {
    return option + " wants a hexadecimal number (" + HEX_TEXT_FORM + "), not " + Quoted(text);
}

std::string DecimalWantedText(const std::string& option, uint64_t min, uint64_t max,
                              const std::string& text) {
    return option + " wants a decimal number from " + std::to_string(min) + " to " +
           std::to_string(max) + ", not " + Quoted(text);
}

std::string RequiredText(const std::string& option) {
    return option + " is required";
}

std::string GivenTwiceText(const std::string& option) {
    return option + " is given twice";
}

std::string TakesNoValueText(const std::string& option) {
    return option + " takes no value";
}

std::string NeedsValueText(const std::string& option) {
    return option + " needs a value";
}

std::string UnknownOptionText(const std::string& option) {
    return "unknown option " + option;
}

std::string ArgumentCountText(const std::vector<std::string>& names, size_t got) {
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : " ") + name;
    return "expected " + std::to_string(names.size()) + " arguments (" + list + "), got " +
           std::to_string(got);
}

std::string UnknownCommandText(const std::string& name) {
    return "unknown command " + Quoted(name) + " (drovak-cli --help lists the commands)";
}

std::string UsageFailureText(const std::string& command, const std::string& reason,
                             const std::string& usage) {
    return command + ": " + reason + "\nUsage: drovak-cli " + command + " " + usage;
}

std::string OutOfMemoryText(const std::string& command) {
    return command + ": out of memory";
}

std::string UnexpectedText(const std::string& command, const std::string& reason) {
    return command + ": " + reason;
}

std::string PlaneRequiredText() {
    return "--plane A or --plane B is required";
}

std::string PlaneWantedText(const std::string& plane) {
    return "--plane wants A or B, not " + Quoted(plane);
}

std::string AllPlanesAloneText() {
    return "--all writes every level and plane: leave out --level and --plane";
}

std::string GoesWithText(const std::string& option, const std::string& mode) {
    return option + " goes with " + mode;
}

std::string OneRenderModeText() {
    return "give exactly one of --level N, --title, --lzh-sheet, --rle-sheet";
}

std::string IpsMetadataText() {
    return "--meta: an IPS patch has no metadata";
}

} // namespace drovak
