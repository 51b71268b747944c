#pragma once

// Runs the built drovak-cli in a scratch folder and collects what it printed.

#include <gtest/gtest.h>

#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace drovak::testing {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / ("drovak_cli_" + std::to_string(::getpid()) + "_" +
                                               test->test_suite_name() + "_" + test->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }

    std::string File(const std::string& name, const Bytes& bytes) const {
        std::ofstream(folder_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return Path(name);
    }

    CliResult Run(std::vector<std::string> arguments) const {
        const std::string outPath = Path(".stdout"), errPath = Path(".stderr");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        arguments.insert(arguments.begin(), DROVAK_CLI);
        std::vector<char*> argv;
        for (auto& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        int spawned = posix_spawn(&pid, DROVAK_CLI, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        CliResult result;
        int status = 0;
        if (spawned != 0 || waitpid(pid, &status, 0) != pid) {
            ADD_FAILURE() << "cannot run " << DROVAK_CLI;
            return result;
        }
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        Bytes out = ReadBytes(outPath), err = ReadBytes(errPath);
        result.out.assign(out.begin(), out.end());
        result.err.assign(err.begin(), err.end());
        fs::remove(outPath);
        fs::remove(errPath);
        return result;
    }

    fs::path folder_;
};

} // namespace drovak::testing
