#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "commands.h"
#include "encoding/errors.h"
#include "encoding/reader.h"
#include "encoding/text_encoding.h"
#include "encoding/text_forms.h"
#include "encoding/writer.h"

namespace xamu::tool {
namespace {

long double ParseFloat(const std::string& text) {
  char* end = nullptr;
  const long double value = std::strtold(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size()) {
    throw UsageError("not a number: " + text);
  }
  return value;
}

template <typename Float>
std::string ShortestDecimal(Float value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

// One value, as "name value" (or the name alone for values without a payload).
std::string DumpValue(TReader& reader) {
  const TValueType type = reader.NextValue();
  const std::string name(ValueTypeName(type));
  switch (type) {
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
      return name + " " + std::to_string(reader.ReadInteger());
    case TValueType::vaInt64:
      return name + " " + std::to_string(reader.ReadInt64());
    case TValueType::vaExtended:
      return name + " " + ShortestDecimal(reader.ReadFloat());
    case TValueType::vaDouble:
      return name + " " + ShortestDecimal(reader.ReadDouble());
    case TValueType::vaCurrency:
      return name + " " + CurrencyToText(reader.ReadCurrency());
    case TValueType::vaString:
    case TValueType::vaLString:
    case TValueType::vaWString:
    case TValueType::vaUTF8String:
      return name + " " + JsonString(Utf16ToUtf8(reader.ReadString()));
    case TValueType::vaFalse:
    case TValueType::vaTrue:
      reader.ReadBoolean();
      return name;
    case TValueType::vaList:
    case TValueType::vaNull:
      reader.CheckValue(type);
      return name;
    default:
      throw EReadError(kInvalidPropertyValue);
  }
}

}  // namespace

void VsEncode(const Arguments& args) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    for (const std::string& arg : args) {
      const std::size_t colon = arg.find(':');
      const std::string kind = arg.substr(0, colon);
      const std::string value = colon == std::string::npos ? "" : arg.substr(colon + 1);
      if (kind == "int" && colon != std::string::npos) {
        writer.WriteInteger(
            static_cast<std::int32_t>(ParseInteger(value, std::numeric_limits<std::int32_t>::min(),
                                                   std::numeric_limits<std::int32_t>::max())));
      } else if (kind == "int64" && colon != std::string::npos) {
        writer.WriteInteger(ParseInteger(value, std::numeric_limits<std::int64_t>::min(),
                                         std::numeric_limits<std::int64_t>::max()));
      } else if (kind == "str" && colon != std::string::npos) {
        writer.WriteString(Utf8ToUtf16(value));
      } else if (kind == "float" && colon != std::string::npos) {
        writer.WriteFloat(ParseFloat(value));
      } else if (arg == "list") {
        writer.WriteListBegin();
      } else if (arg == "end") {
        writer.WriteListEnd();
      } else {
        throw UsageError("unknown value: " + arg +
                         " (int:N, int64:N, str:TEXT, float:X, list or end)");
      }
    }
  }
  std::printf("%s\n", BytesToHex(stream.Bytes()).c_str());
}

void VsDump(const Arguments& args) {
  MemoryStream stream(ReadWholeFile(args[0]));
  TReader reader(stream);
  while (!reader.AtEnd()) std::printf("%s\n", DumpValue(reader).c_str());
}

}  // namespace xamu::tool
