#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Conversions between the system's UTF-16 text and the byte encodings it meets.
namespace xamu {

// Unpaired surrogates become U+FFFD, as the Windows converter does.
std::string Utf16ToUtf8(std::u16string_view text);
// Each byte that does not start or continue a valid sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// Windows-1252, the single-byte code page of value-stream strings and dataset text. Its
// five unassigned bytes map to the control characters of the same number, as on Windows;
// a character it cannot hold is written as "?".
std::u16string Windows1252ToUtf16(std::string_view bytes);
std::string Utf16ToWindows1252(std::u16string_view text);

}  // namespace xamu
