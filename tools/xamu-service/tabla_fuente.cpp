#include "tabla_fuente.h"

#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "contenido_error.h"
#include "encoding/currency.h"
#include "encoding/text_encoding.h"
#include "encoding/value_type.h"
#include "encoding/writer.h"
#include "platform/paths.h"
#include "tables/catalogo.h"
#include "tables/data_packet.h"
#include "tables/logged_insert_table.h"

namespace xamu::servicio {
namespace {

using platform::EqualsIgnoringCase;

// The columns of one table. The catalogue entries point at their names, so an Esquema
// stays where it was made.
struct Esquema {
  Esquema() = default;
  Esquema(const Esquema&) = delete;
  Esquema& operator=(const Esquema&) = delete;

  TipoTabla tipo = TipoTabla::kLista;
  std::vector<std::string> nombres;
  std::vector<ColumnaCatalogo> columnas;
  // IDObjeto 7's int16 column that also takes a Boolean.
  std::size_t discriminado = std::string::npos;
};

struct Fila {
  int linea;
  std::vector<std::string_view> celdas;
};

[[noreturn]] void Falla(const std::string& donde, const std::string& que) {
  throw EContentError(donde + ": " + que);
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> cells;
  std::size_t begin = 0;
  while (true) {
    const std::size_t tab = line.find('\t', begin);
    cells.push_back(line.substr(begin, tab == std::string_view::npos ? tab : tab - begin));
    if (tab == std::string_view::npos) return cells;
    begin = tab + 1;
  }
}

// A cell cannot hold a tab or a line break as such; "\t", "\n", "\r" and "\\" stand for them.
std::optional<std::string> Unescape(std::string_view cell) {
  std::string out;
  out.reserve(cell.size());
  for (std::size_t i = 0; i < cell.size(); ++i) {
    if (cell[i] != '\\') {
      out += cell[i];
      continue;
    }
    if (++i == cell.size()) return std::nullopt;
    switch (cell[i]) {
      case 't':
        out += '\t';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t min,
                                         std::int64_t max) {
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < min || value > max) return std::nullopt;
  return value;
}

std::optional<bool> ParseBoolean(std::string_view text) {
  if (text == "1" || EqualsIgnoringCase(text, "true")) return true;
  if (text == "0" || EqualsIgnoringCase(text, "false")) return false;
  return std::nullopt;
}

// A decimal amount with at most four decimals: "-12.5" is -125000 units.
std::optional<Currency> ParseCurrency(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const std::size_t dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  const std::string_view fraction =
      dot == std::string_view::npos ? std::string_view("0") : text.substr(dot + 1);
  if (!AllDigits(whole) || whole.size() > 14 || !AllDigits(fraction) || fraction.size() > 4) {
    return std::nullopt;
  }
  std::int64_t units = 0;
  for (const char c : whole) units = units * 10 + (c - '0');
  std::int64_t decimals = 0;
  for (std::size_t i = 0; i < 4; ++i)
    decimals = decimals * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
  units = units * Currency::kScale + decimals;
  return Currency{negative ? -units : units};
}

// "int16", "int32", "bool", "currency" or "text(N)".
std::optional<ColumnaCatalogo> ParseColumnType(std::string_view type) {
  if (type == "int16") return ColumnaCatalogo{nullptr, TipoColumna::kInt16, 0};
  if (type == "int32") return ColumnaCatalogo{nullptr, TipoColumna::kInt32, 0};
  if (type == "bool") return ColumnaCatalogo{nullptr, TipoColumna::kBool, 0};
  if (type == "currency") return ColumnaCatalogo{nullptr, TipoColumna::kCurrency, 0};
  if (type.starts_with("text(") && type.ends_with(")")) {
    const auto width = ParseInteger(type.substr(5, type.size() - 6), 1, 65535);
    if (width)
      return ColumnaCatalogo{nullptr, TipoColumna::kText, static_cast<std::uint16_t>(*width)};
  }
  return std::nullopt;
}

bool SameType(const ColumnaCatalogo& a, const ColumnaCatalogo& b) {
  return a.tipo == b.tipo && (a.tipo != TipoColumna::kText || a.ancho == b.ancho);
}

// Catalogued columns take their types from the catalogue; a table the catalogue declares
// no columns for (or does not know) gives each column as "Name:type".
void LeerEncabezado(const std::vector<std::string_view>& celdas, const EntradaCatalogo* entrada,
                    const std::string& donde, Esquema& esquema) {
  const bool declarada = entrada != nullptr && !entrada->columnas.empty();
  if (declarada && celdas.size() != entrada->columnas.size()) {
    Falla(donde, std::to_string(celdas.size()) + " columns in the header, the table has " +
                     std::to_string(entrada->columnas.size()));
  }
  esquema.tipo = entrada != nullptr ? entrada->tipo : TipoTabla::kLista;
  std::vector<ColumnaCatalogo> tipos;
  for (std::size_t i = 0; i < celdas.size(); ++i) {
    const std::size_t colon = celdas[i].find(':');
    const std::string_view nombre = celdas[i].substr(0, colon);
    std::optional<ColumnaCatalogo> tipo;
    if (colon != std::string_view::npos) {
      tipo = ParseColumnType(celdas[i].substr(colon + 1));
      if (!tipo) Falla(donde, "column \"" + std::string(celdas[i]) + "\" has an unknown type");
    }
    if (declarada) {
      const ColumnaCatalogo& catalogada = entrada->columnas[i];
      if (nombre != catalogada.nombre) {
        Falla(donde, "column " + std::to_string(i + 1) + " is \"" + std::string(nombre) +
                         "\", the table's is \"" + catalogada.nombre + "\"");
      }
      if (tipo && !SameType(*tipo, catalogada)) {
        Falla(donde, "column \"" + std::string(nombre) + "\" has another type in the catalogue");
      }
      tipo = catalogada;
    } else if (!tipo) {
      Falla(donde, "column \"" + std::string(nombre) + "\" needs a type (Name:type)");
    }
    if (nombre.empty()) Falla(donde, "a column has no name");
    esquema.nombres.emplace_back(nombre);
    tipos.push_back(*tipo);
  }
  for (std::size_t i = 0; i < tipos.size(); ++i) {
    tipos[i].nombre = esquema.nombres[i].c_str();
    if (entrada != nullptr && entrada->IDObjeto == kIDObjetoFormatos &&
        esquema.nombres[i] == kColumnaDiscriminado) {
      esquema.discriminado = i;
    }
  }
  esquema.columnas = std::move(tipos);
}

std::string Donde(const std::string& archivo, int linea) {
  return archivo + " line " + std::to_string(linea);
}

std::string Invalido(std::string_view celda, const ColumnaCatalogo& columna) {
  return "\"" + std::string(celda) + "\" is not a valid value for column " + columna.nombre;
}

TipoArregloByte CodificarLista(const Esquema& esquema, const std::vector<Fila>& filas,
                               const std::string& archivo) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteListBegin();
    for (const Fila& fila : filas) {
      for (std::size_t i = 0; i < esquema.columnas.size(); ++i) {
        const ColumnaCatalogo& columna = esquema.columnas[i];
        const std::string_view celda = fila.celdas[i];
        const auto invalido = [&] { Falla(Donde(archivo, fila.linea), Invalido(celda, columna)); };
        switch (columna.tipo) {
          case TipoColumna::kInt16:
          case TipoColumna::kInt32: {
            // int16 columns are not range-checked, so that a content can provoke the
            // table's decoding error on purpose.
            if (i == esquema.discriminado && !AllDigits(celda) && ParseBoolean(celda)) {
              writer.WriteBoolean(*ParseBoolean(celda));
              break;
            }
            const auto value = ParseInteger(celda, std::numeric_limits<std::int32_t>::min(),
                                            std::numeric_limits<std::int32_t>::max());
            if (!value) invalido();
            writer.WriteInteger(static_cast<std::int32_t>(*value));
            break;
          }
          case TipoColumna::kBool: {
            const auto value = ParseBoolean(celda);
            if (!value) invalido();
            writer.WriteBoolean(*value);
            break;
          }
          case TipoColumna::kCurrency: {
            const auto value = ParseCurrency(celda);
            if (!value) invalido();
            if (value->units % Currency::kScale == 0) {
              writer.WriteInteger(static_cast<std::int64_t>(value->units / Currency::kScale));
            } else {
              writer.WriteCurrency(*value);
            }
            break;
          }
          case TipoColumna::kText: {
            const auto text = Unescape(celda);
            if (!text) invalido();
            writer.WriteString(Utf8ToUtf16(*text));
            break;
          }
        }
      }
    }
    writer.WriteListEnd();
  }
  return stream.Take();
}

TipoArregloByte CodificarPaquete(const Esquema& esquema, const std::vector<Fila>& filas,
                                 const std::string& archivo) {
  LoggedInsertTable tabla(esquema.columnas);
  for (const Fila& fila : filas) {
    tabla.BeginRow();
    for (std::size_t i = 0; i < esquema.columnas.size(); ++i) {
      const ColumnaCatalogo& columna = esquema.columnas[i];
      const std::string_view celda = fila.celdas[i];
      const auto invalido = [&] { Falla(Donde(archivo, fila.linea), Invalido(celda, columna)); };
      switch (columna.tipo) {
        case TipoColumna::kInt16:
        case TipoColumna::kInt32: {
          const bool corto = columna.tipo == TipoColumna::kInt16;
          const auto value = ParseInteger(celda,
                                          corto ? std::numeric_limits<std::int16_t>::min()
                                                : std::numeric_limits<std::int32_t>::min(),
                                          corto ? std::numeric_limits<std::int16_t>::max()
                                                : std::numeric_limits<std::int32_t>::max());
          if (!value) invalido();
          tabla.AddInteger(static_cast<std::int32_t>(*value));
          break;
        }
        case TipoColumna::kBool: {
          const auto value = ParseBoolean(celda);
          if (!value) invalido();
          tabla.AddBoolean(*value);
          break;
        }
        case TipoColumna::kCurrency: {
          const auto value = ParseCurrency(celda);
          if (!value) invalido();
          tabla.AddCurrency(*value);
          break;
        }
        case TipoColumna::kText: {
          const auto text = Unescape(celda);
          if (!text) invalido();
          tabla.AddText(Utf8ToUtf16(*text));
          break;
        }
      }
    }
  }
  return WriteDataPacket(std::move(tabla).Finish());
}

std::string LeerTexto(const std::filesystem::path& archivo) {
  std::ifstream in(archivo, std::ios::binary);
  if (!in) throw EContentError(archivo.string() + ": cannot be read");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  return text;
}

}  // namespace

TablaFuente LeerTablaFuente(const std::filesystem::path& archivo) {
  const std::string donde = archivo.string();
  const std::string nombre_archivo = archivo.filename().string();
  TablaFuente tabla;
  {
    const std::string_view nombre(nombre_archivo);
    const std::size_t separador = nombre.find('_');
    if (!nombre.ends_with(kExtensionTabla) || separador == std::string_view::npos) {
      Falla(donde, "a table file is named <IDObjeto>_<Nombre>.tsv");
    }
    const auto id =
        ParseInteger(nombre.substr(0, separador), std::numeric_limits<std::int16_t>::min(),
                     std::numeric_limits<std::int16_t>::max());
    tabla.Nombre =
        nombre.substr(separador + 1, nombre.size() - separador - 1 - std::strlen(kExtensionTabla));
    if (!id || tabla.Nombre.empty()) Falla(donde, "a table file is named <IDObjeto>_<Nombre>.tsv");
    tabla.IDObjeto = static_cast<std::int16_t>(*id);
  }

  const std::string text = LeerTexto(archivo);
  Esquema esquema;
  bool encabezado = false;
  std::vector<Fila> filas;
  int linea = 0;
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + begin, end - begin);
    begin = end + 1;
    ++linea;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    if (!encabezado) {
      LeerEncabezado(SplitTabs(line), BuscarTabla(tabla.IDObjeto), donde, esquema);
      encabezado = true;
      continue;
    }
    Fila fila{linea, SplitTabs(line)};
    if (fila.celdas.size() != esquema.columnas.size()) {
      Falla(Donde(donde, linea), std::to_string(fila.celdas.size()) + " values for " +
                                     std::to_string(esquema.columnas.size()) + " columns");
    }
    filas.push_back(std::move(fila));
  }
  if (!encabezado) Falla(donde, "no header line");
  tabla.datos = esquema.tipo == TipoTabla::kPaquete ? CodificarPaquete(esquema, filas, donde)
                                                    : CodificarLista(esquema, filas, donde);
  return tabla;
}

}  // namespace xamu::servicio
