#include "words/PngProblemWords.h"

namespace drovak {

namespace {

std::string Number(uint64_t value) {
    return std::to_string(value);
}

std::string Size(const PngProblem& p) {
    return Number(p.width) + " x " + Number(p.height) + " pixels";
}

std::string Text(const PngProblem& p) {
    using K = PngProblemKind;
    const std::string file = p.file + ": ";
    switch (p.kind) {
    case K::ChunkPastEnd:
        return file + "too short: a chunk of " + Number(p.size) + " bytes at byte " + Number(p.at) +
               " runs past the end of the data at byte " + Number(p.end);
    case K::TooShortForData:
        return file + "too short: " + Number(p.size) +
               " bytes can't hold the image data of a picture of " + Size(p);
    case K::EndsEarly:
        return file + "too short: the PNG data ends at byte " + Number(p.end) +
               " before the picture does";
    case K::NotPng:
        return file + "not a PNG file" + (p.flag ? " (it is empty)" : "");
    case K::TooLarge:
        return file + "a picture of " + Size(p) + " is larger than this program reads (" +
               Number(p.limit) + " pixels a side, " + Number(p.size) + " pixels in all)";
    case K::Unreadable:
        return file + "not a PNG picture this program can read: " + p.text;
    case K::IndexBeyondPalette:
        return "PNG picture: the pixel at x " + Number(p.x) + ", y " + Number(p.y) + " has index " +
               Number(p.value) + ", beyond the palette of " + Number(p.size) + " colours";
    case K::ChunkTooLong:
        return "PNG chunk " + p.text + ": " + Number(p.size) +
               " bytes is more than a chunk can hold";
    case K::NotWritable:
        return "PNG picture: colour type " + Number(p.value) + " at " + Number(p.depth) +
               " bits, " + Size(p) + ", is not what this writer writes";
    case K::PaletteNotTaken:
        return "PNG picture: only a palette image has a palette";
    case K::PaletteSize:
        return "PNG picture: a palette of " + Number(p.size) + " colours; this image takes 1 to " +
               Number(p.limit);
    case K::PaletteMissing:
        return "PNG picture: a palette image without palette";
    case K::NotAKeyword:
        return "PNG picture: \"" + p.text + "\" is not a tEXt keyword";
    case K::NothingToCompress:
        return "PNG image data: nothing to compress";
    case K::ReaderNotStarted:
        return file + "libpng could not start";
    case K::CompressorNotStarted:
        return "PNG image data: the compressor could not start";
    case K::CompressorNotPrimed:
        return "PNG image data: the compressor could not be primed";
    case K::CompressorFailed:
        return "PNG image data: the compressor failed";
    }
    return file + "refused";
}

} // namespace

std::string PngProblemText(const PngProblem& problem) {
    return Text(problem);
}

} // namespace drovak
