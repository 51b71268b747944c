// The whole-plane PNG export beside plain zlib level-9 deflate of the same raw image rows
// (filter byte 0, then 16-bit red, green, blue, alpha per pixel) in one stream on one core: the
// export's baseline. Both run on level 1 of two ROMs: the demo ROM, whose planes are mostly
// flat colour, and a ROM of varied tiles. The export runs on 1 and on 2 threads; its counters
// time_vs_zlib9 and size_vs_zlib9 compare it with the baseline of the same run. On a machine
// shared with other work the fastest of the runs of each (fastest_ms) is the one compared.
// Arguments: ROM (0 demo, 1 varied tiles), plane (0 A, 1 B) and, for the export, threads.
#include "base/ByteOrder.h"
#include "compression/Lzh.h"
#include "demo/DemoLevel.h"
#include "demo/DemoLevelTiles.h"
#include "demo/DemoRom.h"
#include "graphics/Level.h"
#include "graphics/LevelExport.h"
#include "graphics/PlaneRenderer.h"
#include "rom/LevelLayout.h"
#include "rom/PointerTable.h"
#include "rom/RomLayout.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace drovak;

constexpr unsigned LEVEL = 0;
constexpr size_t ROW_BYTES = 1 + size_t(LEVEL_PNG_WIDTH) * 8;
constexpr size_t TILE_BYTES = 32;

std::vector<uint8_t> LzhPack(const std::vector<uint8_t>& data) {
    return LzhEncode(data);
}

// Appends data packed to the ROM and points table entry `entry` at it.
void ReplaceEntry(std::vector<uint8_t>& rom, unsigned entry, const std::vector<uint8_t>& data) {
    const std::vector<uint8_t> packed = LzhPack(data);
    const uint32_t at = uint32_t(rom.size());
    rom.insert(rom.end(), packed.begin(), packed.end());
    MemoryStream image(std::move(rom));
    WriteTableEntry(image, POINTER_TABLE_OFFSET, entry,
                    {at - POINTER_TABLE_OFFSET, uint32_t(data.size()), uint32_t(packed.size())});
    rom = image.Take();
}

// The demo ROM with level 1 made of varied tiles: every tile is noise in four colours of its
// own, each plane's 256 blocks are random name-table words (tiles, flips, palette lines) and
// the layouts draw every block from the first 16.
std::vector<uint8_t> VariedTileRom() {
    std::vector<uint8_t> rom = MakeDemoRom();
    std::mt19937 random(11);
    std::vector<uint8_t> art(demo::LEVEL_TILE_COUNT * TILE_BYTES);
    for (size_t tile = 0; tile < demo::LEVEL_TILE_COUNT; ++tile) {
        uint8_t colours[4];
        for (uint8_t& colour : colours) colour = uint8_t(random() % 16);
        for (size_t at = 0; at < TILE_BYTES; ++at) {
            art[tile * TILE_BYTES + at] =
                uint8_t(colours[random() % 4] << 4 | colours[random() % 4]);
        }
    }
    std::vector<uint8_t> blocks(demo::LEVEL_BLOCK_DATA_SIZE);
    for (size_t at = 0; at < PLANE_A_LAYOUT; at += 2)
        StoreBigEndian16(blocks.data() + at, uint16_t(random()));
    for (size_t at = PLANE_A_LAYOUT; at < demo::LEVEL_BLOCK_DATA_SIZE; ++at)
        blocks[at] = uint8_t(random() % 16);
    ReplaceEntry(rom, TileArtEntry(LEVEL), art);
    ReplaceEntry(rom, BlockDataEntry(LEVEL), blocks);
    return rom;
}

const std::string& RomPath(bool varied) {
    static const std::map<bool, std::string> paths = [] {
        std::map<bool, std::string> written;
        for (bool kind : {false, true}) {
            const std::string file = std::filesystem::temp_directory_path() /
                                     (kind ? "drovak-bench-varied.bin" : "drovak-bench-demo.bin");
            const std::vector<uint8_t> rom = kind ? VariedTileRom() : MakeDemoRom();
            std::ofstream(file, std::ios::binary | std::ios::trunc)
                .write(reinterpret_cast<const char*>(rom.data()), std::streamsize(rom.size()));
            written[kind] = file;
        }
        return written;
    }();
    return paths.at(varied);
}

// The raw rows of the exported picture, as the PNG writer feeds them to deflate: each 8-bit
// value v as the 16-bit sample v x 257, alpha 0xFFFF where the colour is not black.
std::vector<uint8_t> RawRows(bool varied, bool planeB) {
    const LevelData level = DecodeLevel(RomPath(varied), LEVEL);
    std::vector<uint8_t> rows(ROW_BYTES * LEVEL_PNG_HEIGHT, 0);
    for (unsigned screen = 0; screen < LEVEL_SCREENS; ++screen) {
        PreviewImage image = AssembleLevelScreen(level, planeB, screen);
        for (size_t y = 0; y < LEVEL_PNG_HEIGHT; ++y) {
            uint8_t* out = rows.data() + y * ROW_BYTES + 1 + size_t(512 * screen) * 8;
            for (size_t x = 0; x < 512; ++x, out += 8) {
                const uint32_t v = image.Pixels[y * 512 + x];
                const uint8_t samples[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16),
                                            uint8_t(v != 0 ? 255 : 0)};
                for (int s = 0; s < 4; ++s) out[2 * s] = out[2 * s + 1] = samples[s];
            }
        }
    }
    return rows;
}

// The wall-clock time of the fastest iteration of a benchmark loop.
class FastestIteration {
public:
    void Start() { start_ = std::chrono::steady_clock::now(); }
    void Stop() {
        const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start_;
        seconds_ = std::min(seconds_, taken.count());
    }
    double Seconds() const { return seconds_; }

private:
    std::chrono::steady_clock::time_point start_;
    double seconds_ = 1e300;
};

// The baseline of each ROM and plane in this run: seconds (fastest) and compressed bytes.
struct Baseline {
    double seconds = 0;
    double bytes = 0;
};
std::map<std::pair<bool, bool>, Baseline>& Baselines() {
    static std::map<std::pair<bool, bool>, Baseline> baselines;
    return baselines;
}

void BM_ZlibDeflateRawRows(benchmark::State& state) {
    const bool varied = state.range(0) != 0, planeB = state.range(1) != 0;
    const std::vector<uint8_t> rows = RawRows(varied, planeB);
    std::vector<uint8_t> out(65535);
    uint64_t compressed = 0;
    FastestIteration fastest;
    for (auto _ : state) {
        fastest.Start();
        z_stream z{};
        if (deflateInit2(&z, 9, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            throw std::runtime_error("deflateInit2 failed");
        }
        compressed = 0;
        auto drain = [&] {
            compressed += out.size() - z.avail_out;
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
        };
        z.next_out = out.data();
        z.avail_out = uInt(out.size());
        for (size_t y = 0; y < LEVEL_PNG_HEIGHT; ++y) {
            z.next_in = const_cast<Bytef*>(rows.data() + y * ROW_BYTES);
            z.avail_in = uInt(ROW_BYTES);
            while (z.avail_in > 0) {
                deflate(&z, Z_NO_FLUSH);
                if (z.avail_out == 0) drain();
            }
        }
        int result;
        do {
            result = deflate(&z, Z_FINISH);
            drain();
        } while (result == Z_OK);
        deflateEnd(&z);
        fastest.Stop();
    }
    Baselines()[{varied, planeB}] = {fastest.Seconds(), double(compressed)};
    state.counters["fastest_ms"] = 1000 * fastest.Seconds();
    state.counters["deflated_bytes"] = double(compressed);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(rows.size()));
}

void BM_ExportLevelPng(benchmark::State& state) {
    const bool varied = state.range(0) != 0, planeB = state.range(1) != 0;
    const unsigned threads = unsigned(state.range(2));
    const std::string png = std::filesystem::temp_directory_path() / "drovak-bench-export.png";
    const std::string& rom = RomPath(varied);
    NoProgress progress;
    FastestIteration fastest;
    for (auto _ : state) {
        fastest.Start();
        ExportLevelPng(rom, LEVEL, planeB, png, progress, threads);
        fastest.Stop();
    }
    const double fileBytes = double(std::filesystem::file_size(png));
    state.counters["fastest_ms"] = 1000 * fastest.Seconds();
    state.counters["file_bytes"] = fileBytes;
    const auto baseline = Baselines().find({varied, planeB});
    if (baseline != Baselines().end()) {
        state.counters["time_vs_zlib9"] = fastest.Seconds() / baseline->second.seconds;
        state.counters["size_vs_zlib9"] = fileBytes / baseline->second.bytes;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(ROW_BYTES * LEVEL_PNG_HEIGHT));
    std::filesystem::remove(png);
}

// The rows of a plane drawn one after the other from the plane built once, as the export draws
// them for the compressor: the part of the export that the compression can't share.
void BM_RenderLevelRows(benchmark::State& state) {
    const bool varied = state.range(0) != 0, planeB = state.range(1) != 0;
    const LevelData level = DecodeLevel(RomPath(varied), LEVEL);
    std::vector<uint32_t> row(LEVEL_PNG_WIDTH);
    for (auto _ : state) {
        const TilePlane plane = BuildLevelPlane(level, planeB);
        const PlaneRenderer renderer(plane, level.tileArt, level.palette);
        for (uint32_t y = 0; y < LEVEL_PNG_HEIGHT; ++y) {
            renderer.Draw({0, y, LEVEL_PNG_WIDTH, 1}, row.data(), row.size());
            benchmark::DoNotOptimize(row.data());
        }
    }
}

// Each baseline before the exports it is compared with.
BENCHMARK(BM_ZlibDeflateRawRows)
    ->ArgsProduct({{1, 0}, {0, 1}})
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportLevelPng)
    ->ArgsProduct({{1, 0}, {0, 1}, {1, 2}})
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderLevelRows)->ArgsProduct({{1, 0}, {0, 1}})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
