#pragma once

// What the tests share: bytes written as hex and put together, thrown messages, a scratch folder
// of their own, and whole files read and written.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace drovak::test {

using Bytes = std::vector<uint8_t>;

// "00 01 FF" -> {0x00, 0x01, 0xFF}
inline Bytes Hex(const std::string& text) {
    Bytes bytes;
    std::istringstream in(text);
    for (unsigned value; in >> std::hex >> value;) bytes.push_back(uint8_t(value));
    return bytes;
}

// A text's characters as bytes.
inline Bytes Text(const std::string& text) {
    return {text.begin(), text.end()};
}

template <class... More> Bytes Cat(Bytes first, const More&... more) {
    (first.insert(first.end(), more.begin(), more.end()), ...);
    return first;
}

// Writes `what` into `bytes` at `at`, growing `bytes` as needed.
inline Bytes& Put(Bytes& bytes, size_t at, const Bytes& what) {
    if (bytes.size() < at + what.size()) bytes.resize(at + what.size());
    std::copy(what.begin(), what.end(), bytes.begin() + long(at));
    return bytes;
}

inline void Put32(Bytes& bytes, size_t at, uint32_t value) {
    Put(bytes, at,
        {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)});
}

// Big-endian 16-bit words as bytes.
inline Bytes Words(std::initializer_list<uint16_t> words) {
    Bytes bytes;
    bytes.reserve(2 * words.size());
    for (uint16_t word : words) {
        bytes.push_back(uint8_t(word >> 8));
        bytes.push_back(uint8_t(word));
    }
    return bytes;
}

// 64 different colour words, as a palette in a ROM holds them: word k is red k % 8, green k / 8.
inline Bytes SixtyFourColours() {
    Bytes bytes;
    for (uint16_t k = 0; k < 64; ++k)
        bytes = Cat(bytes, Words({uint16_t((k % 8) << 1 | (k / 8) << 5)}));
    return bytes;
}

inline Bytes Slice(const Bytes& bytes, size_t at, size_t size) {
    return {bytes.begin() + long(at), bytes.begin() + long(at + size)};
}

// Bytes that are easy to tell apart: position-dependent, never a long run.
inline Bytes Pattern(size_t size, uint8_t seed = 0) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(i * 7 + i / 251 + seed);
    return bytes;
}

// Whether `text` holds `part`; a failure shows both.
inline ::testing::AssertionResult Holds(const std::string& text, const std::string& part) {
    if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << part << "\" is not in:\n" << text;
}

// The message of the E that `action` throws; "" when it throws nothing.
template <class E, class F> std::string MessageOf(F&& action) {
    try {
        action();
    } catch (const E& e) {
        return e.what();
    }
    return "";
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string ReadText(const std::string& path) {
    const Bytes bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

// The number of entries in a folder.
inline long EntriesIn(const std::filesystem::path& folder) {
    return std::distance(std::filesystem::directory_iterator(folder), {});
}

// The permission bits of a file (of a link itself, not of what it points to).
inline mode_t ModeOf(const std::string& path) {
    struct stat s {};
    ::lstat(path.c_str(), &s);
    return s.st_mode & 07777;
}

// A file's bytes and those of its backup beside it.
inline std::pair<Bytes, Bytes> WithBackup(const std::string& path) {
    return {ReadBytes(path), ReadBytes(path + ".bak")};
}

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
struct TempDir {
    std::filesystem::path path = [] {
        std::string pattern = std::filesystem::temp_directory_path() / "drovak-test-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temp folder");
        return std::filesystem::path(pattern);
    }();
    TempDir() = default;
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string File(const std::string& name) const { return (path / name).string(); }
};

// A test with a scratch folder of its own.
class ScratchTest : public ::testing::Test {
protected:
    // The path of a file in the folder.
    std::string File(const std::string& name) const { return dir.File(name); }
    // Writes a file in the folder and returns its path.
    std::string Write(const std::string& name, const Bytes& bytes) const {
        WriteBytes(File(name), bytes);
        return File(name);
    }

    TempDir dir;
};

} // namespace drovak::test
