#pragma once

namespace drovak {

// What a limit on the size of a file read whole is for; a refusal names it.
enum class SizeLimit {
    None,         // no limit of its own
    CodecInput,   // what the codecs take (a ROM image's size)
    DataBlock,    // what a compressed block may hold
    Patch,        // a patch file
    Metadata,     // a patch's metadata
    TilePicture,  // one tile picture
    PngFile,      // a PNG file read here
    Sheet,        // a sheet of a mod folder
    Manifest,     // a mod folder's manifest
    UnpackedFile, // a file a previous unpack wrote
    MapOrPalette, // a mod folder's map or palette
};

} // namespace drovak
