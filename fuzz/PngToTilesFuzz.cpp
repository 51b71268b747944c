// png-to-tiles on arbitrary bytes, read through libpng. The chunks' CRCs are set right first,
// so that the fuzzer's changes reach past libpng's check of them. The reader refuses, or gives a
// picture of the size it announces; tiles are refused or hold each pixel's value where the
// picture has it, and written as a tile sheet again they read back the same.
#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/TileSheetLayout.h"
#include "graphics/PngToTiles.h"
#include "graphics/TileSheet.h"
#include "graphics/TilesToPng.h"
#include "png/PngReader.h"

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Sets the CRC of every whole chunk after the signature.
void SetCrcs(std::vector<uint8_t>& file) {
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint64_t length = drovak::LoadBigEndian32(&file[at]);
        if (at + 12 + length > file.size()) break;
        const uint32_t crc = uint32_t(crc32(0, &file[at + 4], uInt(length + 4)));
        drovak::StoreBigEndian32(&file[at + 8 + length], crc);
        at += 12 + length;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file(data, data + size);
    SetCrcs(file);
    drovak::DecodedPng image;
    try {
        image = drovak::ReadPng(file, "fuzz.png");
    } catch (const drovak::DrovakError&) {
        return 0;
    }
    FUZZ_CHECK(image.width > 0 && image.width <= drovak::PNG_READ_MAX_SIDE);
    FUZZ_CHECK(image.height > 0 && image.height <= drovak::PNG_READ_MAX_SIDE);
    FUZZ_CHECK(image.data.size() == size_t(image.width) * image.height * image.BytesPerPixel());

    const drovak::TilePalette palette = drovak::GreyRampPalette();
    drovak::TilesFromPng tiles;
    try {
        tiles = drovak::PngToTiles(image, "fuzz.png", palette, std::nullopt);
    } catch (const drovak::RefusedError&) {
        return 0;
    }
    const uint32_t columns = image.width / 8;
    FUZZ_CHECK(image.width % 8 == 0 && image.height % 8 == 0);
    FUZZ_CHECK(tiles.pictureTiles == uint64_t(columns) * (image.height / 8));
    FUZZ_CHECK(tiles.data.size() <= tiles.pictureTiles * 32);
    if (image.pixels == drovak::PngPixels::Indices) {
        for (size_t i = 0; i < tiles.data.size(); ++i) {
            const drovak::fuzz::PixelPair at = drovak::fuzz::PixelsOfByte(i, columns);
            FUZZ_CHECK(tiles.data[i] ==
                       (image.Sample(at.x, at.y, 0) << 4 | image.Sample(at.x + 1, at.y, 0)));
        }
    }

    drovak::MemoryStream written;
    drovak::WriteTilesPng(tiles.data, palette, std::min(columns, drovak::MAX_SHEET_COLUMNS),
                          written);
    const drovak::DecodedPng again = drovak::ReadPng(written.Data(), "again.png");
    const drovak::TilesFromPng back = drovak::PngToTiles(again, "again.png", palette, std::nullopt);
    FUZZ_CHECK(back.lengthRecorded && back.data == tiles.data);
    return 0;
}
