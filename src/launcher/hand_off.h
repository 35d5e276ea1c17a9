#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "encoding/memory_stream.h"

// The argument with which the main application is started: the session's identity as a
// value stream, compressed, in the slash form.
namespace xamu {

struct HandOffRecord {
  std::int16_t IDCliente = 0;
  std::int16_t IDUsuario = 0;
  std::int16_t IDPais = 0;
  std::u16string NombreCliente;
  std::u16string NombreUsuario;

  friend bool operator==(const HandOffRecord&, const HandOffRecord&) = default;
};

// The record as a value stream, before compression: the three identifiers (widened with
// their sign), then the two names; no list markers, no count, no terminator.
MemoryStream WriteHandOffRecord(const HandOffRecord& record);

std::string EncodeHandOffText(const HandOffRecord& record);

// What the main application does with the text; EConvertError for a text that is not in
// the slash form, EReadError for bytes that do not hold the record, an identifier
// outside 16 bits included.
HandOffRecord DecodeHandOffText(std::string_view text);

}  // namespace xamu
