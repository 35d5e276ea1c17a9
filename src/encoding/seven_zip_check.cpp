#include "encoding/seven_zip_check.h"

#include <lzma.h>

#include <algorithm>
#include <string>
#include <vector>

#include "encoding/crc32.h"
#include "encoding/errors.h"
#include "encoding/little_endian.h"
#include "encoding/memory_stream.h"
#include "encoding/seven_zip_format.h"

namespace xamu {
namespace {

using namespace sevenzip;

// A dictionary or model of this size is allowed whatever the data says: it is what our own
// writer may use, and what the reading library then allocates is bounded by it.
constexpr std::uint64_t kAlwaysAllowedMemory = 64u << 20;
constexpr std::uint64_t kMaxHeaderSize = 64u << 20;
constexpr std::uint64_t kMaxStreamsPerFolder = 64;
// The reading library allocates by the counts of items, folders and streams, some hundred
// bytes each. A small archive may have this many whatever its size; a larger one one more
// per 32 bytes of the archive, so that what they cost stays within a few times its size.
constexpr std::uint64_t kAlwaysAllowedCount = 1024;
constexpr std::uint64_t kArchiveBytesPerCount = 32;

[[noreturn]] void Refuse(const std::string& what) {
  throw ESevenZipError("7z: " + what);
}

class Cursor {
 public:
  Cursor(std::span<const std::uint8_t> bytes, std::uint64_t archive_size)
      : bytes_(bytes), max_count_(kAlwaysAllowedCount + archive_size / kArchiveBytesPerCount) {}
  std::size_t Remaining() const { return bytes_.size() - position_; }
  std::uint8_t Byte() {
    if (position_ == bytes_.size()) Refuse("the header ends early");
    return bytes_[position_++];
  }
  std::span<const std::uint8_t> Take(std::uint64_t count) {
    if (count > Remaining()) Refuse("the header ends early");
    const auto part = bytes_.subspan(position_, static_cast<std::size_t>(count));
    position_ += static_cast<std::size_t>(count);
    return part;
  }
  std::uint64_t Number() {
    const std::uint8_t first = Byte();
    std::uint8_t mask = 0x80;
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) {
      if ((first & mask) == 0)
        return value | (static_cast<std::uint64_t>(first & (mask - 1)) << (8 * i));
      value |= static_cast<std::uint64_t>(Byte()) << (8 * i);
      mask >>= 1;
    }
    return value;
  }
  // A count of things that each take at least one more byte of the header.
  std::uint64_t Count(const char* what) {
    const std::uint64_t n = Number();
    if (n > Remaining()) Refuse(std::string("a count of ") + what + " the header cannot hold");
    return Justified(n, what);
  }
  // A count the archive's size justifies, whatever the header could hold.
  std::uint64_t Justified(std::uint64_t n, const char* what) const {
    if (n > max_count_) {
      Refuse(std::string("a count of ") + what + " the archive's size cannot justify");
    }
    return n;
  }
  void Expect(std::uint64_t id) {
    if (Number() != id) Refuse("an unexpected property in the header");
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
  std::uint64_t max_count_;
};

std::uint32_t LittleEndian32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(DecodeLittleEndian(b.subspan(at, 4)));
}

std::uint64_t LittleEndian64(std::span<const std::uint8_t> b, std::size_t at) {
  return DecodeLittleEndian(b.subspan(at, 8));
}

std::uint64_t DefinedCount(Cursor& c, std::uint64_t n) {
  if (c.Byte() != 0) return n;  // all defined
  const auto bits = c.Take((n + 7) / 8);
  std::uint64_t defined = 0;
  for (std::uint64_t i = 0; i < n; ++i) defined += (bits[i / 8] >> (7 - i % 8)) & 1;
  return defined;
}

void SkipDigests(Cursor& c, std::uint64_t n) {
  c.Take(DefinedCount(c, n) * 4);
}

struct Coder {
  std::vector<std::uint8_t> id;
  std::vector<std::uint8_t> properties;
};

struct Folder {
  std::vector<Coder> coders;
  std::uint64_t out_streams = 0;
  std::uint64_t packed_streams = 0;
  std::uint64_t largest_unpack = 0;
  bool crc_defined = false;
};

struct StreamsInfo {
  std::uint64_t pack_position = 0;
  std::vector<std::uint64_t> pack_sizes;
  std::vector<Folder> folders;
};

bool IsMethod(const Coder& coder, std::span<const std::uint8_t> id) {
  return std::equal(coder.id.begin(), coder.id.end(), id.begin(), id.end());
}

// Dictionary and model sizes may not exceed what the folder unpacks (or a fixed allowance).
void CheckMemory(const Folder& folder) {
  const std::uint64_t allowed = std::max(folder.largest_unpack, kAlwaysAllowedMemory);
  for (const Coder& coder : folder.coders) {
    std::uint64_t memory = 0;
    if (IsMethod(coder, kMethodLzma) || IsMethod(coder, kMethodPpmd)) {  // LZMA, PPMd
      if (coder.properties.size() < 5) Refuse("coder properties that are too short");
      memory = LittleEndian32(coder.properties, 1);
    } else if (IsMethod(coder, kMethodLzma2)) {  // LZMA2
      if (coder.properties.size() < 1 || coder.properties[0] > 40)
        Refuse("an invalid LZMA2 dictionary");
      const unsigned p = coder.properties[0];
      memory = p == 40 ? 0xFFFFFFFFu : (2u | (p & 1u)) << (p / 2 + 11);
    }
    if (memory > allowed) {
      Refuse("a dictionary of " + std::to_string(memory) + " bytes for " +
             std::to_string(folder.largest_unpack) + " bytes of data");
    }
  }
}

Folder ReadFolder(Cursor& c) {
  Folder folder;
  const std::uint64_t coders = c.Count("coders");
  std::uint64_t in_streams = 0;
  for (std::uint64_t i = 0; i < coders; ++i) {
    const std::uint8_t flags = c.Byte();
    if (flags & 0x80) Refuse("alternative coder methods");
    Coder coder;
    const auto id = c.Take(flags & 0x0F);
    coder.id.assign(id.begin(), id.end());
    std::uint64_t in = 1;
    std::uint64_t out = 1;
    if (flags & 0x10) {
      in = c.Number();
      out = c.Number();
    }
    if (in > kMaxStreamsPerFolder || out > kMaxStreamsPerFolder) Refuse("too many coder streams");
    in_streams += in;
    folder.out_streams += out;
    if (in_streams > kMaxStreamsPerFolder || folder.out_streams > kMaxStreamsPerFolder) {
      Refuse("too many coder streams");
    }
    if (flags & 0x20) {
      const auto properties = c.Take(c.Number());
      coder.properties.assign(properties.begin(), properties.end());
    }
    folder.coders.push_back(std::move(coder));
  }
  if (folder.out_streams == 0) Refuse("a folder without coders");
  const std::uint64_t bind_pairs = folder.out_streams - 1;
  for (std::uint64_t i = 0; i < bind_pairs; ++i) {
    c.Number();
    c.Number();
  }
  if (in_streams < bind_pairs + 1) Refuse("a folder without packed streams");
  folder.packed_streams = in_streams - bind_pairs;
  if (folder.packed_streams > 1) {
    for (std::uint64_t i = 0; i < folder.packed_streams; ++i) c.Number();
  }
  return folder;
}

void ReadPackInfo(Cursor& c, StreamsInfo& info, std::uint64_t data_size) {
  info.pack_position = c.Number();
  const std::uint64_t streams = c.Count("packed streams");
  std::uint64_t total = 0;
  for (std::uint64_t id = c.Number(); id != kEnd; id = c.Number()) {
    if (id == kSize) {
      for (std::uint64_t i = 0; i < streams; ++i) {
        const std::uint64_t size = c.Number();
        if (size > data_size || total > data_size - size)
          Refuse("packed streams larger than the archive");
        total += size;
        info.pack_sizes.push_back(size);
      }
    } else if (id == kCRC) {
      SkipDigests(c, streams);
    } else {
      Refuse("an unknown property in the packed streams");
    }
  }
  if (info.pack_position > data_size || total > data_size - info.pack_position) {
    Refuse("packed streams outside the archive");
  }
}

void ReadUnPackInfo(Cursor& c, StreamsInfo& info, std::uint64_t limit) {
  c.Expect(kFolder);
  const std::uint64_t folders = c.Count("folders");
  if (c.Byte() != 0) Refuse("folders kept outside the header");
  for (std::uint64_t i = 0; i < folders; ++i) info.folders.push_back(ReadFolder(c));
  c.Expect(kCodersUnPackSize);
  for (Folder& folder : info.folders) {
    for (std::uint64_t i = 0; i < folder.out_streams; ++i) {
      const std::uint64_t size = c.Number();
      if (size > limit)
        Refuse("an unpacked size beyond the limit of " + std::to_string(limit) + " bytes");
      folder.largest_unpack = std::max(folder.largest_unpack, size);
    }
    CheckMemory(folder);
  }
  for (std::uint64_t id = c.Number(); id != kEnd; id = c.Number()) {
    if (id != kCRC) Refuse("an unknown property in the folders");
    const std::uint8_t all = c.Byte();
    if (all != 0) {
      for (Folder& folder : info.folders) folder.crc_defined = true;
      c.Take(4 * info.folders.size());
    } else {
      const auto bits = c.Take((info.folders.size() + 7) / 8);
      std::uint64_t defined = 0;
      for (std::size_t i = 0; i < info.folders.size(); ++i) {
        info.folders[i].crc_defined = (bits[i / 8] >> (7 - i % 8)) & 1;
        defined += info.folders[i].crc_defined;
      }
      c.Take(4 * defined);
    }
  }
}

void ReadSubStreamsInfo(Cursor& c, const StreamsInfo& info, std::uint64_t limit) {
  std::vector<std::uint64_t> substreams(info.folders.size(), 1);
  std::uint64_t id = c.Number();
  if (id == kNumUnPackStream) {
    std::uint64_t total = 0;
    for (std::uint64_t& n : substreams) {
      n = c.Number();
      // Every stream but the last of a folder has its size written.
      if (n > c.Remaining() + 1) Refuse("a count of streams the header cannot hold");
      total += n;
      c.Justified(total, "streams");
    }
    id = c.Number();
  }
  if (id == kSize) {
    for (const std::uint64_t n : substreams) {
      for (std::uint64_t i = 1; i < n; ++i) {
        if (c.Number() > limit) Refuse("an unpacked size beyond the limit");
      }
    }
    id = c.Number();
  }
  while (id != kEnd) {
    if (id != kCRC) Refuse("an unknown property in the substreams");
    std::uint64_t digests = 0;
    for (std::size_t i = 0; i < substreams.size(); ++i) {
      if (substreams[i] != 1 || !info.folders[i].crc_defined) digests += substreams[i];
    }
    if (digests > 8 * c.Remaining()) Refuse("a count of digests the header cannot hold");
    SkipDigests(c, digests);
    id = c.Number();
  }
}

StreamsInfo ReadStreamsInfo(Cursor& c, std::uint64_t data_size, std::uint64_t limit) {
  StreamsInfo info;
  std::uint64_t id = c.Number();
  if (id == kPackInfo) {
    ReadPackInfo(c, info, data_size);
    id = c.Number();
  }
  if (id == kUnPackInfo) {
    ReadUnPackInfo(c, info, limit);
    id = c.Number();
  }
  if (id == kSubStreamsInfo) {
    ReadSubStreamsInfo(c, info, limit);
    id = c.Number();
  }
  if (id != kEnd) Refuse("an unknown property in the streams");
  return info;
}

void SkipProperties(Cursor& c) {
  for (std::uint64_t type = c.Number(); type != kEnd; type = c.Number()) c.Take(c.Number());
}

void CheckHeader(std::span<const std::uint8_t> header, std::uint64_t data_size,
                 std::uint64_t limit) {
  Cursor c(header, data_size);
  c.Expect(kHeader);
  std::uint64_t id = c.Number();
  if (id == kArchiveProperties) {
    SkipProperties(c);
    id = c.Number();
  }
  if (id == kAdditionalStreamsInfo) {
    ReadStreamsInfo(c, data_size, limit);
    id = c.Number();
  }
  if (id == kMainStreamsInfo) {
    ReadStreamsInfo(c, data_size, limit);
    id = c.Number();
  }
  if (id == kFilesInfo) {
    // An item takes at least one bit of the header (empty items only a bit in a vector).
    const std::uint64_t items = c.Number();
    if (items > 8 * c.Remaining() + 8) Refuse("a count of items the header cannot hold");
    c.Justified(items, "items");
    SkipProperties(c);
    id = c.Number();
  }
  if (id != kEnd) Refuse("an unknown property in the header");
}

// Decodes a header that 7-Zip stored compressed, with LZMA or LZMA2 as it does.
TipoArregloByte DecodeHeader(std::span<const std::uint8_t> archive, const StreamsInfo& info) {
  if (info.folders.size() != 1 || info.pack_sizes.size() != 1 ||
      info.folders[0].coders.size() != 1 || info.folders[0].packed_streams != 1) {
    Refuse("a compressed header of an unsupported form");
  }
  const Folder& folder = info.folders[0];
  const Coder& coder = folder.coders[0];
  lzma_filter filters[2] = {{LZMA_VLI_UNKNOWN, nullptr}, {LZMA_VLI_UNKNOWN, nullptr}};
  if (IsMethod(coder, kMethodLzma)) {
    filters[0].id = LZMA_FILTER_LZMA1;
  } else if (IsMethod(coder, kMethodLzma2)) {
    filters[0].id = LZMA_FILTER_LZMA2;
  } else {
    Refuse("a header compressed with a method other than LZMA");
  }
  if (lzma_properties_decode(&filters[0], nullptr, coder.properties.data(),
                             coder.properties.size()) != LZMA_OK) {
    Refuse("invalid header coder properties");
  }
  TipoArregloByte header(static_cast<std::size_t>(folder.largest_unpack));
  lzma_stream s = LZMA_STREAM_INIT;
  lzma_ret rc = lzma_raw_decoder(&s, filters);
  free(filters[0].options);
  if (rc != LZMA_OK) Refuse("the header's decoder cannot start");
  s.next_in = archive.data() + kStartHeaderSize + info.pack_position;
  s.avail_in = static_cast<std::size_t>(info.pack_sizes[0]);
  s.next_out = header.data();
  s.avail_out = header.size();
  // LZMA without an end marker stops when the known size has been produced.
  while (s.avail_out != 0 && (rc == LZMA_OK)) rc = lzma_code(&s, LZMA_FINISH);
  const bool complete =
      s.avail_out == 0 && (rc == LZMA_OK || rc == LZMA_STREAM_END || rc == LZMA_BUF_ERROR);
  lzma_end(&s);
  if (!complete) Refuse("a compressed header that does not decode");
  return header;
}

}  // namespace

void CheckSevenZipArchive(std::span<const std::uint8_t> archive, std::size_t limit) {
  if (archive.size() < kStartHeaderSize ||
      !std::equal(std::begin(kSignature), std::end(kSignature), archive.begin())) {
    Refuse("not a 7z archive");
  }
  if (archive[6] != 0) Refuse("an unsupported format version");
  if (LittleEndian32(archive, 8) != Crc32(archive.subspan(12, 20)))
    Refuse("a damaged start header");
  const std::uint64_t offset = LittleEndian64(archive, 12);
  const std::uint64_t size = LittleEndian64(archive, 20);
  const std::uint64_t data_size = archive.size() - kStartHeaderSize;
  if (offset > data_size || size > data_size - offset) Refuse("a header outside the archive");
  if (size == 0) return;  // an archive without items
  const auto header = archive.subspan(kStartHeaderSize + static_cast<std::size_t>(offset),
                                      static_cast<std::size_t>(size));
  if (LittleEndian32(archive, 28) != Crc32(header)) Refuse("a damaged header");
  if (header[0] != kEncodedHeader) {
    CheckHeader(header, data_size, limit);
    return;
  }
  Cursor c(header, data_size);
  c.Byte();
  const StreamsInfo info =
      ReadStreamsInfo(c, data_size, std::min<std::uint64_t>(limit, kMaxHeaderSize));
  const TipoArregloByte decoded = DecodeHeader(archive, info);
  CheckHeader(decoded, data_size, limit);
}

}  // namespace xamu
