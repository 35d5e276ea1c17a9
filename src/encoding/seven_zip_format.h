#pragma once

#include <cstddef>
#include <cstdint>

// Fixed numbers of the 7z container, shared by its writer and the checks before reading.
namespace xamu::sevenzip {

inline constexpr std::uint8_t kSignature[] = {0x37, 0x7A, 0xBC, 0xAF, 0x27, 0x1C};
// A received array is taken for the 7z variant by the signature's first four bytes.
inline constexpr std::size_t kRecognisedSignatureSize = 4;
// The format version written after the signature: 0.4.
inline constexpr std::uint8_t kVersion[] = {0x00, 0x04};
inline constexpr std::size_t kStartHeaderSize = 32;

// Property ids of the header.
enum PropertyId : std::uint8_t {
  kEnd = 0x00,
  kHeader = 0x01,
  kArchiveProperties = 0x02,
  kAdditionalStreamsInfo = 0x03,
  kMainStreamsInfo = 0x04,
  kFilesInfo = 0x05,
  kPackInfo = 0x06,
  kUnPackInfo = 0x07,
  kSubStreamsInfo = 0x08,
  kSize = 0x09,
  kCRC = 0x0A,
  kFolder = 0x0B,
  kCodersUnPackSize = 0x0C,
  kNumUnPackStream = 0x0D,
  kCTime = 0x12,
  kMTime = 0x14,
  kAttributes = 0x15,
  kEncodedHeader = 0x17,
};

// Coder method ids.
inline constexpr std::uint8_t kMethodLzma[] = {0x03, 0x01, 0x01};
inline constexpr std::uint8_t kMethodPpmd[] = {0x03, 0x04, 0x01};
inline constexpr std::uint8_t kMethodLzma2[] = {0x21};

}  // namespace xamu::sevenzip
