#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>

#include "commands.h"
#include "encoding/text_forms.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "tables/catalogo.h"
#include "tables/column_types.h"
#include "tables/data_packet.h"
#include "tables/grabar_tabla.h"
#include "tables/packet_values.h"

namespace xamu::tool {
namespace {

using Json = nlohmann::ordered_json;

Json Value(const CellValue& value) {
  struct {
    Json operator()(NullValue) const { return nullptr; }
    Json operator()(std::int64_t v) const { return v; }
    Json operator()(bool v) const { return v; }
    Json operator()(double v) const { return v; }  // NaN and infinities print as null
    Json operator()(const std::string& v) const { return v; }
    Json operator()(const TipoArregloByte& v) const { return BytesToHex(v); }
  } convert;
  return std::visit(convert, value);
}

// Bytes that are not UTF-8 are replaced, so that the output is always JSON.
std::string Text(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

void CdsDump(const Arguments& args) {
  const DataPacket packet = ReadDataPacket(ReadWholeFile(args[0]));
  Json columns = Json::array();
  for (const PacketColumn& c : packet.columns) {
    const std::optional<std::int64_t> width = ColumnWidth(c);
    columns.push_back({{"name", c.name},
                       {"type", ColumnTypeName(c)},
                       {"width", width ? Json(*width) : Json(nullptr)}});
  }
  // Printed a row at a time: the text is many times the size of the file.
  std::fputs(("{\"columns\":" + Text(columns) + ",\"rows\":[").c_str(), stdout);
  for (std::size_t r = 0; r < packet.RowCount(); ++r) {
    const DecodedRow row = DecodeRow(packet.columns, packet.Row(r));
    Json values = Json::array();
    for (const CellValue& v : row.values) values.push_back(Value(v));
    const Json line = {{"state", row.state}, {"values", std::move(values)}};
    std::fputs(((r ? "," : "") + Text(line)).c_str(), stdout);
  }
  std::fputs(("],\"change_log\":" + Text(ReadChangeLog(packet)) + "}\n").c_str(), stdout);
}

void CdsBuild(const Arguments& args) {
  const auto id = static_cast<std::int16_t>(ParseInteger(
      args[0], std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
  // GrabarTablaCDS skips an id without a builder, as the synchronization must; asked for
  // one here, that is an error rather than a success that wrote nothing.
  if (BuscarTabla(id) == nullptr)
    throw UsageError("no table of the catalogue has IDObjeto " + args[0]);
  MemoryStream stream(ReadWholeFile(args[1]));
  // Built where the builder writes, a folder; for standard output, a scratch one.
  const bool to_output = args[2] == "-";
  std::filesystem::path scratch;
  if (to_output) {
    scratch = platform::MakeScratchFolder();
    if (scratch.empty()) throw EInOutError("cannot make a scratch folder");
  }
  const std::string out = to_output ? (scratch / "tabla.cds").string() : args[2];
  const std::size_t slash = out.rfind(platform::kPathSeparator);
  const std::string folder = slash == std::string::npos ? "." : out.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? out : out.substr(slash + 1);
  std::int16_t code = 0;
  SilentUi ui;
  GrabarTablaCDS(id, folder, name, stream, code, ui, DatosAviso{});
  std::optional<TipoArregloByte> built;
  if (to_output) {
    if (code == 0) built = platform::ReadFileBytes(out);
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
  }
  if (code != 0) throw Failure("error " + std::to_string(code));
  if (to_output) {
    if (!built) throw EInOutError("cannot read the table built");
    WriteWholeFile("-", *built);
  }
}

}  // namespace xamu::tool
