#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <string>

#include "encoding/compresion.h"
#include "encoding/errors.h"
#include "encoding/seven_zip.h"
#include "encoding/seven_zip_check.h"

namespace xamu {
namespace {

class ArchiveReader {
 public:
  ArchiveReader() : a_(archive_read_new()) {
    if (a_ == nullptr) throw ESevenZipError("7z: cannot allocate an archive reader");
  }
  ~ArchiveReader() { archive_read_free(a_); }
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;
  archive* get() { return a_; }

  [[noreturn]] void Fail(const char* what) {
    const char* text = archive_error_string(a_);
    throw ESevenZipError(std::string("7z: ") + what + ": " + (text ? text : "unknown error"));
  }

 private:
  archive* a_;
};

}  // namespace

void ExtractSevenZipItem0(std::span<const std::uint8_t> data, std::size_t limit,
                          const SevenZipSink& sink) {
  CheckSevenZipArchive(data, limit);
  ArchiveReader reader;
  archive* a = reader.get();
  if (archive_read_support_format_7zip(a) != ARCHIVE_OK) reader.Fail("no 7z support");
  if (archive_read_open_memory(a, data.data(), data.size()) != ARCHIVE_OK) {
    reader.Fail("cannot open the archive");
  }
  archive_entry* entry = nullptr;
  const int rc = archive_read_next_header(a, &entry);
  if (rc == ARCHIVE_EOF) throw ESevenZipError("7z: the archive holds no item");
  if (rc < ARCHIVE_WARN) reader.Fail("cannot read the first item");
  if (archive_entry_size_is_set(entry)) {
    const auto size = static_cast<std::uint64_t>(archive_entry_size(entry));
    if (size > limit) throw ESevenZipError("7z: " + DecompressionLimitText());
    if (sink.expected_size) sink.expected_size(size);
  }
  std::uint64_t produced = 0;
  for (;;) {
    const void* block = nullptr;
    std::size_t size = 0;
    la_int64_t offset = 0;
    const int status = archive_read_data_block(a, &block, &size, &offset);
    if (status == ARCHIVE_EOF) break;
    if (status < ARCHIVE_WARN) reader.Fail("cannot extract the first item");
    // A 7z item has no holes: every block follows the one before.
    if (offset < 0 || static_cast<std::uint64_t>(offset) != produced) {
      throw ESevenZipError("7z: cannot extract the first item: a block out of order");
    }
    if (size > limit - produced) throw ESevenZipError("7z: " + DecompressionLimitText());
    produced += size;
    sink.piece({static_cast<const std::uint8_t*>(block), size});
  }
}

TipoArregloByte ExtractSevenZipItem0(std::span<const std::uint8_t> data, std::size_t limit) {
  TipoArregloByte out;
  ExtractSevenZipItem0(
      data, limit,
      {// Allocated once at the item's size. Only reserved: a header that overstates the size
       // costs address space, not memory, as the pages are touched only when written.
       .expected_size = [&](std::uint64_t size) { out.reserve(static_cast<std::size_t>(size)); },
       .piece =
           [&](std::span<const std::uint8_t> piece) {
             out.insert(out.end(), piece.begin(), piece.end());
           }});
  return out;
}

}  // namespace xamu
