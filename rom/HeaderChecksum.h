#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace drovak {

// The header checksum of an image: the 16-bit sum of its big-endian words from 0x200 to the end
// (an odd last byte counts as a high byte); 0 for an image of 0x200 bytes or fewer.
uint16_t ComputeChecksum(std::span<const uint8_t> image);

// The checksum stored in the header; nothing when the image is too short to hold it.
std::optional<uint16_t> StoredChecksum(std::span<const uint8_t> image);

// Whether the image has a header checksum, and whether it is the one computed.
enum class ChecksumState { Right, Wrong, NoHeader };
ChecksumState CheckChecksum(std::span<const uint8_t> image);

// Stores the computed checksum (nothing when the image is too short to hold it).
void StoreChecksum(std::vector<uint8_t>& image);

// Whether `size` bytes at `at` cover either of the header checksum's two bytes.
bool CoversChecksum(uint64_t at, uint64_t size);

// The checksum rule of every change: when the old image's checksum was right, the new image's
// is stored, so that it stays right; a wrong one is left as it was. A change whose own data lies
// on the checksum's two bytes (`dataOnChecksum`) keeps its data there: the checksum is then
// whatever that data makes it.
void KeepChecksum(std::span<const uint8_t> oldImage, std::vector<uint8_t>& newImage,
                  bool dataOnChecksum = false);

// A checksum as its four hexadecimal digits ("0A1F").
std::string ChecksumText(uint16_t checksum);

} // namespace drovak
