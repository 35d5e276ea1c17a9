#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "encoding/compresion.h"
#include "encoding/writer.h"
#include "service/clientes.h"

namespace xamu::testing {

// A record as the service sends it: `strings` texts, then the date when `with_date`.
inline TipoArregloByte Record(const std::vector<std::u16string>& strings, bool with_date = true) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    for (const auto& s : strings) writer.WriteString(s);
    if (with_date) writer.WriteFloat(43538.25L);
  }
  return ComprimirArreglo(std::move(stream));
}

inline const std::vector<std::u16string> kNine = {u" Grupo Financiero Altiplano\t",
                                                  u"  María García López ",
                                                  u"Av. Reforma 222\r\n",
                                                  u"52",
                                                  u" 55",
                                                  u"5555-0123 ",
                                                  u"",
                                                  u"\x01",
                                                  u" maria@altiplano.mx "};

// Answers GrabarDatosUsuarios with a code and a status, or fails.
class FakeAutenticacion : public IAutenticacionNEW {
 public:
  FakeAutenticacion(std::int16_t codigo, std::int32_t status, bool fails, TipoArregloByte& sent)
      : codigo_(codigo), status_(status), fails_(fails), sent_(sent) {}
  void AutenticarCliente(const TipoArregloByte&, const std::string&, SesionAutenticada&) override {
    throw std::logic_error("not called by the form");
  }
  void GrabarDatosUsuarios(std::int16_t& CodigoError, std::uint8_t& ProximaAccion,
                           std::int32_t& Status, TipoArregloByte& ArregloDeBytes) override {
    EXPECT_EQ(CodigoError, 0);
    EXPECT_EQ(ProximaAccion, 0);
    EXPECT_EQ(Status, 0);
    sent_ = ArregloDeBytes;
    if (fails_) throw std::runtime_error("Empty reply from server");
    CodigoError = codigo_;
    Status = status_;
  }

 private:
  std::int16_t codigo_;
  std::int32_t status_;
  bool fails_;
  TipoArregloByte& sent_;
};

}  // namespace xamu::testing
