#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tables/catalogo.h"

namespace xamu {
namespace {

struct Expected {
  std::int16_t id;
  bool list;
  std::int16_t code;
  const char* columns;  // name:type, i16 i32 b m tN
};

// The reference tables as the vendor documents them, kept apart from the code's own table.
const Expected kExpected[] = {
    {-8, true, 182,
     "IDFormato:i16 IDCliente:i16 TipoDesglose:i16 IDIdioma:i16 Orden:i16 Pointer:i16 Codigo:i16 "
     "CodSuper:t30 UniCue:t1 Nivel:i16 Descripcion:t60 Nick:t25 Short:t15 IDAreaBalance:i16 "
     "FechaDesde:i16 FechaHasta:i16"},
    {3, false, 204, "IDIdioma:i16 IDIdiomaAux:i16 Descripcion:t30 Usado:b"},
    {4, false, 205, "IDTexto:i16 IDIdioma:i16 Descripcion:t80"},
    {5, false, 206,
     "IDFuncion:i16 IDIdioma:i16 Descripcion:t30 Nick:t15 Orden:i16 TiposParametros:t5"},
    {6, true, 183,
     "IDPais:i16 IDPaisFD:i16 PaisActivo:b IDIdioma:i16 Descripcion:t20 Nick:t4 IDMoneda:i16"},
    {7, true, 188,
     "IDFormato:i16 IDCliente:i16 IDIdioma:i16 Descripcion:t30 Nick:t20 Short:t10 IDPais:i16 "
     "IDMoneda:i16 NivelMaximo:i16 PointerMaximo:i16 NumeroDeCuentas:i16 Discriminado:i16 "
     "EsDefault:b FechaInicio:i16 FechaFin:i16 NumeroDeTipos:i16 Magnitud:i16"},
    {9, true, 193, "IDTipoInstituto:i16 IDIdioma:i16 IDPais:i16 Descripcion:t20 Nick:t3"},
    {10, true, 196,
     "IDPais:i16 IDVariable:i16 Fuente:t60 Unidad:i16 Magnitud:i16 IDPaisValor:i16 TipoUnidad:i16"},
    {11, true, 199, "IDIdioma:i16 IDSector:i16 SubSector:i16 IDPais:i16 Descripcion:t20"},
    {12, true, 201,
     "IDCliente:i16 IDFormato:i16 IDClienteTipoIndice:i16 IDTipoIndice:i16 IDIndice:i16 Orden:i16 "
     "Unidad:i16 StatusDivision:i16 Ascendente:i16 TieneFormulaCierre:i16 IDIdioma:i16 "
     "Descripcion:t30 Short:t15 EsDefault:b TieneParticipacion:b"},
    {13, true, 190,
     "IDCliente:i16 IDEstrato:i16 IDFormato:i16 IDInstituto:i16 IDPais:i16 IDIdioma:i16 "
     "CheckVigente:b Totaliza:b Comentario:t200 Descripcion:t30 Nick:t15 EsDefault:b"},
    {15, true, 203,
     "IDCliente:i32 IDFormato:i32 IDModelo:i32 IDIdioma:i32 Nombre:t60 ElaboradoPor:t60 Fecha:i32 "
     "Observaciones:t500 VariablesCualitativasDefault:i32 PondCualPaisDefault:m "
     "PondCompInstitucionDefault:m PondCompFinancierasInstitucionDefault:m PondCualPaisPropios:m "
     "PondCompInstitucionPropios:m PondCompFinancierasInstitucionPropios:m PondCuantitativas:m"},
    {16, true, 184,
     "IDIdioma:i16 IDFormato:i16 PTRTasa:i16 Orden:i16 TipoTasa:t1 TipoMoneda:t5 Descripcion:t50 "
     "Nick:t25 Short:t10"},
    {17, false, 207, "IDIdioma:i16 IDMoneda:i16 CodISO:t3 IDPais:i16 Descripcion:t30"},
    {18, false, 208, "IDCargo:i16 IDIdioma:i16 Descripcion:t60"},
    {19, false, 209, "IDIdioma:i32 IDUnidad:i32 Descripcion:t30"},
    {20, true, 198, "IDIdioma:i16 IDPais:i16 IDFuenteNoticia:i16 Descripcion:t60"},
    {21, false, 210, ""},
    {22, true, 185, "IDFormato:i16 IDPais:i16 IDIdioma:i16 Fuente:t50 Descripcion:t100"},
    {23, true, 187, "IDFormato:i16 IDCliente:i16 IDAreaBalance:i16 Tipo:i16"},
    {24, true, 186,
     "IDCliente:i16 IDFormato:i16 IDVista:i16 IDIdioma:i16 Descripcion:t50 DesdeAreaBalance:i16 "
     "HastaAreaBalance:i16"},
    {25, true, 194,
     "IDCliente:i16 IDInstituto:i16 Descripcion:t50 Nick:t15 Short:t3 Vigente:b IDFormatoTasa:i16 "
     "IDPais:i16 IDTipoInstituto:i16 EsDefault:b"},
    {26, true, 195,
     "IDPaisFormato:i16 IDFormato:i16 IDClienteInstituto:i16 IDClienteFormato:i16 "
     "IDTipoInstituto:i16 Vigente:b IDInstituto:i16 NickInstituto:t15 IDPaisBandera:i16 "
     "EsDefault:b IDFormatoTasa:i16"},
    {27, true, 200, "IDCliente:i16 IDTipoIndice:i16 IDIdioma:i16 Descripcion:t30 EsDefault:b"},
    {28, true, 202, "IDCliente:i32 IDAdjetivo:i32 IDIdioma:i32 Nombre:t60"},
    {29, true, 399,
     "IDFormato:i32 IDTipoCuenta:i32 IDIdioma:i32 Descripcion:t30 Nick:t15 Short:t5"},
    {31, true, 203,
     "IDCliente:i32 IDFormato:i32 IDArbol:i32 IDIdioma:i32 Nombre:t60 ElaboradoPor:t60 Fecha:i32 "
     "Observaciones:t500"},
    {70, true, 189, "IDFormato:i16 IDCliente:i16 IDTipoInstituto:i16"},
    {100, true, 197,
     "IDPais:i16 IDIdioma:i16 IDVariable:i16 Descripcion:t40 Nick:t20 Short:t10 TextoUnidad:t15"},
    {130, true, 191,
     "IDCliente:i16 IDEstrato:i16 IDInstituto:i16 Vigente:b Nick:t15 IDPaisBandera:i16 "
     "IDTipoInstituto:i16"},
    {1300, true, 192,
     "IDCliente:i16 IDEstrato:i16 TipoFiltro:t1 Operador:t1 Posicion:i16 Formula:t4000"},
};

std::string Signature(const EntradaCatalogo& e) {
  std::string s;
  for (const ColumnaCatalogo& c : e.columnas) {
    if (!s.empty()) s += ' ';
    s += std::string(c.nombre) + ':';
    switch (c.tipo) {
      case TipoColumna::kInt16:
        s += "i16";
        break;
      case TipoColumna::kInt32:
        s += "i32";
        break;
      case TipoColumna::kBool:
        s += "b";
        break;
      case TipoColumna::kCurrency:
        s += "m";
        break;
      case TipoColumna::kText:
        s += "t" + std::to_string(c.ancho);
        break;
    }
  }
  return s;
}

TEST(Catalogo, HoldsEveryTableWithItsKindCodeAndColumns) {
  EXPECT_EQ(Catalogo().size(), std::size(kExpected));
  for (const Expected& x : kExpected) {
    const EntradaCatalogo* e = BuscarTabla(x.id);
    ASSERT_NE(e, nullptr) << x.id;
    EXPECT_EQ(e->IDObjeto, x.id);
    EXPECT_EQ(e->tipo == TipoTabla::kLista, x.list) << x.id;
    EXPECT_EQ(e->codigo, x.code) << x.id;
    EXPECT_EQ(Signature(*e), x.columns) << x.id;
  }
  for (const std::int16_t none : {0, 1, 2, 8, 14, 30, 32, -1, 1299, 32767, -32768}) {
    EXPECT_EQ(BuscarTabla(none), nullptr) << none;
  }
}

}  // namespace
}  // namespace xamu
