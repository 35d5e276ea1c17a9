#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "encoding/writer.h"
#include "platform/file_system.h"
#include "support/bytes.h"
#include "support/faulty_file_system.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "tables/catalogo.h"
#include "tables/column_types.h"
#include "tables/data_packet.h"
#include "tables/grabar_tabla.h"
#include "tables/logged_insert_table.h"
#include "tables/packet_values.h"

namespace xamu {
namespace {

using Writes = std::function<void(TWriter&)>;

MemoryStream Stream(const Writes& write) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    write(writer);
  }
  return stream;
}

class TableFolder : public ::testing::Test {
 protected:
  // Runs the builder; returns the error code.
  std::int16_t Build(std::int16_t id, MemoryStream stream, const std::string& name = "tabla.cds") {
    std::int16_t code = 0;
    GrabarTablaCDS(id, dir_.Path().string(), name, stream, code, ui_, sesion_, files_);
    return code;
  }
  std::int16_t Build(std::int16_t id, const Writes& write, const std::string& name = "tabla.cds") {
    return Build(id, Stream(write), name);
  }
  DataPacket Load(const std::string& name = "tabla.cds") {
    return ReadDataPacket(*platform::ReadFileBytes(dir_.File(name)));
  }
  std::vector<CellValue> OnlyRow() {
    const DataPacket p = Load();
    EXPECT_EQ(p.RowCount(), 1u);
    return DecodeRow(p.columns, p.Row(0)).values;
  }

  testing::TempDir dir_;
  testing::FaultyFileSystem files_;
  testing::RecordingUi ui_;
  DatosAviso sesion_{0, 77, false, "Banco", 3, 4};
};

TEST_F(TableFolder, EveryListTableBuildsItsColumnsAndRows) {
  for (const EntradaCatalogo& table : Catalogo()) {
    if (table.tipo != TipoTabla::kLista) continue;
    SCOPED_TRACE(table.IDObjeto);
    MemoryStream stream = Stream([&](TWriter& w) {
      w.WriteListBegin();
      for (int record = 0; record < 2; ++record) {
        for (const ColumnaCatalogo& c : table.columnas) {
          switch (c.tipo) {
            case TipoColumna::kInt16:
              w.WriteInteger(record * 1000 - 32000);
              break;
            case TipoColumna::kInt32:
              w.WriteInteger(record * 100000 + 7);
              break;
            case TipoColumna::kBool:
              w.WriteBoolean(record == 1);
              break;
            case TipoColumna::kCurrency:
              w.WriteInteger(record + 5);
              break;
            case TipoColumna::kText:
              w.WriteString(std::u16string(c.ancho, char16_t(u'a' + record)));
              break;
          }
        }
      }
      w.WriteListEnd();
    });

    ASSERT_EQ(Build(table.IDObjeto, std::move(stream)), 0);
    const DataPacket p = Load();
    ASSERT_EQ(p.columns.size(), table.columnas.size());
    for (std::size_t i = 0; i < p.columns.size(); ++i) {
      const ColumnaCatalogo& c = table.columnas[i];
      EXPECT_EQ(p.columns[i].name, c.nombre);
      const char* names[] = {"int16", "int32", "bool", "currency", "text"};
      EXPECT_EQ(ColumnTypeName(p.columns[i]), names[static_cast<int>(c.tipo)]);
      if (c.tipo == TipoColumna::kText) {
        EXPECT_EQ(ColumnWidth(p.columns[i]), c.ancho);
      }
    }
    ASSERT_EQ(p.RowCount(), 2u);
    EXPECT_EQ(ReadChangeLog(p), (std::vector<ChangeLogEntry>{{1, 0, 4}, {2, 0, 4}}));
    for (int record = 0; record < 2; ++record) {
      const DecodedRow row = DecodeRow(p.columns, p.Row(record));
      EXPECT_EQ(row.state, 4);
      for (std::size_t i = 0; i < table.columnas.size(); ++i) {
        const ColumnaCatalogo& c = table.columnas[i];
        const CellValue& v = row.values[i];
        switch (c.tipo) {
          case TipoColumna::kInt16:
            EXPECT_EQ(std::get<std::int64_t>(v), record * 1000 - 32000);
            break;
          case TipoColumna::kInt32:
            EXPECT_EQ(std::get<std::int64_t>(v), record * 100000 + 7);
            break;
          case TipoColumna::kBool:
            EXPECT_EQ(std::get<bool>(v), record == 1);
            break;
          case TipoColumna::kCurrency:
            EXPECT_EQ(std::get<double>(v), record + 5.0);
            break;
          case TipoColumna::kText:
            EXPECT_EQ(std::get<std::string>(v), std::string(c.ancho, char('a' + record)));
            break;
        }
      }
    }
  }
  EXPECT_TRUE(ui_.avisos.empty());
}

TEST_F(TableFolder, EmptyListGivesColumnsWithoutRowsAndTrailingBytesAreIgnored) {
  ASSERT_EQ(Build(70,
                  [](TWriter& w) {
                    w.WriteListBegin();
                    w.WriteListEnd();
                    w.WriteString(u"ignored");
                  }),
            0);
  const DataPacket p = Load();
  EXPECT_EQ(p.columns.size(), 3u);
  EXPECT_EQ(p.RowCount(), 0u);
  EXPECT_EQ(FindProperty(p.properties, "CHANGE_LOG"), nullptr);
}

TEST_F(TableFolder, ValuesAreReadAsTheirColumnsRequire) {
  // IDObjeto 28: int32, int32, int32, text(60)
  ASSERT_EQ(Build(28,
                  [](TWriter& w) {
                    w.WriteListBegin();
                    w.WriteInteger(70000);
                    w.WriteInteger(-2147483647 - 1);
                    w.WriteInteger(1);
                    w.WriteString(std::u16string(61, u'\u00F1') + u"cut");
                    w.WriteListEnd();
                  }),
            0);
  const std::vector<CellValue> row = OnlyRow();
  EXPECT_EQ(std::get<std::int64_t>(row[0]), 70000);
  EXPECT_EQ(std::get<std::int64_t>(row[1]), -2147483648LL);
  EXPECT_EQ(std::get<std::string>(row[3]).size(), 60u * 2) << "60 characters of ñ, in UTF-8 here";

  // IDObjeto 15 ends in seven currency columns: an integer and vaCurrency.
  MemoryStream stream = Stream([](TWriter& w) {
    w.WriteListBegin();
    for (int i = 0; i < 4; ++i) w.WriteInteger(i);
    w.WriteString(u"n");
    w.WriteString(u"e");
    w.WriteInteger(1);
    w.WriteString(u"");
    w.WriteInteger(2);
    w.WriteInteger(5);
  });
  const TipoArregloByte currency = testing::Hex("10 39 30 00 00 00 00 00 00");
  for (int i = 0; i < 6; ++i) stream.Write(currency.data(), currency.size());
  stream.Write("\0", 1);
  ASSERT_EQ(Build(15, std::move(stream)), 0);
  const std::vector<CellValue> money = OnlyRow();
  EXPECT_EQ(std::get<double>(money[9]), 5.0);
  EXPECT_EQ(std::get<double>(money[10]), 1.2345);
  EXPECT_EQ(std::get<std::string>(money[7]), "") << "an empty text stays empty";
}

TEST_F(TableFolder, DiscriminadoTakesBooleansAsOneAndZero) {
  const EntradaCatalogo& formatos = *BuscarTabla(7);
  for (const auto& [tag, expected] : std::vector<std::pair<TipoArregloByte, int>>{
           {{0x09}, 1}, {{0x08}, 0}, {{0x03, 0x2C, 0x01}, 300}}) {
    MemoryStream stream(TipoArregloByte{0x01});
    stream.Seek(1);
    for (const ColumnaCatalogo& c : formatos.columnas) {
      MemoryStream value = Stream([&](TWriter& w) {
        if (c.tipo == TipoColumna::kText) w.WriteString(u"x");
        if (c.tipo == TipoColumna::kInt16) w.WriteInteger(1);
      });
      if (std::string(c.nombre) == "Discriminado") value = MemoryStream(tag);
      if (c.tipo == TipoColumna::kBool) value = MemoryStream(TipoArregloByte{0x09});
      stream.Write(value.Data(), value.Size());
    }
    stream.Write("\0", 1);
    ASSERT_EQ(Build(7, std::move(stream)), 0);
    EXPECT_EQ(std::get<std::int64_t>(OnlyRow()[11]), expected);
  }
}

TEST_F(TableFolder, DecodingFailuresGiveTheTablesCodeAndLeaveTheFile) {
  const TipoArregloByte previous = {1, 2, 3};
  platform::ReplaceFileAtomically(dir_.File("tabla.cds"), previous);
  struct Case {
    const char* name;
    std::int16_t id;
    TipoArregloByte bytes;
    std::int16_t code;
  };
  const Case cases[] = {
      {"empty stream", 70, {}, 189},
      {"no vaList", 70, testing::Hex("02 01 02 01 02 01"), 189},
      {"int16 out of range", 70, testing::Hex("01 04 00 80 00 00 02 01 02 01 00"), 189},
      {"vaInt64 in an int16 column", 70,
       testing::Hex("01 13 01 00 00 00 00 00 00 00 02 01 02 01 00"), 189},
      {"vaInt64 in an int32 column", 28, testing::Hex("01 13 01 00 00 00 00 00 00 00"), 202},
      {"integer in a bool column", 6, testing::Hex("01 02 01 02 01 02 01"), 183},
      {"unterminated list", 23, testing::Hex("01 02 01 02 01 02 01 02 01"), 187},
      {"short record", 23, testing::Hex("01 02 01 02 01 00"), 187},
      {"code of IDObjeto 15", 15, {}, 203},
      {"code of IDObjeto 31", 31, {}, 203},
      {"code of IDObjeto 29", 29, {}, 399},
      {"packet that does not load", 17, testing::Hex("01 00"), 207},
      {"empty packet stream", 21, {}, 210},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Build(c.id, MemoryStream(c.bytes)), c.code) << c.name;
    EXPECT_EQ(platform::ReadFileBytes(dir_.File("tabla.cds")), previous) << c.name;
  }
  EXPECT_TRUE(ui_.avisos.empty()) << "decoding failures show nothing";
  EXPECT_EQ(Build(1, MemoryStream()), 0) << "IDObjeto 1 has no table";
  EXPECT_EQ(Build(14, MemoryStream()), 0);
}

TEST_F(TableFolder, PacketTablesAreSavedAsReceived) {
  // A packet whose columns differ from the ones IDObjeto 17 declares.
  const ColumnaCatalogo other[] = {{"Otra", TipoColumna::kInt32},
                                   {"Cosa", TipoColumna::kText, 300}};
  LoggedInsertTable table(other);
  table.BeginRow();
  table.AddInteger(9);
  table.AddText(u"z");
  const TipoArregloByte packet = WriteDataPacket(std::move(table).Finish());
  for (const std::int16_t id : {17, 21, 3}) {
    ASSERT_EQ(Build(id, MemoryStream(packet)), 0) << id;
    EXPECT_EQ(platform::ReadFileBytes(dir_.File("tabla.cds")), packet) << id;
  }
}

TEST_F(TableFolder, AReadOnlyTableFileIsReplaced) {
  const TipoArregloByte old = {9, 9};
  platform::ReplaceFileAtomically(dir_.File("Monedas.cds"), old);
  ASSERT_TRUE(platform::SetReadOnlyAttribute(dir_.File("Monedas.cds")));
  ASSERT_EQ(Build(
                70,
                [](TWriter& w) {
                  w.WriteListBegin();
                  w.WriteListEnd();
                },
                "MONEDAS.CDS"),
            0);
  EXPECT_NE(platform::ReadFileBytes(dir_.File("Monedas.cds")), old);
  EXPECT_FALSE(platform::GetFileAttributes(dir_.File("Monedas.cds"))->read_only);
  EXPECT_EQ(platform::ListFolder(dir_.Path().string(), "*.*").size(), 1u);
}

TEST_F(TableFolder, UnwritableTargetsShowNotice24) {
  const Writes empty = [](TWriter& w) {
    w.WriteListBegin();
    w.WriteListEnd();
  };
  for (const char* name : {"../escape.cds", "sub/x.cds", "..", "", "a\\b.cds", "/etc/x.cds"}) {
    ui_.avisos.clear();
    EXPECT_EQ(Build(70, empty, name), 24) << name;
    ASSERT_EQ(ui_.avisos.size(), 1u) << name;
    EXPECT_EQ(ui_.avisos[0].CodigoError, 24);
    EXPECT_FALSE(ui_.avisos[0].MostrarCodigo);
    EXPECT_EQ(ui_.avisos[0].Status, 77);
    EXPECT_EQ(ui_.avisos[0].NombreCliente, "Banco");
    EXPECT_EQ(ui_.avisos[0].IDCliente, 3);
    EXPECT_EQ(ui_.avisos[0].IDUsuario, 4);
  }
  EXPECT_FALSE(platform::FileExists(dir_.Path().parent_path().string() + "/escape.cds"));
  EXPECT_TRUE(platform::ListFolder(dir_.Path().string(), "*.*").empty());

  std::int16_t code = 0;
  MemoryStream stream = Stream(empty);
  GrabarTablaCDS(70, dir_.File("missing-folder"), "x.cds", stream, code, ui_, sesion_);
  EXPECT_EQ(code, 24);
}

TEST_F(TableFolder, FailuresOfTheDiskShowNotice24) {
  using Call = testing::FaultyFileSystem::Call;
  const Writes empty = [](TWriter& w) {
    w.WriteListBegin();
    w.WriteListEnd();
  };
  const TipoArregloByte previous = {1, 2, 3};
  struct Case {
    const char* name;
    std::function<void(testing::FaultyFileSystem&)> fault;
    bool previous_kept;  // else the new file is there, though refused
  };
  const Case cases[] = {
      {"read-only flag that cannot be cleared",
       [](auto& f) { f.FailFrom(Call::kSetAttributes, 1); }, true},
      {"replacement that fails half-way", [](auto& f) { f.FailFrom(Call::kReplaceFile, 1); }, true},
      {"written, but dated 31 minutes off the clock", [](auto& f) { f.SkewClock(31.0 / 1440); },
       false},
      {"written, but its date cannot be read", [](auto& f) { f.FailFrom(Call::kLastWriteTime, 1); },
       false},
  };
  for (const Case& c : cases) {
    platform::ReplaceFileAtomically(dir_.File("tabla.cds"), previous);
    files_ = testing::FaultyFileSystem();
    c.fault(files_);
    ui_.avisos.clear();
    EXPECT_EQ(Build(70, empty), 24) << c.name;
    ASSERT_EQ(ui_.avisos.size(), 1u) << c.name;
    EXPECT_EQ(ui_.avisos[0].CodigoError, 24) << c.name;
    EXPECT_EQ(platform::ReadFileBytes(dir_.File("tabla.cds")) == previous, c.previous_kept)
        << c.name;
  }
  EXPECT_EQ(platform::ListFolder(dir_.Path().string(), "*.*").size(), 1u) << "no temporary left";
}

TEST_F(TableFolder, ATableFileThatIsALinkIsReplacedWithoutTouchingItsTarget) {
  testing::TempDir elsewhere;
  const std::string target = elsewhere.File("ajeno.cds");
  platform::ReplaceFileAtomically(target, TipoArregloByte{7});
  ASSERT_TRUE(platform::SetReadOnlyAttribute(target));
  std::filesystem::create_symlink(target, dir_.File("tabla.cds"));
  ASSERT_EQ(Build(70,
                  [](TWriter& w) {
                    w.WriteListBegin();
                    w.WriteListEnd();
                  }),
            0);
  EXPECT_TRUE(platform::GetFileAttributes(target)->read_only) << "the target's mode is its own";
  EXPECT_EQ(platform::ReadFileBytes(target), TipoArregloByte{7});
  EXPECT_FALSE(std::filesystem::is_symlink(dir_.File("tabla.cds")));
  EXPECT_EQ(Load().RowCount(), 0u);
}

}  // namespace
}  // namespace xamu
