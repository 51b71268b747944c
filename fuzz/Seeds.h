#pragma once
// The seed corpora of the fuzz targets, made anew by fuzz_make_seeds: small inputs from the
// codecs' known byte vectors, the demo ROM and pictures made with the project's writer and with
// libpng.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace drovak::fuzz {

using Bytes = std::vector<uint8_t>;

inline Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

template <class... More> Bytes Cat(Bytes first, const More&... more) {
    (first.insert(first.end(), more.begin(), more.end()), ...);
    return first;
}

// Target name ("lzh_decode") -> its seeds, by file name.
using SeedSet = std::map<std::string, std::map<std::string, std::vector<uint8_t>>>;

void AddCodecSeeds(SeedSet& seeds);
void AddRomSeeds(SeedSet& seeds);
void AddPngSeeds(SeedSet& seeds);
void AddPatchSeeds(SeedSet& seeds);
void AddModSeeds(SeedSet& seeds);

} // namespace drovak::fuzz
