#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include <pugixml.hpp>

#include "encoding/memory_stream.h"
#include "service/wire_types.h"

namespace xamu {

// A SOAP 1.1 RPC/encoded message as received: the envelope checked, a fault raised as
// ERemotableException, and the parameters of the body's first element read by their
// local names, whatever the prefixes, with multi-reference values (href/id) followed.
class SoapMessage {
 public:
  // ESOAPResponseError when `xml` is not an envelope with a body.
  explicit SoapMessage(std::string xml);

  // The local name of the body's first element (the operation, or its response).
  std::string OperationName() const;

  // The function result: the only child, else the child named Result or Return (any
  // case). ESOAPResponseError when there is none.
  bool ResultBoolean() const;

  // Each reader leaves `value` unchanged when the message has no element of that name.
  void Read(std::string_view name, std::int16_t& value) const;
  void Read(std::string_view name, std::int32_t& value) const;
  void Read(std::string_view name, std::uint8_t& value) const;
  void Read(std::string_view name, bool& value) const;
  void Read(std::string_view name, double& value) const;
  void Read(std::string_view name, std::string& value) const;
  void Read(std::string_view name, TipoArregloByte& value) const;
  void Read(std::string_view name, TipoArregloSmallInt& value) const;
  void Read(std::string_view name, SincronizacionArchivoInformacion& value) const;

 private:
  pugi::xml_node Parameter(std::string_view name) const;
  pugi::xml_node Dereference(pugi::xml_node node) const;
  pugi::xml_node Result() const;
  // The bytes of a base64 element, decoded once however many references share it, within
  // the answer's budget.
  TipoArregloByte Bytes(pugi::xml_node node) const;

  std::string xml_;  // the parsed document's storage
  pugi::xml_document document_;
  pugi::xml_node body_;
  pugi::xml_node operation_;
  std::unordered_map<std::string, pugi::xml_node> ids_;
  // Every array read out of the answer counts against this, a shared one at each reference:
  // 40 MiB plus twice the answer's size, beyond which the answer is refused.
  std::size_t budget_ = 0;
  mutable std::size_t spent_ = 0;
  mutable std::unordered_map<const void*, TipoArregloByte> decoded_;
};

}  // namespace xamu
