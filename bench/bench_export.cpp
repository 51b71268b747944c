// The whole-plane PNG export of the demo ROM beside plain zlib level-9 deflate of the same raw
// image rows (filter byte 0, then 16-bit red, green, blue, alpha per pixel), the least any
// export of that picture has to do. Argument: 0 for Plane A, 1 for Plane B.
#include "demo/DemoRom.h"
#include "graphics/Level.h"
#include "graphics/LevelExport.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace drovak;

constexpr unsigned LEVEL = 0;
constexpr size_t ROW_BYTES = 1 + size_t(LEVEL_PNG_WIDTH) * 8;

const std::string& DemoRomPath() {
    static const std::string path = [] {
        std::string file = (std::filesystem::temp_directory_path() / "drovak-bench-export.bin");
        std::vector<uint8_t> rom = MakeDemoRom();
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(rom.data()), std::streamsize(rom.size()));
        return file;
    }();
    return path;
}

// The raw rows of the exported picture, as the PNG writer feeds them to deflate.
std::vector<uint8_t> RawRows(bool planeB) {
    auto frame = std::make_unique<FrameBuffer>();
    const LevelData level = DecodeLevel(DemoRomPath(), LEVEL);
    std::vector<uint8_t> rows(ROW_BYTES * LEVEL_PNG_HEIGHT, 0);
    for (unsigned screen = 0; screen < LEVEL_SCREENS; ++screen) {
        PreviewImage image = AssembleLevelScreen(level, planeB, screen, *frame);
        for (size_t y = 0; y < LEVEL_PNG_HEIGHT; ++y) {
            uint8_t* out = rows.data() + y * ROW_BYTES + 1 + size_t(512 * screen) * 8;
            for (size_t x = 0; x < 512; ++x, out += 8) {
                uint32_t v = image.Pixels[y * 512 + x];
                out[0] = uint8_t(v);
                out[2] = uint8_t(v >> 8);
                out[4] = uint8_t(v >> 16);
                out[6] = v != 0 ? 255 : 0;
            }
        }
    }
    return rows;
}

void BM_ExportLevelPng(benchmark::State& state) {
    const bool planeB = state.range(0) != 0;
    const std::string png = std::filesystem::temp_directory_path() / "drovak-bench-export.png";
    auto frame = std::make_unique<FrameBuffer>();
    DemoRomPath();
    for (auto _ : state) ExportLevelPng(DemoRomPath(), LEVEL, planeB, png, *frame);
    state.counters["file_bytes"] = double(std::filesystem::file_size(png));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(ROW_BYTES * LEVEL_PNG_HEIGHT));
    std::filesystem::remove(png);
}
BENCHMARK(BM_ExportLevelPng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ZlibDeflateRawRows(benchmark::State& state) {
    const std::vector<uint8_t> rows = RawRows(state.range(0) != 0);
    std::vector<uint8_t> out(65535);
    uint64_t compressed = 0;
    for (auto _ : state) {
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
    }
    state.counters["deflated_bytes"] = double(compressed);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(rows.size()));
}
BENCHMARK(BM_ZlibDeflateRawRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
