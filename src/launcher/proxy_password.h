#pragma once

#include <string>
#include <string_view>

// The stored form of the proxy password in the settings file: a value stream holding one
// string, compressed, in the triplet form.
namespace xamu {

// An empty stored text is the empty password. Otherwise the string read back, without
// leading and trailing spaces and control characters. A group that is not a number
// (EConvertError), bytes that do not decompress or hold no string (EReadError,
// ESevenZipError) are raised for the caller to end the start-up.
std::u16string DecodePasswordProxy(std::string_view stored);

// The launcher only reads the form; support engineers write it with xamu-tool.
std::string EncodePasswordProxy(std::u16string_view password);

}  // namespace xamu
