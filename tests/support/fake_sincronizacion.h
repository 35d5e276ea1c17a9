#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "service/clientes.h"

namespace xamu::testing {

// A synchronization service whose every operation answers false and changes nothing; fakes
// derive from it and override what they play.
class NullSincronizacion : public ISincronizacion {
 public:
  bool Sincronizar(std::int16_t, std::int16_t, SincronizacionArchivoInformacion&, TipoArregloByte&,
                   std::int16_t, bool, bool, std::int16_t&, std::uint8_t&, std::int32_t&,
                   TipoArregloSmallInt&) override {
    return false;
  }
  bool SincronizarGenerarPaquetes(std::int16_t, std::int16_t, TipoArregloByte&, std::int16_t, bool,
                                  bool, std::int16_t&, std::uint8_t&, std::int32_t&, std::int16_t,
                                  std::int16_t&, TipoArregloByte&) override {
    return false;
  }
  bool SincronizarTraerPaquetes(std::int16_t, TipoArregloByte&, std::int16_t) override {
    return false;
  }
  void SincronizarConfirmar(std::int16_t, bool, std::int16_t&, std::uint8_t&, std::int32_t&,
                            std::int16_t) override {}
  bool SincronizarProgramas(const std::string&, TipoArregloByte&) override { return false; }
  bool SincronizarProgramasGenerarPaquetes(std::int16_t, const std::string&, TipoArregloByte&,
                                           std::int16_t, std::int16_t&) override {
    return false;
  }
};

// Plays the synchronization service for a packetised answer: the prepared packets, the
// structure and a result per packet, recording each call.
class FakeSincronizacion : public NullSincronizacion {
 public:
  std::vector<TipoArregloByte> packets;
  std::vector<bool> results;  // per packet
  TipoArregloByte structure;  // compressed
  std::int16_t code = 0;
  std::vector<std::string> calls;
  std::function<void(int)> on_fetch;  // before packet k is answered; may throw

  bool SincronizarGenerarPaquetes(std::int16_t, std::int16_t, TipoArregloByte& bytes, std::int16_t,
                                  bool, bool, std::int16_t& CodigoError, std::uint8_t&,
                                  std::int32_t& Status, std::int16_t size, std::int16_t& count,
                                  TipoArregloByte& estructura) override {
    calls.push_back("generar " + std::to_string(size));
    CodigoError = code;
    Status = 42;
    count = static_cast<std::int16_t>(packets.size());
    bytes = packets.empty() ? TipoArregloByte() : packets[0];
    estructura = structure;
    return results.empty() ? false : results[0];
  }
  bool SincronizarTraerPaquetes(std::int16_t, TipoArregloByte& bytes, std::int16_t k) override {
    calls.push_back("traer " + std::to_string(k));
    if (on_fetch) on_fetch(k);
    bytes = packets.at(static_cast<std::size_t>(k - 1));
    return results.at(static_cast<std::size_t>(k - 1));
  }
};

// A client that forwards every call to a service the test keeps, so that what the service
// recorded outlives the caller's release of its client.
class BorrowedSincronizacion : public ISincronizacion {
 public:
  explicit BorrowedSincronizacion(ISincronizacion& service) : s_(service) {}
  bool Sincronizar(std::int16_t a, std::int16_t b, SincronizacionArchivoInformacion& c,
                   TipoArregloByte& d, std::int16_t e, bool f, bool g, std::int16_t& h,
                   std::uint8_t& i, std::int32_t& j, TipoArregloSmallInt& k) override {
    return s_.Sincronizar(a, b, c, d, e, f, g, h, i, j, k);
  }
  bool SincronizarGenerarPaquetes(std::int16_t a, std::int16_t b, TipoArregloByte& c,
                                  std::int16_t d, bool e, bool f, std::int16_t& g, std::uint8_t& h,
                                  std::int32_t& i, std::int16_t j, std::int16_t& k,
                                  TipoArregloByte& l) override {
    return s_.SincronizarGenerarPaquetes(a, b, c, d, e, f, g, h, i, j, k, l);
  }
  bool SincronizarTraerPaquetes(std::int16_t a, TipoArregloByte& b, std::int16_t c) override {
    return s_.SincronizarTraerPaquetes(a, b, c);
  }
  void SincronizarConfirmar(std::int16_t a, bool b, std::int16_t& c, std::uint8_t& d,
                            std::int32_t& e, std::int16_t f) override {
    s_.SincronizarConfirmar(a, b, c, d, e, f);
  }
  bool SincronizarProgramas(const std::string& a, TipoArregloByte& b) override {
    return s_.SincronizarProgramas(a, b);
  }
  bool SincronizarProgramasGenerarPaquetes(std::int16_t a, const std::string& b, TipoArregloByte& c,
                                           std::int16_t d, std::int16_t& e) override {
    return s_.SincronizarProgramasGenerarPaquetes(a, b, c, d, e);
  }

 private:
  ISincronizacion& s_;
};

}  // namespace xamu::testing
