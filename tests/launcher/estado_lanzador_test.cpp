#include <gtest/gtest.h>

#include "launcher/estado_lanzador.h"

namespace xamu {
namespace {

TEST(RutaAplicacion, DerivedEndsWithTheSeparatorAndTheControlFileIsUsedAsWritten) {
  const std::string derived = FormarRutaAplicacion(std::nullopt);
  ASSERT_FALSE(derived.empty());
  EXPECT_EQ(derived.back(), '/');
  EXPECT_EQ(derived, RutaAplicacionDerivada());
  for (const char* written : {"/opt/xamu", "/opt/xamu/", ""}) {
    EXPECT_EQ(FormarRutaAplicacion(ArchivoControl{written, -1, -1}), written);
  }
}

TEST(AvisoDeSesion, CarriesTheSessionAndTheLastStatus) {
  EstadoLanzador estado;
  estado.Sesion.NombreCliente = "ACME";
  estado.Sesion.IDCliente = -3;
  estado.Sesion.IDUsuario = 7;
  estado.Sincronizacion.Status = 42;
  estado.Sincronizacion.CodigoError = -1;
  const DatosAviso aviso = AvisoDeSesion(estado, CodigoDeAviso(estado.Sincronizacion.CodigoError),
                                         true, /*SalirAlCerrar=*/true);
  EXPECT_EQ(aviso.CodigoError, 65535) << "a negative code shows unsigned";
  EXPECT_EQ(aviso.Status, 42);
  EXPECT_TRUE(aviso.MostrarCodigo);
  EXPECT_EQ(aviso.NombreCliente, "ACME");
  EXPECT_EQ(aviso.IDCliente, -3);
  EXPECT_EQ(aviso.IDUsuario, 7);
  EXPECT_TRUE(aviso.SalirAlCerrar);
}

}  // namespace
}  // namespace xamu
