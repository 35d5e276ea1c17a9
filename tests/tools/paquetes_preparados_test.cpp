// The packet answers xamu-service keeps between a preparation and the fetches.
#include "paquetes_preparados.h"

#include <gtest/gtest.h>

namespace xamu::servicio {
namespace {

TEST(PaquetesPreparados, TheLastPacketOrTenMinutesReleaseAnAnswer) {
  PaquetesPreparados preparados;
  PaquetesPreparados::Reloj::time_point reloj{};
  preparados.ahora = [&] { return reloj; };
  const TipoArregloByte datos = {1, 2, 3, 4, 5};

  EXPECT_EQ(preparados.Preparar(7, datos, 2, {}).numero, 3u);
  EXPECT_EQ(preparados.Traer(7, 2), (TipoArregloByte{3, 4}));
  EXPECT_EQ(preparados.Traer(7, 2), (TipoArregloByte{3, 4})) << "asked again, still there";
  EXPECT_EQ(preparados.Traer(7, 3), (TipoArregloByte{5}));
  EXPECT_EQ(preparados.Guardadas(), 0u) << "the last packet released it";
  EXPECT_FALSE(preparados.Traer(7, 2));

  // An answer nobody comes back for goes after ten minutes, at the next call of anyone.
  (void)preparados.Preparar(7, datos, 2, {});
  reloj += std::chrono::minutes(kMinutosGuardada) - std::chrono::seconds(1);
  (void)preparados.Preparar(8, datos, 2, {});
  EXPECT_EQ(preparados.Guardadas(), 2u);
  reloj += std::chrono::seconds(2);
  EXPECT_FALSE(preparados.Traer(7, 2));
  EXPECT_EQ(preparados.Traer(8, 2), (TipoArregloByte{3, 4}));
  EXPECT_EQ(preparados.Guardadas(), 1u);
}

}  // namespace
}  // namespace xamu::servicio
