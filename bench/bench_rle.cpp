// RLE encode/decode throughput on 1 MiB inputs, beside zlib deflate (level 9) and inflate of the
// same inputs.
#include "compression/Rle.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <random>
#include <stdexcept>
#include <vector>

namespace {

constexpr size_t INPUT_SIZE = 1 << 20;

// 4-bit tiles as the game draws them: solid backgrounds, stripes and dithered two-colour
// patterns, with a sprinkling of stray pixels.
std::vector<uint8_t> TileLikeData() {
    std::mt19937 random(1991);
    std::vector<uint8_t> data;
    data.reserve(INPUT_SIZE);
    while (data.size() < INPUT_SIZE) {
        uint8_t a = uint8_t(random() % 16);
        uint8_t b = uint8_t(random() % 16);
        unsigned kind = random() % 3;
        for (unsigned row = 0; row < 8; ++row) {
            for (unsigned column = 0; column < 8; column += 2) {
                uint8_t pixels[2];
                for (unsigned p = 0; p < 2; ++p) {
                    unsigned x = column + p;
                    uint8_t colour = kind == 0   ? a
                                     : kind == 1 ? (row < 4 ? a : b)
                                                 : ((x + row) % 2 ? a : b);
                    if (random() % 20 == 0) colour = uint8_t(random() % 16);
                    pixels[p] = colour;
                }
                data.push_back(uint8_t(pixels[0] << 4 | pixels[1]));
            }
        }
    }
    data.resize(INPUT_SIZE);
    return data;
}

std::vector<uint8_t> RandomData() {
    std::mt19937 random(7);
    std::vector<uint8_t> data(INPUT_SIZE);
    for (auto& byte : data) byte = uint8_t(random());
    return data;
}

const std::vector<uint8_t>& Input(int kind) {
    static const std::vector<uint8_t> tiles = TileLikeData();
    static const std::vector<uint8_t> random = RandomData();
    return kind == 0 ? tiles : random;
}

const char* InputName(int kind) {
    return kind == 0 ? "tile-like" : "random";
}

std::vector<uint8_t> RleBlock(const std::vector<uint8_t>& input) {
    drovak::RleEncodeResult result = drovak::RleEncode(input);
    if (result.unsupportedRepeatCount) throw std::runtime_error("run too long");
    return std::move(result.bytes);
}

std::vector<uint8_t> Deflated(const std::vector<uint8_t>& input) {
    uLongf size = compressBound(uLong(input.size()));
    std::vector<uint8_t> out(size);
    if (compress2(out.data(), &size, input.data(), uLong(input.size()), 9) != Z_OK) {
        throw std::runtime_error("deflate failed");
    }
    out.resize(size);
    return out;
}

void Report(benchmark::State& state, int kind, size_t packedSize) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(INPUT_SIZE));
    state.counters["packed_percent"] = 100.0 * double(packedSize) / double(INPUT_SIZE);
    state.SetLabel(InputName(kind));
}

void BM_RleEncode(benchmark::State& state) {
    const int kind = int(state.range(0));
    const std::vector<uint8_t>& input = Input(kind);
    size_t packed = 0;
    for (auto _ : state) {
        const drovak::RleEncodeResult block = drovak::RleEncode(input);
        packed = block.bytes.size();
        benchmark::DoNotOptimize(block.bytes.data());
    }
    Report(state, kind, packed);
}

void BM_RleDecode(benchmark::State& state) {
    const int kind = int(state.range(0));
    const std::vector<uint8_t> block = RleBlock(Input(kind));
    for (auto _ : state) {
        const drovak::RleDecodeResult data = drovak::RleDecode(block, 0);
        benchmark::DoNotOptimize(data.bytes.data());
    }
    Report(state, kind, block.size());
}

void BM_Deflate9(benchmark::State& state) {
    const int kind = int(state.range(0));
    const std::vector<uint8_t>& input = Input(kind);
    size_t packed = 0;
    for (auto _ : state) {
        std::vector<uint8_t> out = Deflated(input);
        packed = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    Report(state, kind, packed);
}

void BM_Inflate(benchmark::State& state) {
    const int kind = int(state.range(0));
    const std::vector<uint8_t> packed = Deflated(Input(kind));
    std::vector<uint8_t> out(INPUT_SIZE);
    for (auto _ : state) {
        uLongf size = uLongf(out.size());
        if (uncompress(out.data(), &size, packed.data(), uLong(packed.size())) != Z_OK) {
            state.SkipWithError("inflate failed");
        }
        benchmark::DoNotOptimize(out.data());
    }
    Report(state, kind, packed.size());
}

BENCHMARK(BM_RleEncode)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RleDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Deflate9)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Inflate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
