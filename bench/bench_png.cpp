// The PNG writer on the whole-plane export's picture: 16384 x 512, RGB with alpha at 16 bits,
// level 9, no filtering.
#include "png/PngPicture.h"

#include <benchmark/benchmark.h>

namespace {

using namespace drovak;

// Discards what is written and counts it.
class CountingStream final : public Stream {
public:
    size_t Read(void*, size_t) override { return 0; }
    size_t Write(const void*, size_t count) override {
        size_ += count;
        return count;
    }
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

void FillExportPicture(TPngPicture& picture) {
    picture.CreateBlank(PNG_COLOUR_RGB_ALPHA, 16, 16384, 512);
    picture.SetCompressionLevel(9);
    picture.SetFilters(TPngFilterSet::Empty);
    for (uint32_t y = 0; y < 512; ++y) {
        uint8_t* alpha = picture.AlphaRow(y);
        for (uint32_t x = 0; x < 16384; ++x) {
            uint32_t colour = PlaneColour(x, y);
            picture.SetPixel(x, y, colour);
            alpha[x] = colour != 0 ? 255 : 0;
        }
    }
}

void BM_FillExportPicture(benchmark::State& state) {
    TPngPicture picture;
    for (auto _ : state) {
        FillExportPicture(picture);
        benchmark::DoNotOptimize(picture.Pixel(5, 5));
    }
    state.SetItemsProcessed(state.iterations() * 16384 * 512);
}
BENCHMARK(BM_FillExportPicture)->Unit(benchmark::kMillisecond);

void BM_SaveExportPicture(benchmark::State& state) {
    TPngPicture picture;
    FillExportPicture(picture);
    uint64_t fileSize = 0;
    for (auto _ : state) {
        CountingStream out;
        picture.SaveToStream(out);
        fileSize = out.Size();
    }
    state.counters["file_bytes"] = double(fileSize);
    // Raw image data: 512 rows of 1 + 16384 x 8 bytes.
    state.SetBytesProcessed(int64_t(state.iterations()) * 512 * (1 + 16384 * 8));
}
BENCHMARK(BM_SaveExportPicture)->Unit(benchmark::kMillisecond);

void BM_SaveWithAllFilters(benchmark::State& state) {
    TPngPicture picture;
    FillExportPicture(picture);
    picture.SetFilters(TPngFilterSet::All);
    for (auto _ : state) {
        CountingStream out;
        picture.SaveToStream(out);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 512 * (1 + 16384 * 8));
}
BENCHMARK(BM_SaveWithAllFilters)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
