// The PNG writer on the whole-plane export's picture: 16384 x 512, RGB with alpha at 16 bits,
// level 9, no filtering.
#include "png/PngRows.h"
#include "png/PngWriter.h"

#include <vector>

#include <benchmark/benchmark.h>

namespace {

using namespace drovak;

// Discards what is written and counts it.
class CountingStream final : public Stream {
public:
    size_t Read(void*, size_t) override { return 0; }
    void Write(const void*, size_t count) override { size_ += count; }
    uint64_t Seek(int64_t, SeekOrigin) override { return size_; }
    uint64_t Position() const override { return size_; }
    uint64_t Size() const override { return size_; }

private:
    uint64_t size_ = 0;
};

// Something like a level plane: 8 x 8 tiles of a few palette colours, repeating every 32
// blocks, with black (transparent) areas.
uint32_t PlaneColour(uint32_t x, uint32_t y) {
    uint32_t tile = (x / 8 * 7 + y / 8 * 13) % 29;
    if (tile < 6) return 0;
    uint32_t index = (tile + (x % 8) / 2 + (y % 8) / 3) % 16;
    return (index * 32 % 256) | ((index * 64 % 256) << 8) | ((index * 96 % 256) << 16);
}

using Picture = std::vector<uint32_t>; // red + green x 256 + blue x 65536 + alpha x 2^24

void FillExportPicture(Picture& picture) {
    picture.resize(size_t(16384) * 512);
    for (uint32_t y = 0; y < 512; ++y) {
        uint32_t* row = picture.data() + size_t(y) * 16384;
        for (uint32_t x = 0; x < 16384; ++x) {
            uint32_t colour = PlaneColour(x, y);
            row[x] = colour != 0 ? colour | 0xFF000000u : 0;
        }
    }
}

void SavePicture(const Picture& picture, PngFilterSet filters, Stream& out) {
    PngCompression compression;
    compression.level = 9;
    compression.filters = filters;
    PngWriter png(out, {16384, 512, PNG_COLOUR_RGB_ALPHA, 16});
    png.ImageData(
        [&picture](uint32_t y, uint8_t* row) {
            PackPngRow(picture.data() + size_t(y) * 16384, 16384, PNG_COLOUR_RGB_ALPHA, 16, row);
        },
        compression);
    png.End();
}

void BM_FillExportPicture(benchmark::State& state) {
    Picture picture;
    for (auto _ : state) {
        FillExportPicture(picture);
        benchmark::DoNotOptimize(picture[5 * 16384 + 5]);
    }
    state.SetItemsProcessed(state.iterations() * 16384 * 512);
}
BENCHMARK(BM_FillExportPicture)->Unit(benchmark::kMillisecond);

void BM_SaveExportPicture(benchmark::State& state) {
    Picture picture;
    FillExportPicture(picture);
    uint64_t fileSize = 0;
    for (auto _ : state) {
        CountingStream out;
        SavePicture(picture, PngFilterSet::Empty, out);
        fileSize = out.Size();
    }
    state.counters["file_bytes"] = double(fileSize);
    // Raw image data: 512 rows of 1 + 16384 x 8 bytes.
    state.SetBytesProcessed(int64_t(state.iterations()) * 512 * (1 + 16384 * 8));
}
BENCHMARK(BM_SaveExportPicture)->Unit(benchmark::kMillisecond);

void BM_SaveWithAllFilters(benchmark::State& state) {
    Picture picture;
    FillExportPicture(picture);
    for (auto _ : state) {
        CountingStream out;
        SavePicture(picture, PngFilterSet::All, out);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 512 * (1 + 16384 * 8));
}
BENCHMARK(BM_SaveWithAllFilters)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
