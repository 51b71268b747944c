// drovak-man-page OUT: writes the manual page drovak-cli.1 (roff) from the texts of the help, so
// that it lists every command and exit code the tool has. Run at build time.
#include "cli/Command.h"
#include "cli/Help.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

using namespace drovak::cli;

namespace {

// Text for roff: backslashes and hyphens escaped, no line starting with a control character.
std::string Roff(const std::string& text) {
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\'')) out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        lineStart = c == '\n';
    }
    return out;
}

void WritePage(std::ostream& out) {
    out << ".TH DROVAK-CLI 1 \"\" \"Drovak " DROVAK_VERSION "\" \"User Commands\"\n"
        << ".SH NAME\n"
        << "drovak-cli \\- the Drovak core from the command line\n"
        << ".SH SYNOPSIS\n"
        << ".B drovak-cli\n.I COMMAND ARGUMENTS...\n.br\n"
        << ".B drovak-cli\n.I COMMAND\n.B \\-\\-help\n.br\n"
        << ".B drovak-cli \\-\\-version\n"
        << ".SH DESCRIPTION\n"
        << Roff(TOOL_DESCRIPTION) << ".PP\n"
        << Roff(NUMBERS_TEXT) << ".SH COMMANDS\n";
    for (const Command& command : AllCommands()) {
        out << ".TP\n.B " << Roff(command.name) << "\n"
            << Roff(command.summary) << ".\n"
            << ".RS\n.PP\n.nf\n"
            << "\\fBdrovak\\-cli " << Roff(command.name) << "\\fR " << Roff(command.usage) << "\n\n"
            << Roff(command.description) << "\n.fi\n.RE\n";
    }
    out << ".SH ENVIRONMENT\n" << Roff(ENVIRONMENT_TEXT);
    out << ".SH \"EXIT STATUS\"\n";
    for (const ExitCodeMeaning& exit : ExitCodeMeanings()) {
        out << ".TP\n.B " << exit.code << "\n" << Roff(exit.meaning) << "\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: drovak-man-page OUT\n";
        return 1;
    }
    std::ostringstream page;
    WritePage(page);
    std::ofstream file(argv[1], std::ios::binary);
    file << page.str();
    file.close();
    if (!file) {
        std::cerr << "drovak-man-page: cannot write " << argv[1] << "\n";
        return 2;
    }
    return 0;
}
