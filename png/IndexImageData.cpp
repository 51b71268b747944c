#include "png/IndexImageData.h"

#include "base/Errors.h"
#include "png/IdatPieceWriter.h"
#include "png/PngFilters.h"
#include "png/PngPicture.h"

#include <algorithm>
#include <vector>
#include <zlib.h>

namespace drovak {

namespace {

// The raw rows of the image: filter byte, then the filtered packed indices.
std::vector<uint8_t> FilteredRows(const TIhdrChunk& header, unsigned paletteSize,
                                  TPngFilterSet filters) {
    const uint32_t width = header.Width();
    const bool halfBytes = header.BitDepth() == 4;
    const size_t rowLength = halfBytes ? (size_t(width) + 1) / 2 : width;
    std::vector<uint8_t> rows;
    rows.reserve((rowLength + 1) * header.Height());
    std::vector<uint8_t> row(rowLength), previous(rowLength, 0);
    TPngRowFilter filter(filters, rowLength, 1);
    for (uint32_t y = 0; y < header.Height(); ++y) {
        const uint8_t* indices = header.IndexRow(y);
        std::fill(row.begin(), row.end(), 0);
        for (uint32_t x = 0; x < width; ++x) {
            if (indices[x] >= paletteSize) {
                throw RefusedError("PNG picture: the pixel at x " + std::to_string(x) + ", y " +
                                   std::to_string(y) + " has index " + std::to_string(indices[x]) +
                                   ", beyond the palette of " + std::to_string(paletteSize) +
                                   " colours");
            }
            if (halfBytes)
                row[x / 2] |= uint8_t(indices[x] << (x % 2 ? 0 : 4));
            else
                row[x] = indices[x];
        }
        TFilteredRow filtered = filter.Apply(row.data(), previous.data());
        rows.push_back(uint8_t(filtered.type));
        rows.insert(rows.end(), filtered.bytes, filtered.bytes + rowLength);
        row.swap(previous);
    }
    return rows;
}

} // namespace

void TIndexIdatChunk::SaveToStream(Stream& stream) {
    const TIhdrChunk* header = owner_.Header();
    if (header == nullptr || !header->IsPalette()) {
        throw RefusedError("PNG picture: palette image data without a palette image");
    }
    const std::vector<uint8_t> rows = FilteredRows(*header, owner_.PaletteSize(), owner_.Filters());
    std::vector<uint8_t> compressed(compressBound(uLong(rows.size())));
    uLongf size = uLongf(compressed.size());
    // compress2: a 15-bit window, memory level 8, the default strategy.
    if (compress2(compressed.data(), &size, rows.data(), uLong(rows.size()),
                  owner_.CompressionLevel()) != Z_OK) {
        throw DrovakError("PNG image data: the compressor failed");
    }
    TIdatPieceWriter pieces(stream, owner_.MaxIdatSize());
    pieces.Append(compressed.data(), size);
    pieces.Finish();
}

} // namespace drovak
