#include "service/soap_writer.h"

#include <charconv>

#include "service/base64.h"

namespace xamu {
namespace {

// Generous bounds of the text around the data: an entry's other fields, and what follows
// the last large array (its closing tag, a few scalars, the envelope's end).
constexpr std::size_t kEntryMarkup = 512;
constexpr std::size_t kClosingMarkup = 1024;

std::string EnvelopeStart() {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"utf-8\"?><SOAP-ENV:Envelope xmlns:SOAP-ENV=\"") +
         kSoapEnvelopeNs + "\" xmlns:xsd=\"" + kXmlSchemaNs + "\" xmlns:xsi=\"" +
         kXmlSchemaInstanceNs + "\" xmlns:SOAP-ENC=\"" + kSoapEncodingNs + "\">";
}

std::string DoubleText(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

}  // namespace

std::string XmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

SoapWriter::SoapWriter(std::string_view element, std::string_view ns)
    : element_(element),
      xml_(EnvelopeStart() + "<SOAP-ENV:Body SOAP-ENV:encodingStyle=\"" + kSoapEncodingNs +
           "\"><NS1:" + element_ + " xmlns:NS1=\"" + std::string(ns) + "\">") {}

void SoapWriter::Open(std::string_view name, std::string_view type) {
  xml_ += '<';
  xml_ += name;
  xml_ += " xsi:type=\"";
  xml_ += type;
  xml_ += "\">";
}

void SoapWriter::Close(std::string_view name) {
  xml_ += "</";
  xml_ += name;
  xml_ += '>';
}

void SoapWriter::Simple(std::string_view name, std::string_view type, std::string_view text) {
  Open(name, type);
  xml_ += XmlEscape(text);
  Close(name);
}

void SoapWriter::AddShort(std::string_view name, std::int16_t value) {
  Simple(name, "xsd:short", std::to_string(value));
}
void SoapWriter::AddInt(std::string_view name, std::int32_t value) {
  Simple(name, "xsd:int", std::to_string(value));
}
void SoapWriter::AddByte(std::string_view name, std::uint8_t value) {
  Simple(name, "xsd:unsignedByte", std::to_string(value));
}
void SoapWriter::AddBoolean(std::string_view name, bool value) {
  Simple(name, "xsd:boolean", value ? "true" : "false");
}
void SoapWriter::AddString(std::string_view name, std::string_view value) {
  Simple(name, "xsd:string", value);
}
void SoapWriter::AddDouble(std::string_view name, double value) {
  Simple(name, "xsd:double", DoubleText(value));
}

void SoapWriter::AddBytes(std::string_view name, const TipoArregloByte& value) {
  if (value.empty()) {
    xml_ += '<';
    xml_ += name;
    xml_ += " xsi:type=\"xsd:base64Binary\" xsi:nil=\"true\"/>";
    return;
  }
  // Room for the closing tags and a few small parameters after it, so that a large array
  // is not copied again to grow the text by a few bytes.
  xml_.reserve(xml_.size() + Base64LinesSize(value.size()) + kClosingMarkup);
  Open(name, "xsd:base64Binary");
  AppendBase64Lines(value, xml_);
  Close(name);
}

void SoapWriter::AddSmallIntArray(std::string_view name, const TipoArregloSmallInt& value) {
  xml_ += '<';
  xml_ += name;
  xml_ += " xsi:type=\"SOAP-ENC:Array\" SOAP-ENC:arrayType=\"xsd:short[" +
          std::to_string(value.size()) + "]\">";
  for (const std::int16_t v : value) xml_ += "<item>" + std::to_string(v) + "</item>";
  Close(name);
}

void SoapWriter::AddEntries(std::string_view name, const SincronizacionArchivoInformacion& value) {
  xml_ += '<';
  xml_ += name;
  xml_ += std::string(" xmlns:NS2=\"") + kTiposNs +
          "\" xsi:type=\"SOAP-ENC:Array\" SOAP-ENC:arrayType=\"NS2:Archivo1Sincronizacion[" +
          std::to_string(value.size()) + "]\">";
  std::size_t datos = 0;
  for (const Archivo1Sincronizacion& e : value) datos += Base64LinesSize(e.Datos.size());
  xml_.reserve(xml_.size() + datos + value.size() * kEntryMarkup + kClosingMarkup);
  for (const Archivo1Sincronizacion& e : value) {
    xml_ += "<item xsi:type=\"NS2:Archivo1Sincronizacion\">";
    AddShort("IDObjeto", e.IDObjeto);
    AddString("Nombre", e.Nombre);
    AddInt("Longitud", e.Longitud);
    AddDouble("Fecha", e.Fecha);
    AddBytes("Datos", e.Datos);
    xml_ += "</item>";
  }
  Close(name);
}

std::string SoapWriter::Finish() {
  xml_ += "</NS1:";
  xml_ += element_;
  xml_ += "></SOAP-ENV:Body></SOAP-ENV:Envelope>";
  return std::move(xml_);
}

std::string SoapFault(std::string_view faultcode, std::string_view faultstring) {
  return EnvelopeStart() + "<SOAP-ENV:Body><SOAP-ENV:Fault><faultcode>" + XmlEscape(faultcode) +
         "</faultcode><faultstring>" + XmlEscape(faultstring) +
         "</faultstring></SOAP-ENV:Fault></SOAP-ENV:Body></SOAP-ENV:Envelope>";
}

}  // namespace xamu
