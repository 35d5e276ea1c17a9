#include "encoding/zlib_codec.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>

#include "encoding/compresion.h"
#include "encoding/errors.h"

namespace xamu {
namespace {

constexpr int kLevel = 9;
constexpr int kRawWindowBits = -15;
constexpr int kMemoryLevel = 9;
// zlib counts in uInt; larger inputs are fed in pieces.
constexpr std::size_t kMaxPiece = 1u << 30;

std::string ZlibErrorText(int code) {
  switch (code) {
    case Z_ERRNO:
      return "File error";
    case Z_STREAM_ERROR:
      return "Stream error";
    case Z_DATA_ERROR:
      return "Data error";
    case Z_MEM_ERROR:
      return "Insufficient memory";
    case Z_BUF_ERROR:
      return "Buffer error";
    case Z_VERSION_ERROR:
      return "Incompatible version";
    default:
      return "zlib error " + std::to_string(code);
  }
}

// Owns a z_stream for deflate or inflate and ends it on every path.
class DeflateStream {
 public:
  DeflateStream() {
    const int rc =
        deflateInit2(&z_, kLevel, Z_DEFLATED, kRawWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY);
    if (rc != Z_OK) throw EZCompressionError(rc, ZlibErrorText(rc));
  }
  ~DeflateStream() { deflateEnd(&z_); }
  z_stream* operator->() { return &z_; }
  z_stream* get() { return &z_; }

 private:
  z_stream z_{};
};

class InflateStream {
 public:
  InflateStream() {
    const int rc = inflateInit2(&z_, kRawWindowBits);
    if (rc != Z_OK) throw EZDecompressionError(rc, ZlibErrorText(rc));
  }
  ~InflateStream() { inflateEnd(&z_); }
  z_stream* operator->() { return &z_; }
  z_stream* get() { return &z_; }

 private:
  z_stream z_{};
};

}  // namespace

TipoArregloByte DeflateRaw(std::span<const std::uint8_t> data) {
  DeflateStream z;
  TipoArregloByte out(deflateBound(z.get(), static_cast<uLong>(std::min(data.size(), kMaxPiece))));
  std::size_t consumed = 0;
  std::size_t produced = 0;
  int rc = Z_OK;
  while (rc != Z_STREAM_END) {
    const std::size_t piece = std::min(data.size() - consumed, kMaxPiece);
    z->next_in = const_cast<Bytef*>(data.data() + consumed);
    z->avail_in = static_cast<uInt>(piece);
    if (out.size() - produced < 64) out.resize(out.size() * 2);
    z->next_out = out.data() + produced;
    z->avail_out = static_cast<uInt>(std::min(out.size() - produced, kMaxPiece));
    const bool last = consumed + piece == data.size();
    rc = deflate(z.get(), last ? Z_FINISH : Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
      throw EZCompressionError(rc, ZlibErrorText(rc));
    }
    consumed += piece - z->avail_in;
    produced = static_cast<std::size_t>(z->next_out - out.data());
  }
  out.resize(produced);
  return out;
}

namespace {

// Output beyond the first block is gathered in blocks of this size and joined at the end,
// each released as soon as it is copied: a buffer that doubled would hold twice the output
// while it grew. The blocks are left uninitialised, so only what is written of them is
// resident, and are large enough for the allocator to map each on its own and give it
// back to the system when it is released.
constexpr std::size_t kBloqueSalida = std::size_t{64} << 20;

struct Bloque {
  std::unique_ptr<std::uint8_t[]> bytes;
  std::size_t size = 0;
};

TipoArregloByte Inflate(std::span<const std::uint8_t> data, std::size_t limit) {
  InflateStream z;
  // The first block, at most four times the input, is the result of most inflations.
  TipoArregloByte primero(
      std::clamp<std::size_t>(data.size() * 4, 4096, std::min(kBloqueSalida, limit + 1)));
  std::vector<Bloque> bloques;
  std::size_t consumed = 0;
  std::size_t total = 0;  // in the full blocks
  std::size_t en_ultimo = 0;
  std::span<std::uint8_t> out = primero;
  for (;;) {
    if (en_ultimo == out.size()) {
      total += en_ultimo;
      if (total > limit) throw EZDecompressionError(Z_MEM_ERROR, DecompressionLimitText());
      const std::size_t size = std::min(kBloqueSalida, limit + 1 - total);
      bloques.push_back({std::unique_ptr<std::uint8_t[]>(new std::uint8_t[size]), size});
      out = {bloques.back().bytes.get(), size};
      en_ultimo = 0;
    }
    const std::size_t piece = std::min(data.size() - consumed, kMaxPiece);
    z->next_in = const_cast<Bytef*>(data.data() + consumed);
    z->avail_in = static_cast<uInt>(piece);
    z->next_out = out.data() + en_ultimo;
    z->avail_out = static_cast<uInt>(std::min(out.size() - en_ultimo, kMaxPiece));
    const int rc = inflate(z.get(), Z_NO_FLUSH);
    consumed += piece - z->avail_in;
    en_ultimo = static_cast<std::size_t>(z->next_out - out.data());
    if (rc == Z_STREAM_END) break;
    if (rc == Z_NEED_DICT) throw EZDecompressionError(Z_DATA_ERROR, ZlibErrorText(Z_DATA_ERROR));
    if (rc != Z_OK && rc != Z_BUF_ERROR) throw EZDecompressionError(rc, ZlibErrorText(rc));
    // No progress possible and nothing left to give: the input ended early.
    if (rc == Z_BUF_ERROR && consumed == data.size() && en_ultimo < out.size()) break;
  }
  total += en_ultimo;
  if (total > limit) throw EZDecompressionError(Z_MEM_ERROR, DecompressionLimitText());
  if (bloques.empty()) {
    primero.resize(total);
    return primero;
  }
  TipoArregloByte result;
  result.reserve(total);  // touched only as it is filled
  result.insert(result.end(), primero.begin(), primero.end());
  TipoArregloByte().swap(primero);
  for (Bloque& bloque : bloques) {
    const std::size_t n = std::min(bloque.size, total - result.size());
    result.insert(result.end(), bloque.bytes.get(), bloque.bytes.get() + n);
    bloque.bytes.reset();
  }
  return result;
}

}  // namespace

TipoArregloByte InflateRaw(std::span<const std::uint8_t> data, std::size_t limit) {
  try {
    return Inflate(data, limit);
  } catch (const std::bad_alloc&) {
    // Running out of memory is this decompression's failure, like any other.
    throw EZDecompressionError(Z_MEM_ERROR, ZlibErrorText(Z_MEM_ERROR));
  }
}

void DescomprimirZLib(MemoryStream& stream) {
  try {
    stream.Assign(InflateRaw(stream.Bytes(), kDecompressionLimit));
  } catch (const EZDecompressionError&) {
    // Swallowed on purpose: the reader that follows reports the empty stream.
    stream.Clear();
  }
}

}  // namespace xamu
