// Writes the seed inputs of data_packet_fuzzer, soap_message_fuzzer and estructura_fuzzer.
// Usage: xamu_fuzz_seeds OUTDIR; fills OUTDIR/seed-data-packet, seed-soap and
// seed-estructura. Every seed is checked to be accepted by the code it feeds, so that
// fuzzing starts from inputs that reach deep.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "encoding/little_endian.h"
#include "encoding/writer.h"
#include "service/estructura_paquetes.h"
#include "service/paquetes.h"
#include "service/service_names.h"
#include "service/soap_reader.h"
#include "service/soap_writer.h"
#include "tables/catalogo.h"
#include "tables/data_packet.h"
#include "tables/logged_insert_table.h"

namespace xamu {
namespace {

namespace fs = std::filesystem;

int failures = 0;

void Save(const fs::path& file, const void* data, std::size_t size) {
  std::ofstream out(file, std::ios::binary);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", file.c_str());
    ++failures;
  }
}

void Reject(const fs::path& file, const char* why) {
  std::fprintf(stderr, "seed %s: %s\n", file.c_str(), why);
  ++failures;
}

// --- Data packets ---------------------------------------------------------------------

DataPacket ListTable(const EntradaCatalogo& table, int rows) {
  LoggedInsertTable builder(table.columnas);
  for (int r = 0; r < rows; ++r) {
    builder.BeginRow();
    for (const ColumnaCatalogo& c : table.columnas) {
      switch (c.tipo) {
        case TipoColumna::kInt16:
          builder.AddInteger(r * 1000 - 32000);
          break;
        case TipoColumna::kInt32:
          builder.AddInteger(r * 100000 + 7);
          break;
        case TipoColumna::kBool:
          builder.AddBoolean(r % 2 == 0);
          break;
        case TipoColumna::kCurrency:
          builder.AddCurrency({12345 + r});
          break;
        case TipoColumna::kText:
          // An empty text, a short accented one, and one longer than a short prefix holds.
          builder.AddText(r == 0   ? u""
                          : r == 1 ? u"Año fiscal, región andina"
                                   : std::u16string(300, u'x'));
          break;
      }
    }
  }
  return std::move(builder).Finish();
}

void Put(TipoArregloByte& bytes, std::uint64_t value, int width) {
  AppendLittleEndian(bytes, value, static_cast<std::size_t>(width));
}

// What the table builder never makes: a nested table, a BLOB whose bytes were not fetched,
// extra header bytes, a gap before the rows, the legacy magic and dataset properties.
DataPacket Unusual() {
  using namespace packet;
  DataPacket p;
  p.magic = kLegacyMagic;
  p.major_version = 2;
  p.header_extra = {0xAA, 0xBB};
  p.columns.push_back({"ID", kTypeInt32, 0, {}, {}});
  PacketColumn detalle{"Detalle", kEmbeddedTable | 2, 0, {}, {}};
  detalle.children.push_back({"n", kTypeInt16, 0, {}, {}});
  detalle.children.push_back({"s", kTypeTextShort, 0, {{"WIDTH", kTypeUInt16, {20, 0}}}, {}});
  p.columns.push_back(detalle);
  p.columns.push_back({"Memo", kVarying | 0x000E0004, 0, {}, {}});
  p.columns.push_back({"Dato", kTypeDouble, 4, {}, {}});
  p.properties.push_back({"LCID", 0x00020004, {0x0A, 0x0C, 0, 0}});
  p.properties.push_back({"ARR", kTypeUInt32Array, {1, 0, 0, 0, 9, 0, 0, 0}});
  p.metadata_gap = {0, 0, 0};
  for (int r = 0; r < 2; ++r) {
    p.BeginRow();
    TipoArregloByte& b = p.row_data;
    b.push_back(kRowInserted);
    b.push_back(r == 0 ? 0x00 : 0x40);  // row 1: Dato (column 3) null
    Put(b, 100 + r, 4);
    Put(b, 2, 4);  // two nested rows
    for (int n = 0; n < 2; ++n) {
      b.push_back(kRowInserted);
      b.push_back(n == 0 ? 0x00 : 0x04);  // nested row 1: s null
      Put(b, n, 2);
      if (n == 0) {
        b.push_back(3);
        b.insert(b.end(), {'a', 'b', 'c'});
      }
    }
    Put(b, 0x80000000u, 4);  // Memo: not fetched
    if (r == 0) Put(b, 0x3FF8000000000000ull, 8);
  }
  return p;
}

void DataPackets(const fs::path& dir) {
  int n = 0;
  const auto save = [&](const std::string& name, const DataPacket& p) {
    const fs::path file = dir / name;
    const TipoArregloByte bytes = WriteDataPacket(p);
    Save(file, bytes.data(), bytes.size());
    try {
      if (WriteDataPacket(ReadDataPacket(bytes)) != bytes) Reject(file, "does not write back");
    } catch (const Error& e) {
      Reject(file, e.what());
    }
    ++n;
  };
  for (const EntradaCatalogo& table : Catalogo()) {
    if (table.tipo != TipoTabla::kLista) continue;
    save("tabla-" + std::to_string(table.IDObjeto), ListTable(table, table.IDObjeto % 4));
  }
  save("unusual", Unusual());
}

// --- SOAP -----------------------------------------------------------------------------

void Soap(const fs::path& dir) {
  const auto save = [&](const std::string& name, const std::string& xml, bool fault) {
    const fs::path file = dir / name;
    Save(file, xml.data(), xml.size());
    try {
      SoapMessage message(xml);
      if (fault) Reject(file, "a fault that does not raise");
    } catch (const Error&) {
      if (!fault) Reject(file, "not read");
    }
  };
  SoapWriter every("SincronizarResponse", kNsSincronizacion);
  every.AddBoolean("return", true);
  every.AddShort("CodigoError", -3);
  every.AddInt("Status", 70000);
  every.AddByte("ProximaAccion", 200);
  every.AddString("NombreCliente", "Peñalosa & Cía. <Bogotá>\r\n");
  every.AddDouble("a", 45000.5);
  every.AddBytes("ArregloDeBytes", TipoArregloByte(100, 0x5A));
  every.AddBytes("ArregloDeBytesEstructura", {});
  every.AddSmallIntArray("ArregloFormatos", {4, -5, 32767});
  every.AddEntries("ArregloRespuesta",
                   {{6, "Paises.cds", 6, 45000.5, {1, 2, 3}}, {1, "XAMUWEB.EXE", 0, 0, {}}});
  save("every-type", every.Finish(), false);

  SoapWriter only("SincronizarTraerPaquetesResponse", kNsSincronizacion);
  only.AddBoolean("return", false);
  save("only-result", only.Finish(), false);

  save("fault", SoapFault("SOAP-ENV:Server", "Usuario no válido"), true);

  // Multi-reference values as RPC/encoded servers send them: the array and its structs
  // outside the operation element, reached through href and id.
  save("multi-ref",
       "<?xml version=\"1.0\"?><SOAP-ENV:Envelope "
       "xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
       "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
       "xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\"><SOAP-ENV:Body>"
       "<NS1:SincronizarResponse xmlns:NS1=\"urn:SincronizacionIntf-ISincronizacion\">"
       "<return xsi:type=\"xsd:boolean\">true</return>"
       "<ArregloRespuesta href=\"#1\"/><ArregloFormatos href=\"#3\"/>"
       "<CodigoError xsi:type=\"xsd:short\">0</CodigoError>"
       "<Status href=\"#4\"/></NS1:SincronizarResponse>"
       "<SOAP-ENC:Array id=\"1\" SOAP-ENC:arrayType=\"NS2:Archivo1Sincronizacion[1]\">"
       "<item href=\"#2\"/></SOAP-ENC:Array>"
       "<NS2:Archivo1Sincronizacion id=\"2\" xmlns:NS2=\"urn:Tipos\">"
       "<IDObjeto>6</IDObjeto><Nombre>Paises.cds</Nombre><Longitud>3</Longitud>"
       "<Fecha>45000.5</Fecha><Datos>AQID</Datos></NS2:Archivo1Sincronizacion>"
       "<SOAP-ENC:Array id=\"3\"><item>1</item><item href=\"#5\"/></SOAP-ENC:Array>"
       "<xsd:int id=\"4\">42</xsd:int><xsd:short id=\"5\">-2</xsd:short>"
       "</SOAP-ENV:Body></SOAP-ENV:Envelope>",
       false);
}

// --- Packet structure -----------------------------------------------------------------

// An entry of the structure, dated as the service dates them.
Archivo1Sincronizacion Entry(std::int16_t id, const char* name, std::int32_t length) {
  return {id, name, length, 45000.5, {}};
}

// Two bytes of structure length, the structure, then the data (see estructura_fuzzer.cpp).
std::string EstructuraInput(const TipoArregloSmallInt& formats,
                            const SincronizacionArchivoInformacion& entries,
                            const std::string& data) {
  const MemoryStream stream = EscribirEstructura(formats, entries);
  const TipoArregloByte& s = stream.Bytes();
  TipoArregloByte length;
  AppendLittleEndian(length, s.size(), 2);
  std::string input(length.begin(), length.end());
  input.append(s.begin(), s.end());
  return input + data;
}

void Estructura(const fs::path& dir) {
  const auto save = [&](const std::string& name, const std::string& input) {
    const fs::path file = dir / name;
    Save(file, input.data(), input.size());
    const auto length = static_cast<std::size_t>(
        DecodeLittleEndian(std::span(reinterpret_cast<const std::uint8_t*>(input.data()), 2)));
    MemoryStream estructura(TipoArregloByte(input.begin() + 2, input.begin() + 2 + length));
    const MemoryStream datos(TipoArregloByte(input.begin() + 2 + length, input.end()));
    TipoArregloSmallInt formats;
    SincronizacionArchivoInformacion entries;
    try {
      LeerEstructura(estructura, formats, entries);
      CortarDatos(datos, entries);
    } catch (const Error& e) {
      Reject(file, e.what());
    }
  };
  save("two-entries",
       EstructuraInput({4, -5}, {Entry(6, "Paises.cds", 6), Entry(7, "Formatos.cds", 5)},
                       "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B"));
  save("empty-and-surplus",
       EstructuraInput({}, {Entry(6, "A.cds", 2), Entry(9, "Año.cds", 0), Entry(10, "C.cds", 1)},
                       "abcdef"));
  save("wide-values", EstructuraInput({300, -30000, 7}, {Entry(1, "XAMUWEB.EXE", 33000)},
                                      std::string(33000, 'z')));
}

}  // namespace
}  // namespace xamu

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: xamu_fuzz_seeds OUTDIR\n");
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path out = argv[1];
  const auto make = [&](const char* name) {
    fs::create_directories(out / name);
    return out / name;
  };
  xamu::DataPackets(make("seed-data-packet"));
  xamu::Soap(make("seed-soap"));
  xamu::Estructura(make("seed-estructura"));
  return xamu::failures == 0 ? 0 : 1;
}
