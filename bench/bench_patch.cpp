// BPS patch creation on a 4 MiB image, and the patch's size beside xdelta3's (-9 -S none: no
// secondary compression) for the same change, measured in the same run. Scenarios: one LZHUF
// entry edited (its data re-encoded, the entries after it moved), three entries edited, an RLE
// block edited, all 32 entries of the table edited. Without xdelta3 on the PATH the comparison is
// left out.

#include "PatchScenarios.h"
#include "patch/Bps.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace {

using drovak::bench::EditEntries;
using drovak::bench::EditRleBlock;
using drovak::bench::FourMegabyteRom;

struct Scenario {
    const char* name;
    std::vector<uint8_t> original, modified;
};

std::vector<uint32_t> EveryEntry() {
    std::vector<uint32_t> indexes(32);
    for (uint32_t i = 0; i < 32; ++i) indexes[i] = i;
    return indexes;
}

const std::vector<Scenario>& Scenarios() {
    static const std::vector<Scenario> scenarios = [] {
        const std::vector<uint8_t> rom = FourMegabyteRom();
        return std::vector<Scenario>{
            {"one entry, moves", rom, EditEntries(rom, {8})},
            {"three entries", rom, EditEntries(rom, {1, 9, 20})},
            {"RLE block", rom, EditRleBlock(rom)},
            {"every entry", rom, EditEntries(rom, EveryEntry())},
        };
    }();
    return scenarios;
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// The size of xdelta3's patch for the scenario, when xdelta3 runs.
std::optional<uintmax_t> XdeltaSize(const Scenario& scenario) {
    if (std::system("command -v xdelta3 >/dev/null 2>&1") != 0) return std::nullopt;
    const auto folder = std::filesystem::temp_directory_path() /
                        ("drovak-bench-patch-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    WriteFile(folder / "original", scenario.original);
    WriteFile(folder / "modified", scenario.modified);
    const std::string command = "xdelta3 -9 -S none -e -f -s '" + (folder / "original").string() +
                                "' '" + (folder / "modified").string() + "' '" +
                                (folder / "patch").string() + "'";
    std::optional<uintmax_t> size;
    if (std::system(command.c_str()) == 0) size = std::filesystem::file_size(folder / "patch");
    std::filesystem::remove_all(folder);
    return size;
}

void BM_CreateBpsPatch(benchmark::State& state) {
    const Scenario& scenario = Scenarios()[size_t(state.range(0))];
    size_t patchSize = 0;
    for (auto _ : state) {
        const std::vector<uint8_t> patch =
            drovak::CreateBpsPatch(scenario.original, scenario.modified);
        patchSize = patch.size();
        benchmark::DoNotOptimize(patch.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(scenario.modified.size()));
    state.SetLabel(scenario.name);
    state.counters["bps_bytes"] = double(patchSize);
    if (const std::optional<uintmax_t> xdelta = XdeltaSize(scenario)) {
        state.counters["xdelta3_bytes"] = double(*xdelta);
        state.counters["bps_per_xdelta3"] = double(patchSize) / double(*xdelta);
    }
}
BENCHMARK(BM_CreateBpsPatch)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_ApplyBpsPatch(benchmark::State& state) {
    const Scenario& scenario = Scenarios()[0];
    const std::vector<uint8_t> patch = drovak::CreateBpsPatch(scenario.original, scenario.modified);
    for (auto _ : state) {
        benchmark::DoNotOptimize(drovak::ApplyBpsPatch(scenario.original, patch).target.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(scenario.modified.size()));
}
BENCHMARK(BM_ApplyBpsPatch)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
