#include "rom/HeaderChecksum.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "rom/RomLayout.h"

#include <cstdio>

namespace drovak {

uint16_t ComputeChecksum(std::span<const uint8_t> image) {
    uint32_t sum = 0;
    for (size_t at = CHECKSUM_START; at < image.size(); at += 2) {
        sum += uint32_t(image[at]) << 8;
        if (at + 1 < image.size()) sum += image[at + 1];
    }
    return uint16_t(sum);
}

std::optional<uint16_t> StoredChecksum(std::span<const uint8_t> image) {
    if (image.size() < HEADER_CHECKSUM_OFFSET + 2) return std::nullopt;
    return LoadBigEndian16(&image[HEADER_CHECKSUM_OFFSET]);
}

ChecksumState CheckChecksum(std::span<const uint8_t> image) {
    const std::optional<uint16_t> stored = StoredChecksum(image);
    if (!stored) return ChecksumState::NoHeader;
    return *stored == ComputeChecksum(image) ? ChecksumState::Right : ChecksumState::Wrong;
}

void StoreChecksum(std::vector<uint8_t>& image) {
    if (image.size() < HEADER_CHECKSUM_OFFSET + 2) return;
    StoreBigEndian16(&image[HEADER_CHECKSUM_OFFSET], ComputeChecksum(image));
}

bool CoversChecksum(uint64_t at, uint64_t size) {
    return size > 0 && at < HEADER_CHECKSUM_OFFSET + 2 && at + size > HEADER_CHECKSUM_OFFSET;
}

void KeepChecksum(std::span<const uint8_t> oldImage, std::vector<uint8_t>& newImage,
                  bool dataOnChecksum) {
    if (!dataOnChecksum && CheckChecksum(oldImage) == ChecksumState::Right) {
        StoreChecksum(newImage);
    }
}

std::string ChecksumText(uint16_t checksum) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", unsigned(checksum));
    return text;
}

} // namespace drovak
