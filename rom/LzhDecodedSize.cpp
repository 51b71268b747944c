#include "rom/LzhDecodedSize.h"

#include "compression/Lzh.h"
#include "rom/RomFile.h"

#include <algorithm>

namespace drovak {

uint32_t NewDecodedSize(Stream& rom, uint32_t table, const TableEntry& old,
                        const std::vector<uint8_t>& input) {
    const uint32_t inputSize = uint32_t(input.size());
    if (inputSize <= old.DecodedSize) return inputSize;
    // DecodedSize is below the input's size, which is within the decoder's limit: the old stream
    // decodes (a read that fails is the insert's failure).
    const std::vector<uint8_t> overshoot =
        LzhDecode(ReadRest(rom, DataPosition(table, old)), old.DecodedSize, rom.Name()).bytes;
    if (overshoot.size() < inputSize) return inputSize;
    const bool unedited = std::equal(input.begin() + old.DecodedSize, input.end(),
                                     overshoot.begin() + old.DecodedSize);
    return unedited ? old.DecodedSize : inputSize;
}

} // namespace drovak
