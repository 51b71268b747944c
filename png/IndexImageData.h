#pragma once

#include "png/PngChunk.h"

namespace drovak {

class TPngPicture;

// The image data chunk of a palette image (colour type 3 at 4 or 8 bits): each row is the
// filter-type byte and the row's indices, two to a byte at 4 bits (the left pixel in the high
// half, an odd last pixel padded with 0), filtered with a distance of one byte and compressed as
// one zlib stream at the picture's level, cut into IDAT chunks of the picture's largest size.
// RefusedError, before any IDAT is written, when a pixel's index is beyond the palette.
class TIndexIdatChunk final : public TPngChunk {
public:
    explicit TIndexIdatChunk(const TPngPicture& owner) : TPngChunk("IDAT"), owner_(owner) {}
    void SaveToStream(Stream& stream) override;

private:
    const TPngPicture& owner_;
};

} // namespace drovak
