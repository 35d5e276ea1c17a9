#include "tables/catalogo.h"

namespace xamu {
namespace {

constexpr ColumnaCatalogo I16(const char* n) {
  return {n, TipoColumna::kInt16, 0};
}
constexpr ColumnaCatalogo I32(const char* n) {
  return {n, TipoColumna::kInt32, 0};
}
constexpr ColumnaCatalogo Bool(const char* n) {
  return {n, TipoColumna::kBool, 0};
}
constexpr ColumnaCatalogo Money(const char* n) {
  return {n, TipoColumna::kCurrency, 0};
}
constexpr ColumnaCatalogo Text(const char* n, std::uint16_t width) {
  return {n, TipoColumna::kText, width};
}

constexpr ColumnaCatalogo kTabla_8[] = {
    I16("IDFormato"),  I16("IDCliente"),     I16("TipoDesglose"),     I16("IDIdioma"),
    I16("Orden"),      I16("Pointer"),       I16("Codigo"),           Text("CodSuper", 30),
    Text("UniCue", 1), I16("Nivel"),         Text("Descripcion", 60), Text("Nick", 25),
    Text("Short", 15), I16("IDAreaBalance"), I16("FechaDesde"),       I16("FechaHasta")};
constexpr ColumnaCatalogo kTabla3[] = {I16("IDIdioma"), I16("IDIdiomaAux"), Text("Descripcion", 30),
                                       Bool("Usado")};
constexpr ColumnaCatalogo kTabla4[] = {I16("IDTexto"), I16("IDIdioma"), Text("Descripcion", 80)};
constexpr ColumnaCatalogo kTabla5[] = {
    I16("IDFuncion"), I16("IDIdioma"), Text("Descripcion", 30),
    Text("Nick", 15), I16("Orden"),    Text("TiposParametros", 5)};
constexpr ColumnaCatalogo kTabla6[] = {I16("IDPais"),   I16("IDPaisFD"),         Bool("PaisActivo"),
                                       I16("IDIdioma"), Text("Descripcion", 20), Text("Nick", 4),
                                       I16("IDMoneda")};
constexpr ColumnaCatalogo kTabla7[] = {
    I16("IDFormato"),   I16("IDCliente"),     I16("IDIdioma"),        Text("Descripcion", 30),
    Text("Nick", 20),   Text("Short", 10),    I16("IDPais"),          I16("IDMoneda"),
    I16("NivelMaximo"), I16("PointerMaximo"), I16("NumeroDeCuentas"), I16("Discriminado"),
    Bool("EsDefault"),  I16("FechaInicio"),   I16("FechaFin"),        I16("NumeroDeTipos"),
    I16("Magnitud")};
constexpr ColumnaCatalogo kTabla9[] = {I16("IDTipoInstituto"), I16("IDIdioma"), I16("IDPais"),
                                       Text("Descripcion", 20), Text("Nick", 3)};
constexpr ColumnaCatalogo kTabla10[] = {I16("IDPais"),    I16("IDVariable"), Text("Fuente", 60),
                                        I16("Unidad"),    I16("Magnitud"),   I16("IDPaisValor"),
                                        I16("TipoUnidad")};
constexpr ColumnaCatalogo kTabla11[] = {I16("IDIdioma"), I16("IDSector"), I16("SubSector"),
                                        I16("IDPais"), Text("Descripcion", 20)};
constexpr ColumnaCatalogo kTabla12[] = {I16("IDCliente"),
                                        I16("IDFormato"),
                                        I16("IDClienteTipoIndice"),
                                        I16("IDTipoIndice"),
                                        I16("IDIndice"),
                                        I16("Orden"),
                                        I16("Unidad"),
                                        I16("StatusDivision"),
                                        I16("Ascendente"),
                                        I16("TieneFormulaCierre"),
                                        I16("IDIdioma"),
                                        Text("Descripcion", 30),
                                        Text("Short", 15),
                                        Bool("EsDefault"),
                                        Bool("TieneParticipacion")};
constexpr ColumnaCatalogo kTabla13[] = {
    I16("IDCliente"),        I16("IDEstrato"),        I16("IDFormato"),     I16("IDInstituto"),
    I16("IDPais"),           I16("IDIdioma"),         Bool("CheckVigente"), Bool("Totaliza"),
    Text("Comentario", 200), Text("Descripcion", 30), Text("Nick", 15),     Bool("EsDefault")};
constexpr ColumnaCatalogo kTabla15[] = {I32("IDCliente"),
                                        I32("IDFormato"),
                                        I32("IDModelo"),
                                        I32("IDIdioma"),
                                        Text("Nombre", 60),
                                        Text("ElaboradoPor", 60),
                                        I32("Fecha"),
                                        Text("Observaciones", 500),
                                        I32("VariablesCualitativasDefault"),
                                        Money("PondCualPaisDefault"),
                                        Money("PondCompInstitucionDefault"),
                                        Money("PondCompFinancierasInstitucionDefault"),
                                        Money("PondCualPaisPropios"),
                                        Money("PondCompInstitucionPropios"),
                                        Money("PondCompFinancierasInstitucionPropios"),
                                        Money("PondCuantitativas")};
constexpr ColumnaCatalogo kTabla16[] = {
    I16("IDIdioma"),     I16("IDFormato"),      I16("PTRTasa"),          I16("Orden"),
    Text("TipoTasa", 1), Text("TipoMoneda", 5), Text("Descripcion", 50), Text("Nick", 25),
    Text("Short", 10)};
constexpr ColumnaCatalogo kTabla17[] = {I16("IDIdioma"), I16("IDMoneda"), Text("CodISO", 3),
                                        I16("IDPais"), Text("Descripcion", 30)};
constexpr ColumnaCatalogo kTabla18[] = {I16("IDCargo"), I16("IDIdioma"), Text("Descripcion", 60)};
constexpr ColumnaCatalogo kTabla19[] = {I32("IDIdioma"), I32("IDUnidad"), Text("Descripcion", 30)};
constexpr ColumnaCatalogo kTabla20[] = {I16("IDIdioma"), I16("IDPais"), I16("IDFuenteNoticia"),
                                        Text("Descripcion", 60)};
constexpr ColumnaCatalogo kTabla22[] = {I16("IDFormato"), I16("IDPais"), I16("IDIdioma"),
                                        Text("Fuente", 50), Text("Descripcion", 100)};
constexpr ColumnaCatalogo kTabla23[] = {I16("IDFormato"), I16("IDCliente"), I16("IDAreaBalance"),
                                        I16("Tipo")};
constexpr ColumnaCatalogo kTabla24[] = {
    I16("IDCliente"),        I16("IDFormato"),        I16("IDVista"),         I16("IDIdioma"),
    Text("Descripcion", 50), I16("DesdeAreaBalance"), I16("HastaAreaBalance")};
constexpr ColumnaCatalogo kTabla25[] = {
    I16("IDCliente"),       I16("IDInstituto"), Text("Descripcion", 50), Text("Nick", 15),
    Text("Short", 3),       Bool("Vigente"),    I16("IDFormatoTasa"),    I16("IDPais"),
    I16("IDTipoInstituto"), Bool("EsDefault")};
constexpr ColumnaCatalogo kTabla26[] = {
    I16("IDPaisFormato"),   I16("IDFormato"),  I16("IDClienteInstituto"), I16("IDClienteFormato"),
    I16("IDTipoInstituto"), Bool("Vigente"),   I16("IDInstituto"),        Text("NickInstituto", 15),
    I16("IDPaisBandera"),   Bool("EsDefault"), I16("IDFormatoTasa")};
constexpr ColumnaCatalogo kTabla27[] = {I16("IDCliente"), I16("IDTipoIndice"), I16("IDIdioma"),
                                        Text("Descripcion", 30), Bool("EsDefault")};
constexpr ColumnaCatalogo kTabla28[] = {I32("IDCliente"), I32("IDAdjetivo"), I32("IDIdioma"),
                                        Text("Nombre", 60)};
constexpr ColumnaCatalogo kTabla29[] = {I32("IDFormato"), I32("IDTipoCuenta"),
                                        I32("IDIdioma"),  Text("Descripcion", 30),
                                        Text("Nick", 15), Text("Short", 5)};
constexpr ColumnaCatalogo kTabla31[] = {
    I32("IDCliente"),   I32("IDFormato"),         I32("IDArbol"), I32("IDIdioma"),
    Text("Nombre", 60), Text("ElaboradoPor", 60), I32("Fecha"),   Text("Observaciones", 500)};
constexpr ColumnaCatalogo kTabla70[] = {I16("IDFormato"), I16("IDCliente"), I16("IDTipoInstituto")};
constexpr ColumnaCatalogo kTabla100[] = {
    I16("IDPais"),    I16("IDIdioma"),   I16("IDVariable"),      Text("Descripcion", 40),
    Text("Nick", 20), Text("Short", 10), Text("TextoUnidad", 15)};
constexpr ColumnaCatalogo kTabla130[] = {
    I16("IDCliente"), I16("IDEstrato"),     I16("IDInstituto"),    Bool("Vigente"),
    Text("Nick", 15), I16("IDPaisBandera"), I16("IDTipoInstituto")};
constexpr ColumnaCatalogo kTabla1300[] = {I16("IDCliente"),      I16("IDEstrato"),
                                          Text("TipoFiltro", 1), Text("Operador", 1),
                                          I16("Posicion"),       Text("Formula", 4000)};

using enum TipoTabla;

constexpr EntradaCatalogo kCatalogo[] = {
    {-8, kLista, 182, kTabla_8},     {3, kPaquete, 204, kTabla3},   {4, kPaquete, 205, kTabla4},
    {5, kPaquete, 206, kTabla5},     {6, kLista, 183, kTabla6},     {7, kLista, 188, kTabla7},
    {9, kLista, 193, kTabla9},       {10, kLista, 196, kTabla10},   {11, kLista, 199, kTabla11},
    {12, kLista, 201, kTabla12},     {13, kLista, 190, kTabla13},   {15, kLista, 203, kTabla15},
    {16, kLista, 184, kTabla16},     {17, kPaquete, 207, kTabla17}, {18, kPaquete, 208, kTabla18},
    {19, kPaquete, 209, kTabla19},   {20, kLista, 198, kTabla20},   {21, kPaquete, 210, {}},
    {22, kLista, 185, kTabla22},     {23, kLista, 187, kTabla23},   {24, kLista, 186, kTabla24},
    {25, kLista, 194, kTabla25},     {26, kLista, 195, kTabla26},   {27, kLista, 200, kTabla27},
    {28, kLista, 202, kTabla28},     {29, kLista, 399, kTabla29},   {31, kLista, 203, kTabla31},
    {70, kLista, 189, kTabla70},     {100, kLista, 197, kTabla100}, {130, kLista, 191, kTabla130},
    {1300, kLista, 192, kTabla1300},
};

}  // namespace

std::span<const EntradaCatalogo> Catalogo() {
  return kCatalogo;
}

const EntradaCatalogo* BuscarTabla(std::int16_t id_objeto) {
  for (const EntradaCatalogo& entrada : kCatalogo) {
    if (entrada.IDObjeto == id_objeto) return &entrada;
  }
  return nullptr;
}

}  // namespace xamu
