#include "platform/ini_file.h"

#include <charconv>
#include <vector>

#include "platform/ascii_text.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace xamu::platform {
namespace {

// One line of the file: where it starts, where its text ends, where the next line starts.
struct Line {
  std::size_t begin;
  std::size_t end;  // before the line break
  std::size_t next;
};

std::vector<Line> SplitLines(const std::string& text) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    const std::size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    if (end > begin && text[end - 1] == '\r') --end;
    lines.push_back({begin, end, next});
    begin = next;
  }
  return lines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimWhitespace(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimWhitespace(line.substr(1, close - 1));
}

// The key of a "key=value" line that is not a comment.
std::optional<std::string_view> KeyName(std::string_view line) {
  const std::string_view trimmed = TrimWhitespace(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return TrimWhitespace(line.substr(0, equals));
}

std::string_view ValueOf(std::string_view line) {
  std::string_view value = TrimWhitespace(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

struct KeyLocation {
  bool section_found = false;
  std::size_t key_line = std::string::npos;           // index of the key's line
  std::size_t last_content_line = std::string::npos;  // last non-blank line of the section
  std::size_t section_line = std::string::npos;
};

KeyLocation Locate(const std::string& text, const std::vector<Line>& lines,
                   std::string_view section, std::string_view key) {
  KeyLocation where;
  bool inside = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line(text.data() + lines[i].begin, lines[i].end - lines[i].begin);
    if (const auto name = SectionName(line)) {
      if (where.section_found) break;  // only the first section of that name counts
      inside = EqualsIgnoringCase(*name, section);
      if (inside) {
        where.section_found = true;
        where.section_line = where.last_content_line = i;
      }
      continue;
    }
    if (!inside) continue;
    if (!TrimWhitespace(line).empty()) where.last_content_line = i;
    if (const auto k = KeyName(line); k && EqualsIgnoringCase(*k, key)) {
      where.key_line = i;
      break;
    }
  }
  return where;
}

}  // namespace

std::optional<std::int32_t> ParseDecimalInteger(std::string_view text) {
  text = TrimWhitespace(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

IniFile IniFile::Load(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  return bytes ? IniFile(std::string(bytes->begin(), bytes->end())) : IniFile();
}

std::optional<std::string> IniFile::ReadString(std::string_view section,
                                               std::string_view key) const {
  const std::vector<Line> lines = SplitLines(text_);
  const KeyLocation where = Locate(text_, lines, section, key);
  if (where.key_line == std::string::npos) return std::nullopt;
  const Line& l = lines[where.key_line];
  return std::string(ValueOf(std::string_view(text_.data() + l.begin, l.end - l.begin)));
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view default_value) const {
  return ReadString(section, key).value_or(std::string(default_value));
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t default_value) const {
  const std::optional<std::string> text = ReadString(section, key);
  return text ? ParseDecimalInteger(*text).value_or(default_value) : default_value;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  // New lines follow the file's own line breaks; Windows' where it has none yet.
  const bool unix_breaks =
      text_.find('\n') != std::string::npos && text_.find("\r\n") == std::string::npos;
  const std::string eol = unix_breaks ? "\n" : "\r\n";
  const std::string entry = std::string(key) + "=" + std::string(value);
  const std::vector<Line> lines = SplitLines(text_);
  const KeyLocation where = Locate(text_, lines, section, key);
  if (where.key_line != std::string::npos) {
    const Line& l = lines[where.key_line];
    text_.replace(l.begin, l.end - l.begin, entry);
  } else if (where.section_found) {
    const Line& l = lines[where.last_content_line];
    const bool has_break = l.next > l.end;
    text_.insert(l.next, has_break ? entry + eol : eol + entry + eol);
  } else {
    if (!text_.empty() && text_.back() != '\n') text_ += eol;
    text_ += "[" + std::string(section) + "]" + eol + entry + eol;
  }
}

void WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value, FileSystem& archivos) {
  IniFile file = IniFile::Load(path);
  file.WriteString(section, key, value);
  const std::string& text = file.Text();
  archivos.ReplaceFileAtomically(
      path, {std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())});
}

}  // namespace xamu::platform
