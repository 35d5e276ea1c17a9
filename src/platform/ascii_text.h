#pragma once

#include <string>
#include <string_view>

// Text helpers on ASCII letters and blanks, for names, keys and addresses: letters outside
// ASCII are compared and kept as they are.
namespace xamu::platform {

constexpr char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string UpperAscii(std::string text) {
  for (char& c : text) c = UpperAscii(c);
  return text;
}

constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

constexpr bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// Without the spaces, tabs, carriage returns and line feeds at either end.
constexpr std::string_view TrimWhitespace(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t begin = text.find_first_not_of(kBlanks);
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

// Without the blanks and control characters (every code unit up to the space) at either end.
template <class Char>
constexpr std::basic_string_view<Char> TrimBlanksAndControls(std::basic_string_view<Char> text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] <= Char(' ')) ++begin;
  while (end > begin && text[end - 1] <= Char(' ')) --end;
  return text.substr(begin, end - begin);
}

}  // namespace xamu::platform
