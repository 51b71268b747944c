#pragma once

// Runs the built drovak-cli in a scratch folder and collects what it printed.

#include "support/TestSupport.h"

#include <zlib.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace drovak::test {

// The CRC-32 of the bytes as eight hexadecimal digits, as the messages give it.
inline std::string CrcText(const Bytes& bytes) {
    char text[12];
    std::snprintf(text, sizeof text, "%08X", unsigned(crc32(0, bytes.data(), uInt(bytes.size()))));
    return text;
}

// A shell command's exit status and what it writes to its standard output.
inline std::pair<int, std::string> Output(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return {-1, "cannot run " + command};
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, got);
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// A command line's words.
using Args = std::vector<std::string>;

struct CliResult {
    int exitCode = -1; // the signal's number, negated, when one ended the program
    std::string out, err;
};

// Whether the run succeeded (exit code 0) and said `part` on stdout; a failure shows the code
// and what it printed.
inline ::testing::AssertionResult Ok(const CliResult& result, const std::string& part = "") {
    if (result.exitCode == 0 && result.out.find(part) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "exit code " << result.exitCode << ": " << result.err << "\nstdout, wanted to hold \""
           << part << "\": " << result.out;
}

// Whether the run ended with `code` and said `part` on stderr; a failure shows what it said.
inline ::testing::AssertionResult Fails(const CliResult& result, int code,
                                        const std::string& part) {
    if (result.exitCode == code && result.err.find(part) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "exit code " << result.exitCode << ", wanted " << code
                                         << " and \"" << part << "\" in: " << result.err;
}

class CliTest : public ScratchTest {
protected:
    // The environment entry that loads the fault-injection library (support/FaultInjection.cpp).
    static std::string Preload() { return std::string("LD_PRELOAD=") + DROVAK_FAULT_LIBRARY; }
    // The environment that makes call number `at` of a run fail with `fault` ("eio", "enospc",
    // ...), or kills the run there ("kill"); `more` entries after it.
    static Args FaultAt(const std::string& fault, size_t at, const Args& more = {}) {
        Args environment = {Preload(), "DROVAK_FAULT=" + fault,
                            "DROVAK_FAULT_AT=" + std::to_string(at)};
        environment.insert(environment.end(), more.begin(), more.end());
        return environment;
    }
    // A drovak-cli started in the scratch folder with `environment` ("NAME=value") added to the
    // test's own; its stdout and stderr go to scratch files named by `tag` (stdout to `out`
    // when given).
    struct Started {
        pid_t pid = -1;
        std::string tag;
    };
    Started Start(const Args& arguments, const Args& environment = {},
                  const std::string& tag = "run", std::string out = "") const {
        Args argv = {DROVAK_CLI};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        Args envp = environment;
        for (char** variable = environ; *variable; ++variable) envp.push_back(*variable);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (out.empty()) out = File("." + tag + ".out");
        const std::string err = File("." + tag + ".err");
        posix_spawn_file_actions_addchdir_np(&actions, dir.path.c_str());
        for (const auto& [fd, path] : {std::pair(1, out.c_str()), std::pair(2, err.c_str())})
            posix_spawn_file_actions_addopen(&actions, fd, path, O_WRONLY | O_CREAT | O_TRUNC,
                                             0644);
        // The signals a test sends reach it, whatever the test runner ignores or holds back.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t none, stops;
        sigemptyset(&none);
        sigemptyset(&stops);
        if (!stopsIgnored) {
            sigaddset(&stops, SIGINT);
            sigaddset(&stops, SIGTERM);
        }
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &stops);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        Started started{-1, tag};
        struct sigaction ignore {
        }, oldInt{}, oldTerm{};
        ignore.sa_handler = SIG_IGN;
        if (stopsIgnored) {
            ::sigaction(SIGINT, &ignore, &oldInt);
            ::sigaction(SIGTERM, &ignore, &oldTerm);
        }
        const int failed = posix_spawn(&started.pid, DROVAK_CLI, &actions, &attributes,
                                       Pointers(argv).data(), Pointers(envp).data());
        if (stopsIgnored) {
            ::sigaction(SIGINT, &oldInt, nullptr);
            ::sigaction(SIGTERM, &oldTerm, nullptr);
        }
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(failed, 0) << "cannot start " << DROVAK_CLI;
        return started;
    }
    // Started with SIGINT and SIGTERM ignored (as nohup leaves SIGHUP), not set to their defaults.
    bool stopsIgnored = false;
    CliResult Finish(const Started& started) const {
        int status = 0;
        CliResult result;
        if (started.pid > 0 && ::waitpid(started.pid, &status, 0) == started.pid)
            result.exitCode = WIFEXITED(status)     ? WEXITSTATUS(status)
                              : WIFSIGNALED(status) ? -WTERMSIG(status)
                                                    : -1;
        result.out = ReadText(File("." + started.tag + ".out"));
        result.err = ReadText(File("." + started.tag + ".err"));
        return result;
    }
    CliResult Run(const Args& arguments, const Args& environment = {}) const {
        return Finish(Start(arguments, environment));
    }
    // The calls of a run that must succeed, as the preload library logs them in calls.log: the
    // words of each line (number, call, file names).
    std::vector<Args> LoggedCalls(const Args& command, Args environment) const {
        const std::string log = File("calls.log");
        std::filesystem::remove(log);
        environment.insert(environment.end(), {Preload(), "DROVAK_FAULT_LOG=" + log});
        EXPECT_TRUE(Ok(Run(command, environment)));
        std::vector<Args> calls;
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            calls.emplace_back(std::istream_iterator<std::string>(words),
                               std::istream_iterator<std::string>());
        }
        return calls;
    }

public:
    // The texts as an argument or environment list for exec: their C strings, then null.
    static std::vector<char*> Pointers(std::vector<std::string>& texts) {
        std::vector<char*> pointers;
        for (std::string& text : texts) pointers.push_back(text.data());
        pointers.push_back(nullptr);
        return pointers;
    }
};

} // namespace drovak::test
