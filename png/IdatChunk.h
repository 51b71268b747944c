#pragma once

#include "png/Png.h"
#include "png/PngChunk.h"
#include "png/PngRows.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace drovak {

class TPngPicture;

// What the image data is encoded with.
struct TIdatSettings {
    int compressionLevel = 7;
    TPngFilterSet filters = TPngFilterSet::Sub;
    uint32_t maxIdatSize = PNG_DEFAULT_IDAT_SIZE;
    // Whole rows of about this many raw bytes (at least one row) are compressed as one part;
    // parts are compressed side by side on `threads` threads (0: one per core). The file
    // depends on the part size, not on the number of threads.
    size_t partSize = PNG_DEFAULT_PART_SIZE;
    unsigned threads = 0;
    // Called on the saving thread after each part's compressed bytes are written, while the
    // other parts are still being compressed (a window answers its events there).
    std::function<void()> partWritten;
};

// Compresses the image of the header (non-interlaced) and writes it as IDAT chunks: one zlib
// stream (15-bit window, memory level 8, default strategy) of the filtered rows, compressed in
// parts of whole rows on several threads (see ParallelDeflate). Only the rows of the parts in
// hand are held raw, never the whole image.
void WriteImageData(const TIhdrChunk& header, const TPngToneTable& tones,
                    const TIdatSettings& settings, Stream& stream);

// The image data chunk of a picture. It holds no data of its own: it is made from the
// picture's image when saved, and may come out as several IDAT chunks.
class TIdatChunk final : public TPngChunk {
public:
    explicit TIdatChunk(const TPngPicture& owner) : TPngChunk("IDAT"), owner_(owner) {}
    void SaveToStream(Stream& stream) override;

private:
    const TPngPicture& owner_;
};

} // namespace drovak
