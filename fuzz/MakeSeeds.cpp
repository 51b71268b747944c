// fuzz_make_seeds OUTDIR: writes each target's seed corpus into OUTDIR/NAME/.
#include "fuzz/Seeds.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds OUTDIR\n");
        return 1;
    }
    drovak::fuzz::SeedSet seeds;
    drovak::fuzz::AddCodecSeeds(seeds);
    drovak::fuzz::AddRomSeeds(seeds);
    drovak::fuzz::AddPngSeeds(seeds);
    drovak::fuzz::AddPatchSeeds(seeds);
    drovak::fuzz::AddModSeeds(seeds);
    for (const auto& [target, files] : seeds) {
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / target;
        std::filesystem::create_directories(folder);
        for (const auto& [name, bytes] : files) {
            std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            if (!out) {
                std::fprintf(stderr, "fuzz_make_seeds: can't write %s\n", (folder / name).c_str());
                return 2;
            }
        }
    }
    return 0;
}
