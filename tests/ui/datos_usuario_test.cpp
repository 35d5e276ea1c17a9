// The user data form's record, update and answer, without the widgets.
#include "ui/datos_usuario.h"

#include <gtest/gtest.h>

#include "encoding/compresion.h"
#include "encoding/reader.h"
#include "encoding/value_type.h"
#include "encoding/writer.h"
#include "ui/codigos.h"
#include "ui/registro_usuario_fixture.h"

namespace xamu::ui {
namespace {

using testing::FakeAutenticacion;
using testing::kNine;
using testing::Record;

TEST(UserRecord, IsReadWithEveryStringTrimmedAndTheArrayLeftEmpty) {
  TipoArregloByte bytes = Record(kNine);
  const std::optional<UserRecord> r = ReadUserRecord(bytes);
  ASSERT_TRUE(r);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(r->Empresa, u"Grupo Financiero Altiplano");
  const std::array<std::u16string, 8> expected = {
      u"María García López", u"Av. Reforma 222", u"52", u"55", u"5555-0123", u"", u"",
      u"maria@altiplano.mx"};
  EXPECT_EQ(r->Campos, expected);
  EXPECT_DOUBLE_EQ(r->FechaRegistro, 43538.25);
}

TEST(UserRecord, ThatCannotBeReadGivesNothing) {
  std::vector<std::u16string> eight(kNine.begin(), kNine.end() - 1);
  MemoryStream integer_for_name;
  {
    TWriter writer(integer_for_name);
    writer.WriteString(u"Empresa");
    writer.WriteInteger(std::int32_t{7});
  }
  struct Case {
    const char* what;
    TipoArregloByte bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"not compressed", {0x12, 0x34, 0x56, 0x78, 0x9A}},
      {"without the sign-up date", Record(kNine, false)},
      {"a string short", Record(eight)},
      {"an integer for a string", ComprimirArreglo(std::move(integer_for_name))},
  };
  for (Case c : cases) {
    EXPECT_FALSE(ReadUserRecord(c.bytes)) << c.what;
    EXPECT_TRUE(c.bytes.empty()) << c.what;
  }
}

TEST(UserRecordUpdate, CarriesTheIdentifiersWidenedAndTheEightFieldsTrimmed) {
  const std::array<std::u16string, 8> campos = {u" Ana ", u"Calle 1", u"52", u"55",
                                                u"12345", u"",        u"",   u"ana@example.com\t"};
  TipoArregloByte bytes = WriteUserRecordUpdate(-2, 203, campos);
  MemoryStream stream;
  DescomprimirArreglo(stream, bytes);
  TReader reader(stream);
  EXPECT_EQ(reader.ReadInteger(), -2);
  EXPECT_EQ(reader.ReadInteger(), 203);
  const std::u16string expected[] = {u"Ana",   u"Calle 1", u"52", u"55",
                                     u"12345", u"",        u"",   u"ana@example.com"};
  for (const auto& e : expected) EXPECT_EQ(reader.ReadString(), e);
  EXPECT_TRUE(reader.AtEnd());
}

TEST(UserRecordUpdate, TheAnswerDecidesTheNotice) {
  const UserRecordSession sesion{.IDCliente = 17, .IDUsuario = 203, .NombreCliente = "Banco"};
  struct Case {
    std::int16_t codigo;
    bool fails;
    std::optional<std::uint16_t> notice;
    bool code_form;
  };
  const Case cases[] = {
      {0, false, std::nullopt, false},
      {63, false, 63, true},
      {67, false, 67, true},
      {68, false, 68, true},
      {69, false, 69, true},
      {72, false, 72, true},
      {70, false, std::nullopt, false},
      {-1, false, std::nullopt, false},
      {0, true, kCodigoSinConexion, false},
  };
  for (const Case& c : cases) {
    TipoArregloByte sent;
    const TipoArregloByte update = {1, 2, 3};
    const auto aviso = SendUserRecordUpdate(
        [&] { return std::make_unique<FakeAutenticacion>(c.codigo, 9, c.fails, sent); }, sesion,
        update);
    EXPECT_EQ(sent, update) << c.codigo;
    ASSERT_EQ(aviso.has_value(), c.notice.has_value()) << c.codigo;
    if (!aviso) continue;
    EXPECT_EQ(aviso->CodigoError, *c.notice);
    EXPECT_EQ(aviso->MostrarCodigo, c.code_form);
    EXPECT_EQ(aviso->Status, c.fails ? 0 : 9);
    EXPECT_FALSE(aviso->SalirAlCerrar);
    EXPECT_EQ(aviso->NombreCliente, "Banco");
    EXPECT_EQ(aviso->IDCliente, 17);
    EXPECT_EQ(aviso->IDUsuario, 203);
  }
}

TEST(UserRecordUpdate, AClientThatCannotBeMadeIsNoConnection) {
  const auto aviso = SendUserRecordUpdate(
      []() -> std::unique_ptr<IAutenticacionNEW> {
        throw std::invalid_argument(
            "Invalid url 'ftp://x' - only supports 'http' and 'https' schemes");
      },
      {}, {});
  ASSERT_TRUE(aviso);
  EXPECT_EQ(aviso->CodigoError, kCodigoSinConexion);
  EXPECT_FALSE(aviso->MostrarCodigo);
}

}  // namespace
}  // namespace xamu::ui
