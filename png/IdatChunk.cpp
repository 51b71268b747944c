#include "png/IdatChunk.h"

#include "base/Errors.h"
#include "png/IdatPieceWriter.h"
#include "png/ParallelDeflate.h"
#include "png/PngFilters.h"
#include "png/PngPicture.h"

#include <algorithm>
#include <vector>

namespace drovak {

void WriteImageData(const TIhdrChunk& header, const TPngToneTable& tones,
                    const TIdatSettings& settings, Stream& stream) {
    const size_t pixelSize = PngPixelSize(header.ColourType(), header.BitDepth());
    if (pixelSize == 0) {
        throw RefusedError("PNG picture: colour type " + std::to_string(header.ColourType()) +
                           " at " + std::to_string(header.BitDepth()) +
                           " bits is not supported by this writer");
    }
    const size_t rowLength = size_t(header.Width()) * pixelSize;
    const size_t rowBytes = 1 + rowLength; // the filter type, then the filtered row
    const size_t height = header.Height();
    const size_t rowsPerPart =
        std::max<size_t>(1, std::min(height, (settings.partSize + rowBytes / 2) / rowBytes));
    const size_t historyRows = (DEFLATE_WINDOW + rowBytes - 1) / rowBytes;

    // A part is its rows as fed to deflate, after the rows before them that fill the window;
    // the row above the first of those is built too, for the filters.
    auto makePart = [&](size_t index, TDeflatePart& part) {
        const size_t first = index * rowsPerPart, end = std::min(height, first + rowsPerPart);
        const size_t from = first - std::min(first, historyRows);
        std::vector<uint8_t> row(rowLength), previous(rowLength, 0);
        if (from > 0) BuildPngRow(header, tones, uint32_t(from - 1), previous.data());
        TPngRowFilter filter(settings.filters, rowLength, pixelSize);
        part.history.reserve((first - from) * rowBytes);
        part.bytes.reserve((end - first) * rowBytes);
        for (size_t y = from; y < end; ++y) {
            BuildPngRow(header, tones, uint32_t(y), row.data());
            const TFilteredRow filtered = filter.Apply(row.data(), previous.data());
            std::vector<uint8_t>& out = y < first ? part.history : part.bytes;
            out.push_back(uint8_t(filtered.type));
            out.insert(out.end(), filtered.bytes, filtered.bytes + rowLength);
            row.swap(previous);
        }
    };
    TIdatPieceWriter pieces(stream, settings.maxIdatSize);
    ParallelDeflate((height + rowsPerPart - 1) / rowsPerPart, settings.compressionLevel,
                    settings.threads, makePart,
                    [&pieces, &settings](const uint8_t* data, size_t size) {
                        pieces.Append(data, size);
                        if (settings.partWritten) settings.partWritten();
                    });
    pieces.Finish();
}

void TIdatChunk::SaveToStream(Stream& stream) {
    const TIhdrChunk* header = owner_.Header();
    if (header == nullptr) throw RefusedError("PNG picture: image data without a header");
    WriteImageData(*header, owner_.ToneTable(), owner_.IdatSettings(), stream);
}

} // namespace drovak
