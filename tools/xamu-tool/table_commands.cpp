#include <charconv>
#include <cstdio>
#include <limits>
#include <string>

#include "commands.h"
#include "encoding/text_forms.h"
#include "platform/paths.h"
#include "tables/catalogo.h"
#include "tables/column_types.h"
#include "tables/data_packet.h"
#include "tables/grabar_tabla.h"
#include "tables/packet_values.h"

namespace xamu::tool {
namespace {

std::string Number(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string Json(const CellValue& value) {
  struct {
    std::string operator()(NullValue) const { return "null"; }
    std::string operator()(std::int64_t v) const { return std::to_string(v); }
    std::string operator()(bool v) const { return v ? "true" : "false"; }
    std::string operator()(double v) const { return Number(v); }
    std::string operator()(const std::string& v) const { return JsonString(v); }
    std::string operator()(const TipoArregloByte& v) const { return JsonString(BytesToHex(v)); }
  } format;
  return std::visit(format, value);
}

}  // namespace

void CdsDump(const Arguments& args) {
  RequireArgumentCount(args, 1, "cds-dump FILE");
  const DataPacket packet = ReadDataPacket(ReadWholeFile(args[0]));
  // Printed a row at a time: the text is many times the size of the file.
  std::string out = "{\"columns\":[";
  for (std::size_t i = 0; i < packet.columns.size(); ++i) {
    const PacketColumn& c = packet.columns[i];
    const std::optional<std::int64_t> width = ColumnWidth(c);
    out += (i ? "," : "") + std::string("{\"name\":") + JsonString(c.name) +
           ",\"type\":" + JsonString(ColumnTypeName(c)) +
           ",\"width\":" + (width ? std::to_string(*width) : "null") + "}";
  }
  out += "],\"rows\":[";
  std::fputs(out.c_str(), stdout);
  for (std::size_t r = 0; r < packet.RowCount(); ++r) {
    const DecodedRow row = DecodeRow(packet.columns, packet.Row(r));
    out = (r ? "," : "") + std::string("{\"state\":") + std::to_string(row.state) + ",\"values\":[";
    for (std::size_t i = 0; i < row.values.size(); ++i) out += (i ? "," : "") + Json(row.values[i]);
    out += "]}";
    std::fputs(out.c_str(), stdout);
  }
  std::fputs("],\"change_log\":[", stdout);
  const std::vector<ChangeLogEntry> log = ReadChangeLog(packet);
  for (std::size_t i = 0; i < log.size(); ++i) {
    out = (i ? "," : "") + std::string("[") + std::to_string(log[i][0]) + "," +
          std::to_string(log[i][1]) + "," + std::to_string(log[i][2]) + "]";
    std::fputs(out.c_str(), stdout);
  }
  std::fputs("]}\n", stdout);
}

void CdsBuild(const Arguments& args) {
  RequireArgumentCount(args, 3, "cds-build IDOBJETO IN OUT");
  const auto id = static_cast<std::int16_t>(ParseInteger(
      args[0], std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
  // GrabarTablaCDS skips an id without a builder, as the synchronization must; asked for
  // one here, that is an error rather than a success that wrote nothing.
  if (BuscarTabla(id) == nullptr)
    throw UsageError("no table of the catalogue has IDObjeto " + args[0]);
  MemoryStream stream(ReadWholeFile(args[1]));
  const std::string& out = args[2];
  const std::size_t slash = out.rfind(platform::kPathSeparator);
  const std::string folder = slash == std::string::npos ? "." : out.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? out : out.substr(slash + 1);
  std::int16_t code = 0;
  SilentUi ui;
  GrabarTablaCDS(id, folder, name, stream, code, ui, DatosAviso{});
  if (code != 0) throw UsageError("error " + std::to_string(code));
}

}  // namespace xamu::tool
