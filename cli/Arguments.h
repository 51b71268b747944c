#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace drovak::cli {

// A command line that does not fit the command: exit code 1.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a command accepts: its positional arguments by name, options that take a value
// ("--size 10" or "--size=10") and flags ("--yes").
struct ArgumentShape {
    std::vector<std::string> positional;
    std::vector<std::string> valueOptions;
    std::vector<std::string> flags;
};

class ParsedArguments {
public:
    const std::string& Positional(size_t index) const { return positional_.at(index); }
    bool Has(const std::string& option) const;
    // The text of a value option, if given.
    std::optional<std::string> Text(const std::string& option) const;
    // A hexadecimal option read strictly, like the window's "(HEX)" fields (ParseHexStrict);
    // UsageError naming the option and its text for anything else.
    uint32_t Hex(const std::string& option, uint32_t defaultValue) const;
    // A decimal option in [min, max]; UsageError when it is missing (and required), not a
    // number or out of range.
    uint32_t Decimal(const std::string& option, uint32_t min, uint32_t max) const;
    std::optional<uint32_t> OptionalDecimal(const std::string& option, uint32_t min,
                                            uint32_t max) const;

private:
    friend ParsedArguments ParseArguments(const std::vector<std::string>&, const ArgumentShape&);
    std::vector<std::string> positional_;
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
};

// Parses the arguments after the command name. "--" ends the options. Throws UsageError for an
// unknown or repeated option, a missing value, or the wrong number of positional arguments.
ParsedArguments ParseArguments(const std::vector<std::string>& arguments,
                               const ArgumentShape& shape);

// Whether the arguments ask for help ("--help" or "-h" before any "--").
bool AsksForHelp(const std::vector<std::string>& arguments);

} // namespace drovak::cli
