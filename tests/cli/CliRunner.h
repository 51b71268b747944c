#pragma once

// Runs the built drovak-cli in a scratch folder and collects what it printed.

#include "support/TestSupport.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace drovak::test {

struct CliResult {
    int exitCode = -1;
    std::string out, err;
};

class CliTest : public ScratchTest {
protected:
    // Every argument goes to the shell in single quotes; none of them holds one.
    CliResult Run(const std::vector<std::string>& arguments) const {
        std::string command = DROVAK_CLI;
        for (const auto& argument : arguments) command += " '" + argument + "'";
        command += " >'" + File(".out") + "' 2>'" + File(".err") + "'";
        const int status = std::system(command.c_str());
        const Bytes out = ReadBytes(File(".out")), err = ReadBytes(File(".err"));
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(out.begin(), out.end()),
                std::string(err.begin(), err.end())};
    }
};

} // namespace drovak::test
