#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "encoding/compresion.h"
#include "encoding/crc32.h"
#include "encoding/errors.h"
#include "encoding/reader.h"
#include "encoding/seven_zip.h"
#include "encoding/zlib_codec.h"
#include "support/bytes.h"
#include "support/peak_memory.h"

namespace xamu {
namespace {

using testing::AnswerBound;
using testing::Hex;
using testing::PeakMemoryOf;
using testing::SampleData;

TipoArregloByte ZlibDeflate(const TipoArregloByte& data, int level, int strategy, int window_bits) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, window_bits, 8, strategy), Z_OK);
  TipoArregloByte out(deflateBound(&z, data.size()) + 16);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

TipoArregloByte RoundTrip(const TipoArregloByte& data) {
  TipoArregloByte compressed = ComprimirArreglo(MemoryStream(data));
  MemoryStream out;
  DescomprimirArreglo(out, compressed);
  EXPECT_TRUE(compressed.empty());
  EXPECT_EQ(out.Position(), 0u);
  return out.Bytes();
}

TEST(ComprimirArreglo, EmptyStreamGivesEmptyArrayAndBack) {
  EXPECT_TRUE(ComprimirArreglo(MemoryStream()).empty());
  TipoArregloByte empty;
  MemoryStream stream(Hex("01 02"));
  DescomprimirArreglo(stream, empty);
  EXPECT_EQ(stream.Size(), 0u);
}

TEST(ComprimirArreglo, VariantIsChosenBySizeAtTheThreshold) {
  const TipoArregloByte below = SampleData(kSevenZipThreshold - 1);
  const TipoArregloByte at = SampleData(kSevenZipThreshold);
  const TipoArregloByte deflated = ComprimirArreglo(MemoryStream(below));
  EXPECT_FALSE(HasSevenZipSignature(deflated));
  EXPECT_EQ(InflateRaw(deflated, kDecompressionLimit), below) << "raw DEFLATE, no wrapper";
  EXPECT_EQ(deflated, DeflateRaw(below));
  const TipoArregloByte archived = ComprimirArreglo(MemoryStream(at));
  ASSERT_GE(archived.size(), 6u);
  EXPECT_EQ(TipoArregloByte(archived.begin(), archived.begin() + 6), Hex("37 7A BC AF 27 1C"));
  EXPECT_EQ(RoundTrip(below), below);
  EXPECT_EQ(RoundTrip(at), at);
  const TipoArregloByte one = {0x41};
  EXPECT_EQ(RoundTrip(one), one);
}

TEST(ComprimirArreglo, MatchesZlibAtTheStatedParameters) {
  const TipoArregloByte data = SampleData(5000, 7);
  z_stream z{};
  ASSERT_EQ(deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY), Z_OK);
  TipoArregloByte expected(deflateBound(&z, data.size()));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = expected.data();
  z.avail_out = static_cast<uInt>(expected.size());
  ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  expected.resize(z.total_out);
  deflateEnd(&z);
  EXPECT_EQ(ComprimirArreglo(MemoryStream(data)), expected);
}

TEST(ComprimirArreglo, LeavesTheCallersStreamEmpty) {
  MemoryStream stream(SampleData(100));
  ComprimirArreglo(std::move(stream));
  EXPECT_EQ(stream.Size(), 0u);
}

TEST(DescomprimirArreglo, InflatesRawDeflateFromAnyCompressor) {
  const TipoArregloByte data = SampleData(15000, 3);
  for (const int level : {0, 1, 6, 9}) {
    for (const int strategy : {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED}) {
      for (const int window_bits : {-9, -15}) {
        TipoArregloByte compressed = ZlibDeflate(data, level, strategy, window_bits);
        MemoryStream out;
        DescomprimirArreglo(out, compressed);
        EXPECT_EQ(out.Bytes(), data)
            << "level " << level << " strategy " << strategy << " window " << window_bits;
      }
    }
  }
}

TEST(DescomprimirArreglo, StopsAtTheEndOfTheDeflateStreamOrOfTheInput) {
  const TipoArregloByte data = SampleData(8000, 5);
  TipoArregloByte trailing = DeflateRaw(data);
  trailing.insert(trailing.end(), {0xDE, 0xAD, 0xBE, 0xEF});
  MemoryStream out;
  DescomprimirArreglo(out, trailing);
  EXPECT_EQ(out.Bytes(), data) << "bytes after the end are ignored";

  TipoArregloByte truncated = DeflateRaw(data);
  truncated.resize(truncated.size() / 2);
  DescomprimirArreglo(out, truncated);
  ASSERT_GT(out.Size(), 0u);
  EXPECT_LT(out.Size(), data.size());
  EXPECT_TRUE(std::equal(out.Bytes().begin(), out.Bytes().end(), data.begin()))
      << "a truncated stream yields what it decoded";
}

TEST(DescomprimirArreglo, ShortOrCorruptDataLeavesAnEmptyStreamAndRaisesNothing) {
  // FF is a reserved block type; 7z minus one byte of its signature is not an archive.
  for (const char* hex : {"FF", "07 FF", "37 7A BC", "FF FF FF FF FF FF"}) {
    TipoArregloByte arreglo = Hex(hex);
    MemoryStream out(Hex("41 42"));
    EXPECT_NO_THROW(DescomprimirArreglo(out, arreglo)) << hex;
    EXPECT_EQ(out.Size(), 0u) << hex;
    EXPECT_TRUE(arreglo.empty()) << hex;
    TReader reader(out);
    try {
      reader.ReadString();
      ADD_FAILURE() << "a reader on the empty stream must fail";
    } catch (const EReadError& e) {
      EXPECT_STREQ(e.what(), "Stream read error");
    }
  }
}

TEST(DescomprimirArreglo, RaisesForA7zArchiveThatDoesNotExtractAndEmptiesTheArray) {
  for (const char* hex :
       {"37 7A BC AF", "37 7A BC AF 27 1C 00 04 00 00 00 00", "37 7A BC AF 00 00"}) {
    TipoArregloByte arreglo = Hex(hex);
    MemoryStream out;
    try {
      DescomprimirArreglo(out, arreglo);
      ADD_FAILURE() << hex;
    } catch (const ESevenZipError& e) {
      EXPECT_EQ(e.Kind(), "ESevenZipError");
      EXPECT_NE(std::string(e.what()), "");
    }
    EXPECT_TRUE(arreglo.empty());
  }
}

TEST(DescomprimirStream, RaisesZlibsTextAndKeepsTheCompressedContent) {
  const TipoArregloByte bad = Hex("FF 00 01 02");
  MemoryStream stream(bad);
  try {
    DescomprimirStream(stream);
    ADD_FAILURE() << "corrupt data must raise";
  } catch (const EZDecompressionError& e) {
    EXPECT_STREQ(e.what(), "Data error");
    EXPECT_EQ(e.Code(), Z_DATA_ERROR);
    EXPECT_EQ(e.Kind(), "EZDecompressionError");
  }
  EXPECT_EQ(stream.Bytes(), bad);
}

TEST(DescomprimirStream, DecompressesBothVariantsInPlace) {
  for (const std::size_t size : {std::size_t{500}, std::size_t{60000}}) {
    const TipoArregloByte data = SampleData(size, 11);
    MemoryStream stream(ComprimirArreglo(MemoryStream(data)));
    stream.Seek(stream.Size());
    DescomprimirStream(stream);
    EXPECT_EQ(stream.Bytes(), data);
    EXPECT_EQ(stream.Position(), 0u);
  }
}

TEST(DecompressionLimit, HoldsForAnOutputOfManyBlocks) {
  // Beyond two output blocks of 64 MiB: joined whole, and refused one byte over.
  const TipoArregloByte data((std::size_t{130} << 20) + 3, 'z');
  const TipoArregloByte deflated = DeflateRaw(data);
  EXPECT_EQ(InflateRaw(deflated, data.size()), data);
  EXPECT_THROW(InflateRaw(deflated, data.size() - 1), EZDecompressionError);
  // A stream cut short gives what it held, as before.
  const TipoArregloByte cut(deflated.begin(), deflated.begin() + deflated.size() / 2);
  const TipoArregloByte partial = InflateRaw(cut, kDecompressionLimit);
  EXPECT_GT(partial.size(), 0u);
  EXPECT_TRUE(std::equal(partial.begin(), partial.end(), data.begin()));
}

TEST(DecompressionLimit, IsEnforcedForBothVariants) {
  const TipoArregloByte data(100000, 'a');
  EXPECT_EQ(InflateRaw(DeflateRaw(data), data.size()).size(), data.size())
      << "exactly at the limit";
  EXPECT_THROW(InflateRaw(DeflateRaw(data), data.size() - 1), EZDecompressionError);
  const TipoArregloByte archive = ComprimirArreglo(MemoryStream(data));
  EXPECT_EQ(ExtractSevenZipItem0(archive, data.size()).size(), data.size());
  try {
    ExtractSevenZipItem0(archive, data.size() - 1);
    ADD_FAILURE() << "the item is larger than the limit";
  } catch (const ESevenZipError& e) {
    EXPECT_NE(std::string(e.what()).find("limit"), std::string::npos) << e.what();
  }
}

// Found by fuzzing: numbers inside an archive made the 7z library ask for gigabytes.
TEST(SevenZipReader, HostileNumbersAreRefusedBeforeAnythingIsAllocated) {
  const std::pair<const char*, const char*> cases[] = {
      {"a dictionary of 4294967280 bytes for 20000 bytes of data",
       "377abcaf271c0004fc1f756b3b000000000000004900000000000000e2f561b900006ffdffffa3b7ff473e48"
       "1572396151b89228e6a38607f9eee41e82d32fc53a3c014bb17ec98a8a4d2fa30dd97fa6e38c231153dc7d00"
       "b200000104060001093b00070b01000123030101055df0ffffff0cc0204e00080a0102532f97000005011"
       "20a010000c0a0f1c34bab01140a010000c0a0f1c34bab0115060100200000000000"},
      {"a header outside the archive",
       "377abcaf271c00044d60ff42000000000000000023000009808300070b01000001055d7aff0700000123030101c"
       "4"},
      {"a count of items the header cannot hold",
       "377abcaf271c000417cf0d4a700000000000000049000000000000001f82b46000006ffdffffa3b7ff473e4815"
       "72396151b89228e6a38607f9eee41e82d32fc53a3c014bb17ec98a8a4d2fa30dd97f11e053238ca6e35918c575"
       "8ae277f8b6947f0c6ac0de744964e2e95c53b204d8f7440cab5f0d6d46e9e5c37688e596574c494de1691d6ffb"
       "4b88106c358c40c1000104060001097000070b01000123030101055d000006000cc4e09300080a01fbacb2f600"
       "0005e38c231153e05918c5758ae277f8b6947f0c6ac0de744964e2e95c53b204d8f7fe0cab5f0d6d46e9e5c376"
       "88b796574c494de1691d6ffb4b88106c358c40c1000104060001097000070b01000123030101055d000006000c"
       "c4e09300080a01fbacb2f600000501120a010000c0a001120a010000c0a0f1c34bab01140a010000c0a0f1c34b"
       "ab0115060100200000000000"},
  };
  for (const auto& [reason, hex] : cases) {
    TipoArregloByte archive = Hex(hex);
    MemoryStream out;
    try {
      DescomprimirArreglo(out, archive);
      ADD_FAILURE() << reason;
    } catch (const ESevenZipError& e) {
      EXPECT_EQ(e.what(), std::string("7z: ") + reason);
    }
  }
}

// An archive of no data and this header, padded with `padding` zero bytes.
TipoArregloByte SevenZipWithHeader(TipoArregloByte header, std::size_t padding) {
  header.resize(header.size() + padding, 0);
  TipoArregloByte start = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C, 0, 4, 0, 0, 0, 0};
  const auto le = [&](std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) start.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  le(0, 8);
  le(header.size(), 8);
  le(Crc32(header), 4);
  const std::uint32_t start_crc = Crc32(std::span(start).subspan(12, 20));
  for (int i = 0; i < 4; ++i) start[8 + i] = static_cast<std::uint8_t>(start_crc >> (8 * i));
  start.insert(start.end(), header.begin(), header.end());
  return start;
}

// A header of `items` items (kHeader, kFilesInfo, the count).
TipoArregloByte ItemsHeader(std::uint64_t items) {
  TipoArregloByte header = {0x01, 0x05};
  AppendSevenZipNumber(header, items);
  return header;
}

// An archive whose header is itself compressed, as 7-Zip writes them: the header arrives
// as a few hundred bytes and is decoded to `header`.
TipoArregloByte SevenZipWithEncodedHeader(const TipoArregloByte& header) {
  // An archive of the header as its item; its packed stream becomes the encoded header's,
  // its streams information (all but the two leading and 36 closing bytes, which describe
  // the item) the encoded header's description of it.
  const TipoArregloByte carrier = ComprimirArreglo(MemoryStream(header));
  const auto le = [&](std::size_t at, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | carrier[at + static_cast<std::size_t>(i)];
    return static_cast<std::size_t>(v);
  };
  const std::size_t header_at = 32 + le(12, 8);
  const std::span<const std::uint8_t> carrier_header(carrier.data() + header_at, le(20, 8));
  TipoArregloByte encoded = {0x17};
  encoded.insert(encoded.end(), carrier_header.begin() + 2, carrier_header.end() - 36);
  TipoArregloByte archive(carrier.begin(),
                          carrier.begin() + static_cast<std::ptrdiff_t>(header_at));
  archive.insert(archive.end(), encoded.begin(), encoded.end());
  const auto put = [&](std::size_t at, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
      archive[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put(20, encoded.size(), 8);
  put(28, Crc32(encoded), 4);
  put(8, Crc32(std::span(archive).subspan(12, 20)), 4);
  return archive;
}

std::string Refusal(TipoArregloByte bytes) {
  MemoryStream out;
  try {
    DescomprimirArreglo(out, bytes);
  } catch (const ESevenZipError& e) {
    return std::string(e.what());
  }
  return std::string("accepted");
}

// A count the header could hold, but that a 334-byte archive cannot justify: the reading
// library would allocate some hundred bytes for each of them.
TEST(SevenZipReader, CountsBeyondWhatTheArchivesSizeJustifiesAreRefused) {
  EXPECT_EQ(Refusal(SevenZipWithHeader(ItemsHeader(2000), 300)),
            "7z: a count of items the archive's size cannot justify");
  EXPECT_NE(Refusal(SevenZipWithHeader(ItemsHeader(1000), 300)),
            "7z: a count of items the archive's size cannot justify")
      << "within the counts always allowed";
}

// Counts that made the reading library take gigabytes for an archive of a few hundred
// bytes or one megabyte; each is refused within the bound of what arrived, with the
// decoded header (a decompressed item of its own) besides.
TEST(SevenZipReader, HugeCountsCostNoMoreThanTheArchiveJustifies) {
  TipoArregloByte folders = {0x01, 0x04, 0x07, 0x0B};
  AppendSevenZipNumber(folders, 1000000);
  TipoArregloByte many_items = ItemsHeader(30000000);
  many_items.resize(many_items.size() + 31000000, 0);
  // Four million folders of one copying coder each.
  TipoArregloByte many_folders = {0x01, 0x04, 0x07, 0x0B};
  AppendSevenZipNumber(many_folders, 4000000);
  many_folders.push_back(0);
  for (int i = 0; i < 4000000; ++i) many_folders.insert(many_folders.end(), {0x01, 0x01, 0x00});
  const struct {
    const char* name;
    TipoArregloByte archive;
    std::size_t decoded_header;
    const char* refusal;
  } cases[] = {
      {"30 million items in 300 bytes", SevenZipWithHeader(ItemsHeader(30000000), 300), 0,
       "7z: a count of items the header cannot hold"},
      {"30 million items in an encoded header", SevenZipWithEncodedHeader(many_items),
       many_items.size(), "7z: a count of items the archive's size cannot justify"},
      {"4 million folders in an encoded header", SevenZipWithEncodedHeader(many_folders),
       many_folders.size(), "7z: a count of folders the archive's size cannot justify"},
      {"4 million items in 1 MiB", SevenZipWithHeader(ItemsHeader(4000000), 1 << 20), 0,
       "7z: a count of items the archive's size cannot justify"},
      {"a million folders in 1 MiB", SevenZipWithHeader(folders, 1 << 20), 0,
       "7z: a count of folders the archive's size cannot justify"},
  };
  bool measured = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string refusal;
    const std::optional<std::size_t> peak = PeakMemoryOf([&] { refusal = Refusal(c.archive); });
    EXPECT_EQ(refusal, c.refusal);
    measured = measured && peak;
    if (!peak) continue;
    RecordProperty(c.name, std::to_string(*peak));
    RecordProperty(std::string(c.name) + " (arrived)", std::to_string(c.archive.size()));
    EXPECT_LE(*peak, AnswerBound(c.archive.size()) + c.decoded_header + c.decoded_header / 4)
        << *peak / (1 << 20) << " MiB";
  }
  if (!measured) GTEST_SKIP() << "refusals checked; peak memory cannot be measured here";
}

// Just over the limit, a megabyte of raw DEFLATE: refused as an empty stream, with no
// buffer beyond the limit on the way.
TEST(DecompressionLimit, ABombJustOverTheLimitStaysWithinItInMemory) {
  TipoArregloByte bomb;
  {
    z_stream z{};
    ASSERT_EQ(deflateInit2(&z, 1, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY), Z_OK);
    const TipoArregloByte zeros(std::size_t{16} << 20, 0);
    TipoArregloByte chunk(1 << 20);
    for (std::size_t written = 0; written <= kDecompressionLimit;) {
      const bool last = written + zeros.size() > kDecompressionLimit;
      const std::size_t size = last ? kDecompressionLimit - written + 1 : zeros.size();
      z.next_in = const_cast<Bytef*>(zeros.data());
      z.avail_in = static_cast<uInt>(size);
      do {
        z.next_out = chunk.data();
        z.avail_out = static_cast<uInt>(chunk.size());
        deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
        bomb.insert(bomb.end(), chunk.data(), z.next_out);
      } while (z.avail_out == 0);
      written += size;
    }
    deflateEnd(&z);
  }
  MemoryStream out;
  const std::optional<std::size_t> peak = PeakMemoryOf([&] {
    TipoArregloByte input = bomb;
    DescomprimirArreglo(out, input);
  });
  EXPECT_EQ(out.Size(), 0u);
  if (!peak) GTEST_SKIP() << "peak memory cannot be measured here";
  RecordProperty("peak", std::to_string(*peak));
  RecordProperty("input", std::to_string(bomb.size()));
  EXPECT_LE(*peak, kDecompressionLimit + kDecompressionLimit / 4 + AnswerBound(bomb.size()))
      << *peak / (1 << 20) << " MiB";
}

TEST(StreamAArreglo, CopiesFromTheCurrentPositionIntoAnArrayOfTheStreamsSize) {
  MemoryStream stream(Hex("01 02 03 04"));
  EXPECT_EQ(StreamAArreglo(stream), Hex("01 02 03 04"));
  stream.Seek(2);
  EXPECT_EQ(StreamAArreglo(stream), Hex("03 04 00 00"));
}

TEST(ArregloAStream, WritesAtThePositionAndRewinds) {
  MemoryStream stream(Hex("AA BB CC"));
  stream.Seek(1);
  ArregloAStream(stream, Hex("01 02 03"));
  EXPECT_EQ(stream.Bytes(), Hex("AA 01 02 03"));
  EXPECT_EQ(stream.Position(), 0u);
}

}  // namespace
}  // namespace xamu
