#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "encoding/memory_stream.h"
#include "service/wire_types.h"

// Writes a SOAP 1.1 RPC/encoded message: an envelope without header whose body holds one
// element in the interface's namespace, with one unqualified, xsi:typed child per
// parameter in the order they are added. Requests and (for the local service) responses.
namespace xamu {

inline constexpr const char* kSoapEnvelopeNs = "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr const char* kSoapEncodingNs = "http://schemas.xmlsoap.org/soap/encoding/";
inline constexpr const char* kXmlSchemaNs = "http://www.w3.org/2001/XMLSchema";
inline constexpr const char* kXmlSchemaInstanceNs = "http://www.w3.org/2001/XMLSchema-instance";
inline constexpr const char* kTiposNs = "urn:Tipos";

class SoapWriter {
 public:
  SoapWriter(std::string_view element, std::string_view ns);

  void AddShort(std::string_view name, std::int16_t value);
  void AddInt(std::string_view name, std::int32_t value);
  void AddByte(std::string_view name, std::uint8_t value);
  void AddBoolean(std::string_view name, bool value);
  void AddString(std::string_view name, std::string_view value);
  void AddDouble(std::string_view name, double value);
  // base64 with a CR LF every 76 characters; xsi:nil when empty.
  void AddBytes(std::string_view name, const TipoArregloByte& value);
  void AddSmallIntArray(std::string_view name, const TipoArregloSmallInt& value);
  void AddEntries(std::string_view name, const SincronizacionArchivoInformacion& value);

  // Closes the message and hands its text over; the writer is spent. The text is built in
  // place from the start, as an answer can carry tens of megabytes.
  std::string Finish();

 private:
  void Open(std::string_view name, std::string_view type);
  void Close(std::string_view name);
  void Simple(std::string_view name, std::string_view type, std::string_view text);

  std::string element_;
  std::string xml_;
};

// The envelope of a SOAP fault, for the local service.
std::string SoapFault(std::string_view faultcode, std::string_view faultstring);

// Escapes text for element content and attribute values.
std::string XmlEscape(std::string_view text);

}  // namespace xamu
