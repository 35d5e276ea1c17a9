#include "cli.h"

#include <charconv>
#include <cstdio>
#include <optional>

#include <nlohmann/json.hpp>

#include "platform/errors.h"
#include "platform/file_system.h"

namespace xamu::tool {

std::string ApplicationFolder(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

TipoArregloByte ReadWholeFile(const std::string& path) {
  if (path == "-") {
    TipoArregloByte bytes;
    std::uint8_t buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
      bytes.insert(bytes.end(), buffer, buffer + n);
    }
    if (std::ferror(stdin)) throw EInOutError("cannot read the standard input");
    return bytes;
  }
  std::optional<TipoArregloByte> bytes = platform::ReadFileBytes(path);
  if (!bytes) throw EInOutError("cannot read " + path);
  return std::move(*bytes);
}

namespace {

void WriteToStandardOutput(std::span<const std::uint8_t> bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
    throw EInOutError("cannot write the standard output");
  }
}

}  // namespace

void WriteFileInPieces(const std::string& path,
                       const std::function<void(const PieceWriter&)>& produce) {
  if (path == "-") {
    produce(WriteToStandardOutput);
    return;
  }
  // Replaced whole or not at all, and never through a link.
  platform::ReplaceFileAtomicallyInPieces(path, produce);
}

void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path == "-") return WriteToStandardOutput(bytes);
  // Replaced whole or not at all: a failure leaves the previous file as it was.
  platform::ReplaceFileAtomically(path, bytes);
}

std::string JsonString(std::string_view utf8) {
  return nlohmann::json(utf8).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::int64_t ParseInteger(std::string_view text, std::int64_t min, std::int64_t max) {
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < min ||
      value > max) {
    throw UsageError("not an integer from " + std::to_string(min) + " to " + std::to_string(max) +
                     ": " + std::string(text));
  }
  return value;
}

}  // namespace xamu::tool
