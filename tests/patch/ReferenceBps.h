#pragma once

// A BPS reader of the tests' own, written from the format's description alone and kept plain:
// it checks the three CRC-32s and that each copy stays inside what it reads, and nothing more.
// The patches the program makes must apply with it too.

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

namespace drovak::test {

class ReferenceBps {
public:
    // The target, or nothing when the patch does not apply to `source`.
    static std::optional<std::vector<uint8_t>> Apply(const std::vector<uint8_t>& source,
                                                     const std::vector<uint8_t>& patch) {
        try {
            return ReferenceBps(source, patch).Run();
        } catch (const std::out_of_range&) {
            return std::nullopt;
        }
    }

private:
    ReferenceBps(const std::vector<uint8_t>& source, const std::vector<uint8_t>& patch)
        : source_(source), patch_(patch) {}

    static uint32_t Crc(const uint8_t* bytes, size_t size) {
        return uint32_t(crc32(crc32(0, nullptr, 0), bytes, uInt(size)));
    }
    uint32_t Footer(size_t k) const { // the k-th little-endian word of the footer
        const size_t at = patch_.size() - 12 + 4 * k;
        return patch_.at(at) | patch_.at(at + 1) << 8 | patch_.at(at + 2) << 16 |
               uint32_t(patch_.at(at + 3)) << 24;
    }
    uint8_t Next() {
        if (read_ >= patch_.size() - 12) throw std::out_of_range("into the footer");
        return patch_[read_++];
    }
    uint64_t Number() {
        uint64_t value = 0, shift = 1;
        for (int bytes = 0; bytes < 10; ++bytes) {
            const uint8_t b = Next();
            value += (b & 0x7F) * shift;
            if (b & 0x80) return value;
            shift *= 128;
            value += shift;
        }
        throw std::out_of_range("number too long");
    }

    std::optional<std::vector<uint8_t>> Run() {
        if (patch_.size() < 16 || !std::equal(patch_.begin(), patch_.begin() + 4, "BPS1"))
            return std::nullopt;
        if (Crc(patch_.data(), patch_.size() - 4) != Footer(2)) return std::nullopt;
        if (Crc(source_.data(), source_.size()) != Footer(0)) return std::nullopt;
        read_ = 4;
        if (Number() != source_.size()) return std::nullopt;
        const uint64_t targetSize = Number();
        if (targetSize > (64u << 20)) return std::nullopt;
        for (uint64_t skip = Number(); skip > 0; --skip) Next();
        std::vector<uint8_t> target;
        int64_t sourceAt = 0, targetAt = 0;
        while (read_ < patch_.size() - 12) {
            const uint64_t word = Number(), kind = word & 3, length = (word >> 2) + 1;
            if (target.size() + length > targetSize) return std::nullopt;
            // Kinds 0 and 1 read the source at the output's position and literals; 2 and 3
            // copy from the source or the target, from a cursor moved by a signed delta first.
            int64_t& at = kind == 2 ? sourceAt : targetAt;
            if (kind >= 2) {
                const uint64_t delta = Number();
                at += (delta & 1) ? -int64_t(delta >> 1) : int64_t(delta >> 1);
            }
            const std::vector<uint8_t>& from = kind == 2 ? source_ : target;
            for (uint64_t i = 0; i < length; ++i) {
                if (kind == 0) target.push_back(source_.at(target.size()));
                if (kind == 1) target.push_back(Next());
                if (kind < 2) continue;
                if (at < 0 || uint64_t(at) >= from.size()) return std::nullopt;
                target.push_back(uint8_t(from[size_t(at++)]));
            }
        }
        if (target.size() != targetSize) return std::nullopt;
        if (Crc(target.data(), target.size()) != Footer(1)) return std::nullopt;
        return target;
    }

    const std::vector<uint8_t>& source_;
    const std::vector<uint8_t>& patch_;
    size_t read_ = 0;
};

} // namespace drovak::test
