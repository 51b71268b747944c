#include "png/IdatChunk.h"

#include "base/Errors.h"
#include "png/IdatPieceWriter.h"
#include "png/PngFilters.h"
#include "png/PngPicture.h"

#include <algorithm>
#include <vector>
#include <zlib.h>

namespace drovak {

namespace {

// One zlib stream whose output goes straight into the IDAT pieces.
class Deflater {
public:
    Deflater(int level, TIdatPieceWriter& pieces) : pieces_(pieces) {
        if (deflateInit2(&z_, level, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            throw DrovakError("PNG image data: the compressor could not start");
        }
    }
    ~Deflater() { deflateEnd(&z_); }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    void Feed(const uint8_t* data, size_t size) {
        while (size > 0) {
            // zlib counts in uInt.
            size_t part = std::min<size_t>(size, 1u << 30);
            z_.next_in = const_cast<Bytef*>(data);
            z_.avail_in = uInt(part);
            Run(Z_NO_FLUSH);
            data += part;
            size -= part;
        }
    }
    void Finish() { Run(Z_FINISH); }

private:
    void Run(int flush) {
        for (;;) {
            size_t space = std::min<size_t>(pieces_.FreeCount(), 1u << 30);
            z_.next_out = pieces_.FreeSpace();
            z_.avail_out = uInt(space);
            int result = deflate(&z_, flush);
            pieces_.Filled(space - z_.avail_out);
            if (result == Z_STREAM_END) return;
            if (result != Z_OK && result != Z_BUF_ERROR) {
                throw DrovakError("PNG image data: the compressor failed");
            }
            // Without flushing, room left over means all input was taken.
            if (flush == Z_NO_FLUSH && z_.avail_out != 0) return;
            if (flush == Z_FINISH && result == Z_BUF_ERROR && z_.avail_out != 0) {
                throw DrovakError("PNG image data: the compressor stopped early");
            }
        }
    }

    z_stream z_{};
    TIdatPieceWriter& pieces_;
};

} // namespace

void WriteImageData(const TIhdrChunk& header, const TPngToneTable& tones,
                    const TIdatSettings& settings, Stream& stream) {
    size_t pixelSize = PngPixelSize(header.ColourType(), header.BitDepth());
    if (pixelSize == 0) {
        throw RefusedError("PNG picture: colour type " + std::to_string(header.ColourType()) +
                           " at " + std::to_string(header.BitDepth()) +
                           " bits is not supported by this writer");
    }
    size_t rowLength = size_t(header.Width()) * pixelSize;
    std::vector<uint8_t> row(rowLength);
    std::vector<uint8_t> previous(rowLength, 0);
    TPngRowFilter filter(settings.filters, rowLength, pixelSize);
    TIdatPieceWriter pieces(stream, settings.maxIdatSize);
    Deflater deflater(settings.compressionLevel, pieces);
    for (uint32_t y = 0; y < header.Height(); ++y) {
        BuildPngRow(header, tones, y, row.data());
        TFilteredRow filtered = filter.Apply(row.data(), previous.data());
        const auto type = uint8_t(filtered.type);
        deflater.Feed(&type, 1);
        deflater.Feed(filtered.bytes, rowLength);
        row.swap(previous);
    }
    deflater.Finish();
    pieces.Finish();
}

void TIdatChunk::SaveToStream(Stream& stream) {
    const TIhdrChunk* header = owner_.Header();
    if (header == nullptr) throw RefusedError("PNG picture: image data without a header");
    WriteImageData(*header, owner_.ToneTable(), owner_.IdatSettings(), stream);
}

} // namespace drovak
