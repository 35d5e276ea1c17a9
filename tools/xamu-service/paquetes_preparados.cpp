#include "paquetes_preparados.h"

#include <algorithm>

namespace xamu::servicio {

std::vector<TipoArregloByte> CortarEnPaquetes(const TipoArregloByte& datos, std::int16_t tamano) {
  std::size_t largo =
      tamano > 0 ? static_cast<std::size_t>(tamano) : std::max<std::size_t>(datos.size(), 1);
  largo = std::max(largo, (datos.size() + kMaxPaquetes - 1) / kMaxPaquetes);
  std::vector<TipoArregloByte> paquetes;
  for (std::size_t inicio = 0; inicio < datos.size(); inicio += largo) {
    const std::size_t fin = std::min(datos.size(), inicio + largo);
    paquetes.emplace_back(datos.begin() + static_cast<std::ptrdiff_t>(inicio),
                          datos.begin() + static_cast<std::ptrdiff_t>(fin));
  }
  if (paquetes.empty()) paquetes.emplace_back();
  return paquetes;
}

PaquetesPreparados::Preparada PaquetesPreparados::Preparar(std::int16_t IDUsuario,
                                                           const TipoArregloByte& datos,
                                                           std::int16_t tamano,
                                                           const Fallas& fallas) {
  std::vector<TipoArregloByte> paquetes = CortarEnPaquetes(datos, tamano);
  const auto existe = [&](int numero) {
    return numero >= 1 && static_cast<std::size_t>(numero) <= paquetes.size();
  };
  if (existe(fallas.paquete_corto)) {
    TipoArregloByte& p = paquetes[fallas.paquete_corto - 1];
    p.resize(p.size() / 2);
  }
  if (existe(fallas.paquete_faltante)) paquetes[fallas.paquete_faltante - 1].clear();
  Preparada preparada{paquetes.size(), paquetes.front()};
  const std::lock_guard lock(mutex_);
  OlvidarViejas();
  respuestas_[IDUsuario] = {std::move(paquetes), ahora()};
  return preparada;
}

std::optional<TipoArregloByte> PaquetesPreparados::Traer(std::int16_t IDUsuario,
                                                         std::int16_t numero) {
  const std::lock_guard lock(mutex_);
  OlvidarViejas();
  const auto it = respuestas_.find(IDUsuario);
  if (it == respuestas_.end() || numero < 1 ||
      static_cast<std::size_t>(numero) > it->second.paquetes.size()) {
    return std::nullopt;
  }
  TipoArregloByte paquete = it->second.paquetes[numero - 1];
  if (static_cast<std::size_t>(numero) == it->second.paquetes.size()) respuestas_.erase(it);
  return paquete;
}

std::size_t PaquetesPreparados::Guardadas() const {
  const std::lock_guard lock(mutex_);
  return respuestas_.size();
}

void PaquetesPreparados::OlvidarViejas() {
  const Reloj::time_point limite = ahora() - std::chrono::minutes(kMinutosGuardada);
  std::erase_if(respuestas_, [&](const auto& r) { return r.second.preparada < limite; });
}

void PaquetesPreparados::Liberar(std::int16_t IDUsuario) {
  const std::lock_guard lock(mutex_);
  respuestas_.erase(IDUsuario);
}

}  // namespace xamu::servicio
