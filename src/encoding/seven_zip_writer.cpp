#include <lzma.h>

#include <algorithm>
#include <string>

#include "encoding/crc32.h"
#include "encoding/errors.h"
#include "encoding/little_endian.h"
#include "encoding/seven_zip.h"
#include "encoding/seven_zip_format.h"

#ifndef LZMA_FILTER_LZMA1EXT
#error "liblzma 5.4 or later is needed: LZMA_FILTER_LZMA1EXT writes LZMA without an end marker"
#endif

namespace xamu {
namespace {

using namespace sevenzip;

constexpr int kPreset = 9;
// liblzma's dictionary at level 9; only inputs beyond it compress differently from 7-Zip.
constexpr std::uint64_t kDictionaryCap = 64u << 20;
constexpr std::uint32_t kArchiveAttribute = 0x20;

std::string LzmaErrorText(lzma_ret rc) {
  switch (rc) {
    case LZMA_MEM_ERROR:
      return "LZMA: cannot allocate memory";
    case LZMA_MEMLIMIT_ERROR:
      return "LZMA: memory usage limit reached";
    case LZMA_OPTIONS_ERROR:
      return "LZMA: unsupported options";
    case LZMA_DATA_ERROR:
      return "LZMA: data is corrupt";
    case LZMA_BUF_ERROR:
      return "LZMA: no progress is possible";
    case LZMA_PROG_ERROR:
      return "LZMA: programming error";
    default:
      return "LZMA: error " + std::to_string(static_cast<int>(rc));
  }
}

// 7-Zip's choice at level 9: the data size, at least 4 KiB, rounded up to a whole MiB
// from 2 MiB on and below that to 2^k or 3 * 2^k.
std::uint32_t DictionarySize(std::size_t data_size) {
  const std::uint64_t wanted =
      std::max<std::uint64_t>(std::min<std::uint64_t>(data_size, kDictionaryCap), 4096);
  constexpr std::uint64_t kMiB = 1u << 20;
  if (wanted >= 2 * kMiB) return static_cast<std::uint32_t>((wanted + kMiB - 1) / kMiB * kMiB);
  for (int k = 12;; ++k) {
    if ((1ull << k) >= wanted) return static_cast<std::uint32_t>(1ull << k);
    if ((3ull << (k - 1)) >= wanted) return static_cast<std::uint32_t>(3ull << (k - 1));
  }
}

class LzmaStream {
 public:
  LzmaStream() = default;
  ~LzmaStream() { lzma_end(&s_); }
  lzma_stream* get() { return &s_; }
  lzma_stream* operator->() { return &s_; }

 private:
  lzma_stream s_ = LZMA_STREAM_INIT;
};

// Raw LZMA1 without the .lzma header and without an end marker; the first byte is 00.
TipoArregloByte EncodeLzma(std::span<const std::uint8_t> data, std::uint32_t dictionary,
                           TipoArregloByte out) {
  lzma_options_lzma options{};  // the ext_* fields must be zero
  if (lzma_lzma_preset(&options, kPreset)) throw ESevenZipError(LzmaErrorText(LZMA_OPTIONS_ERROR));
  options.dict_size = dictionary;
  const lzma_filter filters[] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
  LzmaStream s;
  lzma_ret rc = lzma_raw_encoder(s.get(), filters);
  if (rc != LZMA_OK) throw ESevenZipError(LzmaErrorText(rc));
  const std::size_t start = out.size();
  out.resize(start + data.size() / 2 + 4096);
  s->next_in = data.data();
  s->avail_in = data.size();
  std::size_t produced = start;
  do {
    if (produced == out.size()) out.resize(out.size() * 2);
    s->next_out = out.data() + produced;
    s->avail_out = out.size() - produced;
    rc = lzma_code(s.get(), LZMA_FINISH);
    produced = static_cast<std::size_t>(s->next_out - out.data());
    if (rc != LZMA_OK && rc != LZMA_STREAM_END) throw ESevenZipError(LzmaErrorText(rc));
  } while (rc != LZMA_STREAM_END);
  out.resize(produced);
  return out;
}

class ByteWriter {
 public:
  void Byte(std::uint8_t b) { bytes_.push_back(b); }
  void Bytes(std::span<const std::uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
  void LittleEndian(std::uint64_t value, std::size_t width) {
    AppendLittleEndian(bytes_, value, width);
  }
  void Number(std::uint64_t value) { AppendSevenZipNumber(bytes_, value); }
  const TipoArregloByte& Result() const { return bytes_; }

 private:
  TipoArregloByte bytes_;
};

TipoArregloByte ArchiveHeader(std::uint64_t data_size, std::uint64_t packed_size,
                              std::uint32_t data_crc, std::uint32_t dictionary,
                              std::uint64_t filetime) {
  ByteWriter h;
  h.Byte(kHeader);
  h.Byte(kMainStreamsInfo);

  h.Byte(kPackInfo);
  h.Number(0);  // pack position: right after the signature header
  h.Number(1);  // pack streams
  h.Byte(kSize);
  h.Number(packed_size);
  h.Byte(kEnd);

  h.Byte(kUnPackInfo);
  h.Byte(kFolder);
  h.Number(1);                        // folders
  h.Byte(0);                          // not external
  h.Number(1);                        // coders in the folder
  h.Byte(0x20 | sizeof kMethodLzma);  // simple coder with properties
  h.Bytes(kMethodLzma);
  h.Number(5);
  h.Byte(0x5D);  // lc 3, lp 0, pb 2
  h.LittleEndian(dictionary, 4);
  h.Byte(kCodersUnPackSize);
  h.Number(data_size);
  h.Byte(kEnd);

  h.Byte(kSubStreamsInfo);
  h.Byte(kCRC);
  h.Byte(1);  // all defined
  h.LittleEndian(data_crc, 4);
  h.Byte(kEnd);
  h.Byte(kEnd);  // MainStreamsInfo

  h.Byte(kFilesInfo);
  h.Number(1);  // items
  for (const std::uint8_t time_property : {kCTime, kMTime}) {
    h.Byte(time_property);
    h.Number(10);
    h.Byte(1);  // all defined
    h.Byte(0);  // not external
    h.LittleEndian(filetime, 8);
  }
  h.Byte(kAttributes);
  h.Number(6);
  h.Byte(1);
  h.Byte(0);
  h.LittleEndian(kArchiveAttribute, 4);
  h.Byte(kEnd);  // FilesInfo
  h.Byte(kEnd);  // Header
  return h.Result();
}

}  // namespace

void AppendSevenZipNumber(TipoArregloByte& out, std::uint64_t value) {
  std::uint8_t first = 0;
  std::uint8_t mask = 0x80;
  int extra = 0;
  for (; extra < 8; ++extra) {
    if (value < (1ull << (7 * (extra + 1)))) {
      first |= static_cast<std::uint8_t>(value >> (8 * extra));
      break;
    }
    first |= mask;
    mask >>= 1;
  }
  out.push_back(first);
  for (int i = 0; i < extra; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

TipoArregloByte WriteSevenZipArchive(std::span<const std::uint8_t> data, std::uint64_t filetime) {
  const std::uint32_t dictionary = DictionarySize(data.size());
  TipoArregloByte archive = EncodeLzma(data, dictionary, TipoArregloByte(kStartHeaderSize));
  const std::uint64_t packed_size = archive.size() - kStartHeaderSize;
  const TipoArregloByte header =
      ArchiveHeader(data.size(), packed_size, Crc32(data), dictionary, filetime);
  archive.insert(archive.end(), header.begin(), header.end());

  ByteWriter start;
  start.LittleEndian(packed_size, 8);  // next header offset, counted from byte 32
  start.LittleEndian(header.size(), 8);
  start.LittleEndian(Crc32(header), 4);
  ByteWriter signature;
  signature.Bytes(kSignature);
  signature.Bytes(kVersion);
  signature.LittleEndian(Crc32(start.Result()), 4);
  signature.Bytes(start.Result());
  std::copy(signature.Result().begin(), signature.Result().end(), archive.begin());
  return archive;
}

}  // namespace xamu
