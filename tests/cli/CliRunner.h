#pragma once

// Runs the built drovak-cli in a scratch folder and collects what it printed.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace drovak::testing {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

struct CliResult {
    int exitCode = -1;
    std::string out, err;
};

inline Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

class CliTest : public ::testing::Test {
protected:
    CliTest() { fs::create_directories(folder_); }
    ~CliTest() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::string File(const std::string& name, const Bytes& bytes) const {
        std::ofstream(folder_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return Path(name);
    }

    // Every argument goes to the shell in single quotes; none of them holds one.
    CliResult Run(const std::vector<std::string>& arguments) const {
        std::string command = DROVAK_CLI;
        for (const auto& argument : arguments) command += " '" + argument + "'";
        command += " >'" + Path(".out") + "' 2>'" + Path(".err") + "'";
        const int status = std::system(command.c_str());
        const Bytes out = ReadBytes(Path(".out")), err = ReadBytes(Path(".err"));
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(out.begin(), out.end()),
                std::string(err.begin(), err.end())};
    }

    const fs::path folder_ = fs::temp_directory_path() /
                             ("drovak_cli_" + std::to_string(::getpid()) + "_" +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

} // namespace drovak::testing
