#include "png/PngChunkList.h"

namespace drovak {

TPngChunk& TPngChunkList::Add(std::unique_ptr<TPngChunk> chunk) {
    TPngChunk& added = *chunk;
    auto at = chunks_.end();
    if (added.Name() == "IHDR") {
        at = chunks_.begin();
    } else if (added.Name() != "IEND" && !chunks_.empty() && chunks_.back()->Name() == "IEND") {
        at = chunks_.end() - 1;
    }
    chunks_.insert(at, std::move(chunk));
    return added;
}

TPngChunk* TPngChunkList::Find(std::string_view name) const {
    for (const auto& chunk : chunks_) {
        if (chunk->Name() == name) return chunk.get();
    }
    return nullptr;
}

} // namespace drovak
