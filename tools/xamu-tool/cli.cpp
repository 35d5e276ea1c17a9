#include "cli.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/errors.h"
#include "platform/file_system.h"

namespace xamu::tool {

void RequireArgumentCount(const Arguments& args, std::size_t count, const char* usage) {
  if (args.size() != count) throw UsageError(std::string("usage: xamu-tool ") + usage);
}

std::string ApplicationFolder(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

TipoArregloByte ReadWholeFile(const std::string& path) {
  std::optional<TipoArregloByte> bytes = platform::ReadFileBytes(path);
  if (!bytes) throw EInOutError("cannot read " + path);
  return std::move(*bytes);
}

void WriteFileInPieces(const std::string& path,
                       const std::function<void(const PieceWriter&)>& produce) {
  const std::string part = path + ".part";
  try {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    if (!out) throw EInOutError("cannot write " + path);
    produce([&](std::span<const std::uint8_t> piece) {
      out.write(reinterpret_cast<const char*>(piece.data()),
                static_cast<std::streamsize>(piece.size()));
      if (!out) throw EInOutError("cannot write " + path);
    });
    out.close();
    if (!out) throw EInOutError("cannot write " + path);
    std::filesystem::rename(part, path);
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(part, ignored);
    throw;
  }
}

void WriteWholeFile(const std::string& path, const TipoArregloByte& bytes) {
  // Replaced whole or not at all: a failure leaves the previous file as it was.
  platform::ReplaceFileAtomically(path, bytes);
}

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
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
