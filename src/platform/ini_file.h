#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system_interface.h"

namespace xamu::platform {

// An INI file read and written with the semantics of the Windows profile functions:
// section and key names compare without regard to letter case, the first match wins,
// values are trimmed and lose one pair of matching quotes around them, ";" lines are
// comments, and lines that are neither a section, a key nor a comment are ignored.
// Writing one key changes only that key's line and keeps every other byte.
class IniFile {
 public:
  IniFile() = default;
  explicit IniFile(std::string text) : text_(std::move(text)) {}
  // A missing or unreadable file reads as an empty one.
  static IniFile Load(const std::string& path);

  // Empty when the key is absent; a key with an empty value gives "".
  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;
  // A decimal number with an optional sign; anything else, or a missing key, gives the default.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t default_value) const;
  // Stored as an integer: 0 is false, any other number true.
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// Writes one key into the file at `path` (creating it when missing), replacing the file
// atomically. Raises EInOutError when it cannot be written.
void WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value, FileSystem& archivos = RealFileSystem());

// The decimal number `text` holds (optional sign, digits, nothing else), if any.
std::optional<std::int32_t> ParseDecimalInteger(std::string_view text);

}  // namespace xamu::platform
