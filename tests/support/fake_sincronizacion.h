#pragma once

#include <cstdint>
#include <functional>
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

}  // namespace xamu::testing
