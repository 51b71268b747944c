#include "rom/LzhDecodedSize.h"

#include "base/Errors.h"
#include "compression/Lzh.h"
#include "rom/RomFile.h"

#include <algorithm>

namespace drovak {

uint32_t NewDecodedSize(Stream& rom, uint32_t table, const TableEntry& old,
                        const std::vector<uint8_t>& input) {
    const uint32_t inputSize = uint32_t(input.size());
    if (inputSize <= old.DecodedSize) return inputSize;
    std::vector<uint8_t> overshoot;
    try {
        overshoot =
            LzhDecode(ReadRest(rom, DataPosition(table, old)), old.DecodedSize, rom.Name()).bytes;
    } catch (const DrovakError&) {
        return inputSize;
    }
    if (overshoot.size() < inputSize) return inputSize;
    const bool unedited = std::equal(input.begin() + old.DecodedSize, input.end(),
                                     overshoot.begin() + old.DecodedSize);
    return unedited ? old.DecodedSize : inputSize;
}

} // namespace drovak
