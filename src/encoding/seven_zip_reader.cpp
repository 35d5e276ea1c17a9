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

constexpr std::size_t kReadPiece = 64 * 1024;

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

TipoArregloByte ExtractSevenZipItem0(std::span<const std::uint8_t> data, std::size_t limit) {
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
  if (archive_entry_size_is_set(entry) &&
      static_cast<std::uint64_t>(archive_entry_size(entry)) > limit) {
    throw ESevenZipError("7z: " + DecompressionLimitText());
  }

  TipoArregloByte out;
  for (;;) {
    const std::size_t produced = out.size();
    out.resize(produced + kReadPiece);
    const la_ssize_t n = archive_read_data(a, out.data() + produced, kReadPiece);
    if (n < 0) reader.Fail("cannot extract the first item");
    out.resize(produced + static_cast<std::size_t>(n));
    if (n == 0) break;
    if (out.size() > limit) throw ESevenZipError("7z: " + DecompressionLimitText());
  }
  return out;
}

}  // namespace xamu
