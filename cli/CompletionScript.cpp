// drovak-completion OUT: writes drovak-cli's bash completion script from its command tables, so
// that it offers every command and option the tool has. Run at build time.
#include "cli/BashCompletion.h"
#include "cli/Command.h"

#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: drovak-completion OUT\n";
        return 1;
    }
    std::ostringstream script;
    drovak::cli::WriteBashCompletion(drovak::cli::AllCommands(), script);
    std::ofstream file(argv[1], std::ios::binary);
    file << script.str();
    file.close();
    if (!file) {
        std::cerr << "drovak-completion: cannot write " << argv[1] << "\n";
        return 2;
    }
    return 0;
}
