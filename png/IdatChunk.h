#pragma once

#include "png/Png.h"
#include "png/PngChunk.h"
#include "png/PngRows.h"

#include <cstdint>

namespace drovak {

class TPngPicture;

// What the image data is encoded with.
struct TIdatSettings {
    int compressionLevel = 7;
    TPngFilterSet filters = TPngFilterSet::Sub;
    uint32_t maxIdatSize = PNG_DEFAULT_IDAT_SIZE;
};

// Compresses the image of the header (non-interlaced) and writes it as IDAT chunks: each row is
// built, filtered and fed to one zlib stream (15-bit window, memory level 8, default strategy)
// without flushing, so only one raw row and the row above are held at a time.
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
