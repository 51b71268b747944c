#pragma once

// The words of drovak-cli's command line: what is wrong with the arguments, and the lines that
// frame a failure.

#include <cstdint>
#include <string>
#include <vector>

namespace drovak {

// "--table wants a hexadecimal number (an optional 0x or $, ...), not "0xZZ"".
std::string HexWantedText(const std::string& option, const std::string& text);
// "--columns wants a decimal number from 1 to 2048, not "0"".
std::string DecimalWantedText(const std::string& option, uint64_t min, uint64_t max,
                              const std::string& text);
// "--level is required".
std::string RequiredText(const std::string& option);
std::string GivenTwiceText(const std::string& option);
std::string TakesNoValueText(const std::string& option);
std::string NeedsValueText(const std::string& option);
std::string UnknownOptionText(const std::string& option);
// "expected 2 arguments (ROM DIR), got 1".
std::string ArgumentCountText(const std::vector<std::string>& names, size_t got);

// "unknown command "NAME" (drovak-cli --help lists the commands)".
std::string UnknownCommandText(const std::string& name);
// "COMMAND: REASON\nUsage: drovak-cli COMMAND USAGE".
std::string UsageFailureText(const std::string& command, const std::string& reason,
                             const std::string& usage);
// "COMMAND: out of memory", "COMMAND: REASON" for a failure nobody expected.
std::string OutOfMemoryText(const std::string& command);
std::string UnexpectedText(const std::string& command, const std::string& reason);
// What a refusal to replace a file other data says after its reason.
extern const char* const REPLACE_WITH_YES;
// What a question a command asked says after it: " Give --yes to go ahead. Nothing was written."
extern const char* const ANSWER_WITH_YES;
// "cannot write the results to stdout; ...": stdout failed after the command was carried out.
extern const char* const STDOUT_FAILED;

// "--plane A or --plane B is required", "--plane wants A or B, not "C"".
std::string PlaneRequiredText();
std::string PlaneWantedText(const std::string& plane);
// "--all writes every level and plane: leave out --level and --plane".
std::string AllPlanesAloneText();
// "--column goes with --level".
std::string GoesWithText(const std::string& option, const std::string& mode);
// "give exactly one of --level N, --title, --lzh-sheet, --rle-sheet".
std::string OneRenderModeText();
// "--meta: an IPS patch has no metadata".
std::string IpsMetadataText();

} // namespace drovak
