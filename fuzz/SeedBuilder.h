#pragma once
// Builds a seed input the way FuzzedDataProvider takes it apart: numbers are taken from the end
// of the input (the first number's most significant byte last), plain bytes from the front.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace drovak::fuzz {

class SeedBuilder {
public:
    // A number the target takes with ConsumeIntegralInRange(min, max) (or ConsumeIntegral,
    // ConsumeBool: the full range of the type).
    SeedBuilder& Number(uint64_t value, uint64_t min, uint64_t max) {
        const uint64_t range = max - min;
        std::vector<uint8_t> bytes;
        for (uint64_t rest = range; rest > 0; rest >>= 8) bytes.push_back(0);
        uint64_t v = value - min;
        for (size_t i = bytes.size(); i-- > 0; v >>= 8) bytes[i] = uint8_t(v);
        taken_.insert(taken_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    SeedBuilder& Bool(bool value) { return Number(value, 0, 255); }
    SeedBuilder& Byte(uint8_t value) { return Number(value, 0, 255); }
    SeedBuilder& Word(uint16_t value) { return Number(value, 0, 0xFFFF); }
    // The bytes the target takes from the front (ConsumeRemainingBytes).
    SeedBuilder& Rest(const std::vector<uint8_t>& bytes) {
        front_.insert(front_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    SeedBuilder& Rest(const std::string& text) {
        return Rest(std::vector<uint8_t>(text.begin(), text.end()));
    }

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> seed = front_;
        seed.insert(seed.end(), taken_.rbegin(), taken_.rend());
        return seed;
    }

private:
    std::vector<uint8_t> front_;
    std::vector<uint8_t> taken_; // in the order the target takes them
};

} // namespace drovak::fuzz
