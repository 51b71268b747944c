#include "cli/BashCompletion.h"

#include <set>

namespace drovak::cli {

namespace {

// Placeholders of numbers, as NUMBERS_TEXT names them.
const std::set<std::string> NUMBER_PLACEHOLDERS = {"OFFSET", "TABLE", "INDEX", "HEX",
                                                   "SIZE",   "N",     "C"};

bool EndsWord(char c) {
    return c == ' ' || c == ']' || c == ')';
}

// Words joined by spaces, quoted for the shell (command and option names hold no quote).
std::string Words(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    return "'" + text + "'";
}

void WriteCommandCase(const Command& command, std::ostream& out) {
    out << "    " << command.name << ")\n";
    if (!command.arguments.valueOptions.empty()) out << "        case $option in\n";
    for (const std::string& option : command.arguments.valueOptions) {
        const OptionValues values = ValuesOf(command, option);
        out << "        " << option << ") ";
        switch (values.kind) {
        case OptionValues::Kind::Number:
            out << "return ;;\n";
            break;
        case OptionValues::Kind::Choices:
            out << "COMPREPLY=($(compgen -W " << Words(values.choices)
                << " -- \"$cur\")); return ;;\n";
            break;
        case OptionValues::Kind::Files:
            out << "_drovak_cli_files; return ;;\n";
            break;
        }
    }
    std::vector<std::string> options = command.arguments.valueOptions;
    options.insert(options.end(), command.arguments.flags.begin(), command.arguments.flags.end());
    options.push_back("--help");
    if (!command.arguments.valueOptions.empty()) out << "        esac\n";
    out << "        options=" << Words(options) << " ;;\n";
}

} // namespace

OptionValues ValuesOf(const Command& command, const std::string& option) {
    const std::string& usage = command.usage;
    for (size_t at = usage.find(option); at != std::string::npos; at = usage.find(option, at + 1)) {
        const size_t end = at + option.size();
        const bool whole =
            (at == 0 || usage[at - 1] == ' ' || usage[at - 1] == '[' || usage[at - 1] == '(') &&
            end < usage.size() && usage[end] == ' ';
        if (!whole) continue;
        size_t last = end + 1;
        while (last < usage.size() && !EndsWord(usage[last])) ++last;
        const std::string placeholder = usage.substr(end + 1, last - end - 1);
        if (NUMBER_PLACEHOLDERS.count(placeholder)) return {OptionValues::Kind::Number, {}};
        if (placeholder.find('|') == std::string::npos) return {};
        OptionValues values{OptionValues::Kind::Choices, {}};
        size_t start = 0;
        for (size_t bar; (bar = placeholder.find('|', start)) != std::string::npos;
             start = bar + 1) {
            values.choices.push_back(placeholder.substr(start, bar - start));
        }
        values.choices.push_back(placeholder.substr(start));
        return values;
    }
    return {};
}

void WriteBashCompletion(const std::vector<Command>& commands, std::ostream& out) {
    std::vector<std::string> first = {"--help", "--version"};
    for (const Command& command : commands) first.push_back(command.name);
    out << "# bash completion for drovak-cli, written from its command tables when it is built.\n"
           "\n"
           "_drovak_cli_files() {\n"
           "    if declare -F _filedir >/dev/null; then\n"
           "        _filedir\n"
           "    else\n"
           "        compopt -o filenames 2>/dev/null\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "\n"
           "_drovak_cli() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    COMPREPLY=()\n"
           "    if ((COMP_CWORD == 1)); then\n"
           "        COMPREPLY=($(compgen -W "
        << Words(first)
        << " -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    # The option whose value is being written: \"--plane A\", \"--plane=A\".\n"
           "    local option=$prev\n"
           "    if [[ $cur == = ]]; then\n"
           "        cur=\n"
           "    elif [[ $prev == = ]]; then\n"
           "        option=${COMP_WORDS[COMP_CWORD-2]}\n"
           "    fi\n"
           "    # After \"--\" every word is a file.\n"
           "    local i\n"
           "    for ((i = 2; i < COMP_CWORD; i++)); do\n"
           "        if [[ ${COMP_WORDS[i]} == -- ]]; then\n"
           "            _drovak_cli_files\n"
           "            return\n"
           "        fi\n"
           "    done\n"
           "    local options\n"
           "    case ${COMP_WORDS[1]} in\n";
    for (const Command& command : commands) WriteCommandCase(command, out);
    out << "    *) return ;;\n"
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
           "    else\n"
           "        _drovak_cli_files\n"
           "    fi\n"
           "}\n"
           "\n"
           "complete -F _drovak_cli drovak-cli\n";
}

} // namespace drovak::cli
