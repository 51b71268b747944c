#pragma once

#include "png/PngChunk.h"

#include <memory>
#include <string_view>
#include <vector>

namespace drovak {

// The ordered chunks of one picture. Add keeps the file order whatever the order of the calls:
// IHDR goes first, IEND last, and every other chunk just before IEND (or at the end while there
// is no IEND).
class TPngChunkList {
public:
    // Takes the chunk and returns it, placed.
    TPngChunk& Add(std::unique_ptr<TPngChunk> chunk);
    void Clear() { chunks_.clear(); }

    size_t Count() const { return chunks_.size(); }
    TPngChunk& Item(size_t index) { return *chunks_.at(index); }
    const TPngChunk& Item(size_t index) const { return *chunks_.at(index); }
    // The first chunk of that name, or nullptr.
    TPngChunk* Find(std::string_view name) const;

private:
    std::vector<std::unique_ptr<TPngChunk>> chunks_;
};

} // namespace drovak
