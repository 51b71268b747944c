// LZHUF encode and decode throughput beside zlib (deflate level 9, inflate) on the same input:
// 1 MiB of tile-like data and 1 MiB of random bytes. Bytes processed are the plain bytes.

#include "base/Stream.h"
#include "compression/Lzh.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

constexpr size_t INPUT_SIZE = 1024 * 1024;

// 8 x 8 tiles of 4-bit pixels, each row one of a few nibble patterns, with pixels changed here
// and there.
std::vector<uint8_t> TileLikeData() {
    std::mt19937 random(1);
    const uint32_t rows[] = {0x00000000, 0x11111111, 0x12211221, 0x00333300,
                             0x45544554, 0x06600660, 0x77777777, 0x89ABBA98};
    std::vector<uint8_t> bytes;
    bytes.reserve(INPUT_SIZE);
    while (bytes.size() < INPUT_SIZE) {
        int style = int(random() % 4);
        for (int row = 0; row < 8; ++row) {
            uint32_t pixels = rows[(style * 3 + row / (1 + style)) % 8];
            if (random() % 6 == 0) pixels ^= (random() % 16) << (4 * (random() % 8));
            for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(uint8_t(pixels >> shift));
        }
    }
    return bytes;
}

std::vector<uint8_t> RandomData() {
    std::mt19937 random(2);
    std::vector<uint8_t> bytes(INPUT_SIZE);
    for (auto& b : bytes) b = uint8_t(random());
    return bytes;
}

const std::vector<uint8_t>& Input(int kind) {
    static const std::vector<uint8_t> tiles = TileLikeData();
    static const std::vector<uint8_t> random = RandomData();
    return kind == 0 ? tiles : random;
}

std::vector<uint8_t> LzhPack(const std::vector<uint8_t>& plain) {
    return drovak::LzhEncode(plain);
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& plain) {
    uLongf size = compressBound(uLong(plain.size()));
    std::vector<uint8_t> packed(size);
    if (compress2(packed.data(), &size, plain.data(), uLong(plain.size()), 9) != Z_OK) {
        throw std::runtime_error("deflate failed");
    }
    packed.resize(size);
    return packed;
}

void SetLabels(benchmark::State& state, size_t packedSize) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(INPUT_SIZE));
    state.counters["ratio"] = double(packedSize) / double(INPUT_SIZE);
    state.SetLabel(state.range(0) == 0 ? "tile-like" : "random");
}

void BM_LzhEncode(benchmark::State& state) {
    const auto& plain = Input(int(state.range(0)));
    size_t packedSize = 0;
    for (auto _ : state) {
        const std::vector<uint8_t> packed = drovak::LzhEncode(plain);
        packedSize = packed.size();
        benchmark::DoNotOptimize(packed.data());
    }
    SetLabels(state, packedSize);
}

void BM_LzhDecode(benchmark::State& state) {
    const auto& plain = Input(int(state.range(0)));
    const auto packed = LzhPack(plain);
    for (auto _ : state) {
        const drovak::LzhDecodeResult decoded = drovak::LzhDecode(packed, uint32_t(plain.size()));
        benchmark::DoNotOptimize(decoded.bytes.data());
    }
    if (drovak::LzhDecode(packed, uint32_t(plain.size())).bytes != plain)
        state.SkipWithError("LZHUF round trip differs");
    SetLabels(state, packed.size());
}

void BM_ZlibDeflate9(benchmark::State& state) {
    const auto& plain = Input(int(state.range(0)));
    size_t packedSize = 0;
    for (auto _ : state) {
        auto packed = Deflate(plain);
        packedSize = packed.size();
        benchmark::DoNotOptimize(packed.data());
    }
    SetLabels(state, packedSize);
}

void BM_ZlibInflate(benchmark::State& state) {
    const auto& plain = Input(int(state.range(0)));
    const auto packed = Deflate(plain);
    std::vector<uint8_t> decoded(plain.size());
    for (auto _ : state) {
        uLongf size = uLongf(decoded.size());
        if (uncompress(decoded.data(), &size, packed.data(), uLong(packed.size())) != Z_OK) {
            state.SkipWithError("inflate failed");
            break;
        }
        benchmark::DoNotOptimize(decoded.data());
    }
    SetLabels(state, packed.size());
}

// Argument 0: tile-like data; 1: random bytes.
BENCHMARK(BM_LzhDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzhEncode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibDeflate9)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
