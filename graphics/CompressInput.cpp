#include "graphics/CompressInput.h"

#include "graphics/TileSheet.h"
#include "rom/DataFile.h"

namespace drovak {

CompressInput ReadCompressInput(const std::string& path,
                                const std::function<TilePalette()>& palette,
                                const std::function<std::optional<uint64_t>()>& entryBytes,
                                TileCell cell, const std::function<SheetHints()>& hints) {
    CompressInput input{ReadDataFile(path), std::nullopt};
    if (!HasPngSignature(input.data)) return input;
    const DecodedPng image = ReadPng(input.data, path);
    const std::optional<uint64_t> keep =
        image.Text(TILE_DATA_KEYWORD) ? std::nullopt : entryBytes();
    input.picture = PngToTiles(image, path, palette(), keep, cell, hints ? hints() : SheetHints{});
    input.data = std::move(input.picture->data);
    return input;
}

} // namespace drovak
