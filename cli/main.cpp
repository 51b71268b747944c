// drovak-cli: the Drovak core from the command line, for scripting and testing.
#include "base/Errors.h"
#include "base/Terminal.h"
#include "cli/Command.h"
#include "cli/Help.h"
#include "words/RomProblemWords.h"

#include <iostream>
#include <new>

using namespace drovak;
using namespace drovak::cli;

namespace {

int Fail(int code, const std::string& message) {
    std::cerr << "drovak-cli: " << message << std::endl;
    return code;
}

int Run(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        PrintGeneralHelp(std::cerr);
        return EXIT_USAGE;
    }
    const std::string& name = arguments[0];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintGeneralHelp(std::cout);
        return EXIT_OK;
    }
    if (name == "--version") {
        std::cout << "drovak-cli " DROVAK_VERSION "\n";
        return EXIT_OK;
    }
    const Command* command = FindCommand(name);
    if (command == nullptr) {
        return Fail(EXIT_USAGE,
                    "unknown command \"" + name + "\" (drovak-cli --help lists the commands)");
    }
    std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (AsksForHelp(rest)) {
        PrintCommandHelp(*command, std::cout);
        return EXIT_OK;
    }
    try {
        ParsedArguments parsed = ParseArguments(rest, command->arguments);
        CommandOutput output{std::cout, std::cerr, StandardErrorTerminalColumns()};
        return command->run(parsed, output);
    } catch (const UsageError& error) {
        return Fail(EXIT_USAGE, name + ": " + error.what() + "\nUsage: drovak-cli " + name + " " +
                                    command->usage);
    } catch (const FileError& error) {
        return Fail(EXIT_FILE, ErrorText(error));
    } catch (const OtherContentError& error) {
        return Fail(EXIT_REFUSED, ErrorText(error) + ". Give --yes to replace it.");
    } catch (const RefusedError& error) {
        return Fail(EXIT_REFUSED, ErrorText(error));
    } catch (const std::bad_alloc&) {
        return Fail(EXIT_UNEXPECTED, name + ": out of memory");
    } catch (const std::exception& error) {
        return Fail(EXIT_UNEXPECTED, name + ": " + ErrorText(error));
    }
}

} // namespace

int main(int argc, char** argv) {
    int code = Run(std::vector<std::string>(argv + 1, argv + argc));
    std::cout.flush();
    if (!std::cout) {
        return Fail(EXIT_FILE, "cannot write the results to stdout; the command itself was "
                               "carried out (a file it changed was written)");
    }
    return code;
}
