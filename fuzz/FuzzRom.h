#pragma once
// Small ROM images for the page targets: content made from a seed, a few bytes and table fields
// changed as the fuzzer says, and the check that a change wrote only where it was meant to.

#include "base/ByteOrder.h"
#include "demo/DemoRom.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace drovak::fuzz {

// The demo ROM, made once.
inline const std::vector<uint8_t>& DemoRom() {
    static const std::vector<uint8_t> rom = MakeDemoRom();
    return rom;
}

// `length` bytes of one of three kinds: zeros, a repeating text, or noise (by seed).
inline std::vector<uint8_t> Content(size_t length, unsigned kind, uint32_t seed) {
    std::vector<uint8_t> bytes(length, 0);
    for (size_t i = 0; i < length; ++i) {
        seed = seed * 1103515245u + 12345u;
        if (kind % 3 == 1) bytes[i] = uint8_t("DROVAK tiles "[i % 13]);
        if (kind % 3 == 2) bytes[i] = uint8_t(seed >> 24);
    }
    return bytes;
}

struct Region {
    size_t from = 0, to = 0;
};

// Changes up to six places of the image: single bytes in one of the regions (anywhere when
// there are none), or one of the 32-bit big-endian fields at `fields` set to a value near its
// own or to any value.
inline void Mutate(FuzzedDataProvider& in, std::vector<uint8_t>& image,
                   const std::vector<size_t>& fields, const std::vector<Region>& regions = {}) {
    const unsigned count = in.ConsumeIntegralInRange<unsigned>(0, 6);
    for (unsigned i = 0; i < count && !image.empty(); ++i) {
        const unsigned kind = in.ConsumeIntegralInRange<unsigned>(0, 2);
        if (kind == 0 || fields.empty()) {
            Region region{0, image.size()};
            if (!regions.empty())
                region = regions[in.ConsumeIntegralInRange<size_t>(0, regions.size() - 1)];
            region.to = std::min(region.to, image.size());
            if (region.from >= region.to) continue;
            image[in.ConsumeIntegralInRange<size_t>(region.from, region.to - 1)] =
                in.ConsumeIntegral<uint8_t>();
            continue;
        }
        const size_t at = fields[in.ConsumeIntegralInRange<size_t>(0, fields.size() - 1)];
        if (at + 4 > image.size()) continue;
        const uint32_t old = LoadBigEndian32(&image[at]);
        const uint32_t value = kind == 1 ? old + uint32_t(in.ConsumeIntegralInRange<int>(-64, 64))
                                         : in.ConsumeIntegral<uint32_t>();
        StoreBigEndian32(&image[at], value);
    }
}

// The places of an image that a change may write.
class Ranges {
public:
    void Add(uint64_t from, uint64_t size) { ranges_.push_back({from, from + size}); }

    // Every byte of `after` outside the ranges is the byte of `before` (zero past its end).
    bool OnlyTheseChanged(const std::vector<uint8_t>& before,
                          const std::vector<uint8_t>& after) const {
        std::vector<bool> mayChange(after.size(), false);
        for (const Range& range : ranges_)
            for (uint64_t at = range.from; at < range.to && at < after.size(); ++at)
                mayChange[at] = true;
        for (size_t at = 0; at < after.size(); ++at) {
            const uint8_t old = at < before.size() ? before[at] : 0;
            if (!mayChange[at] && after[at] != old) return false;
        }
        return true;
    }

private:
    struct Range {
        uint64_t from, to;
    };
    std::vector<Range> ranges_;
};

} // namespace drovak::fuzz
