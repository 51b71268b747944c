// Seeds of the patch targets: small patches made by the program and by hand, after a source.
#include "fuzz/Seeds.h"
#include "patch/Bps.h"

#include <string>
#include <vector>

namespace drovak::fuzz {

namespace {

// The input layout of fuzz/PatchInput.h: the source's length, the source, the rest.
Bytes WithSource(const Bytes& source, const Bytes& rest) {
    return Cat({uint8_t(source.size()), uint8_t(source.size() >> 8)}, source, rest);
}

} // namespace

void AddPatchSeeds(SeedSet& seeds) {
    Bytes source = Text("The quick brown fox jumps over the lazy dog. ");
    for (int i = 0; i < 3; ++i) source.insert(source.end(), source.begin(), source.end());
    Bytes moved(source.begin() + 40, source.end());
    moved.insert(moved.end(), source.begin(), source.begin() + 40);
    moved.insert(moved.begin() + 100, 30, 'z');

    auto& apply = seeds["bps_apply"];
    for (const auto& [name, modified] : {std::pair{"moved", moved}, {"same", source}}) {
        apply[name] =
            WithSource(source, Cat({0}, CreateBpsPatch(source, modified))); // checksums as made
    }
    apply["empty"] = WithSource(
        {}, Bytes{1, 'B', 'P', 'S', '1', 0x80, 0x80, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});

    auto& ips = seeds["ips_apply"];
    ips["records"] =
        WithSource(source, Bytes{0, 0, 3, 0, 2, 'a', 'b', 0, 0, 9, 0, 0, 0, 5, '!', 'E', 'O', 'F'});
    ips["truncated"] = WithSource(source, Bytes{0, 1, 0, 0, 1, 'x', 'E', 'O', 'F', 0, 0, 20});

    auto& trip = seeds["bps_round_trip"];
    // Steps of BpsRoundTripFuzz.cpp: a piece moved, literals, a repeat, a run.
    trip["steps"] =
        WithSource(source, Bytes{0, 0,  200, 9, 1, 0, 0, 5, 'h',  'e', 'l', 'l', 'o', 0, 0,
                                 0, 20, 2,   0, 3, 7, 3, 0, 0xFF, 2,   0,   0,   10,  1});
    trip["nothing"] = WithSource({}, {});
}

} // namespace drovak::fuzz
