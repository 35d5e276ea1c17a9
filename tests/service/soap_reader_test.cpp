#include <gtest/gtest.h>

#include "service/errors.h"
#include "service/soap_reader.h"
#include "service/soap_writer.h"
#include "support/bytes.h"
#include "support/peak_memory.h"

namespace xamu {
namespace {

std::string Envelope(const std::string& body, const std::string& envelope_attributes = "") {
  return "<?xml version=\"1.0\"?><soap:Envelope "
         "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
         "xmlns:enc=\"http://schemas.xmlsoap.org/soap/encoding/\" " +
         envelope_attributes + "><soap:Body>" + body + "</soap:Body></soap:Envelope>";
}

struct ResponseCase {
  const char* name;
  std::string xml;
};

// The same answer in the forms real servers send.
TEST(SoapMessage, ReadsEveryFormRealServersSend) {
  const std::string entries_named =
      "<ArregloRespuesta xsi:type=\"t:SincronizacionArchivoInformacion\" xmlns:t=\"urn:Tipos\">"
      "<item "
      "xsi:type=\"t:Archivo1Sincronizacion\"><IDObjeto>6</IDObjeto><Nombre>Paises.cds</Nombre>"
      "<Longitud>2</Longitud><Fecha>45000.25</Fecha><Datos>AQ\r\nA=</Datos></item>"
      "</ArregloRespuesta>";
  const ResponseCase cases[] = {
      {"result first, named array type, wrapped base64",
       Envelope(
           "<m:SincronizarResponse xmlns:m=\"urn:x\"><return "
           "xsi:type=\"xsd:boolean\">true</return>" +
               entries_named +
               "<CodigoError>0</CodigoError><Status>9</Status><ArregloFormatos "
               "enc:arrayType=\"xsd:short[2]\"><item xsi:type=\"xsd:short\">4</item><item>5</item>"
               "</ArregloFormatos><ArregloDeBytes xsi:nil=\"true\"/></m:SincronizarResponse>",
           "soap:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"")},
      {"result last under another name and case, multi-references at body level",
       Envelope(
           "<ns1:SincronizarResponse xmlns:ns1=\"urn:x\" "
           "soap:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">"
           "<CodigoError>0</CodigoError><Status>9</Status>"
           "<ArregloRespuesta href=\"#r1\"/><ArregloFormatos href=\"#r2\"/>"
           "<RESULT>1</RESULT></ns1:SincronizarResponse>"
           "<enc:Array id=\"r1\" enc:arrayType=\"ns2:Archivo1Sincronizacion[1]\"><item "
           "href=\"#r3\"/></enc:Array>"
           "<x id=\"r3\"><IDObjeto>6</IDObjeto><Nombre>Paises.cds</Nombre><Longitud>2</Longitud>"
           "<Fecha>4.500025E4</Fecha><Datos>AQA=</Datos></x>"
           "<enc:Array id=\"r2\"><a>4</a><b>5</b></enc:Array>")},
      {"inline references",
       Envelope(
           "<r:SincronizarResponse xmlns:r=\"urn:x\"><Return>true</Return>"
           "<ArregloRespuesta><item href=\"#e\"/></ArregloRespuesta>"
           "<CodigoError href=\"#c\"/><Status>9</Status>"
           "<ArregloFormatos><item>4</item><item>5</item></ArregloFormatos>"
           "<hidden><v id=\"c\">0</v><i id=\"e\"><Nombre>Paises.cds</Nombre><IDObjeto>6</IDObjeto>"
           "<Datos>AQA=</Datos><Fecha>45000.25</Fecha><Longitud>2</Longitud></i></hidden>"
           "</r:SincronizarResponse>")},
  };
  for (const ResponseCase& c : cases) {
    SCOPED_TRACE(c.name);
    const SoapMessage m(c.xml);
    EXPECT_TRUE(m.ResultBoolean());
    SincronizacionArchivoInformacion entries;
    std::int16_t code = 77;
    std::int32_t status = 0;
    TipoArregloSmallInt formats;
    TipoArregloByte bytes = {1};
    m.Read("ArregloRespuesta", entries);
    m.Read("CodigoError", code);
    m.Read("Status", status);
    m.Read("ArregloFormatos", formats);
    m.Read("ArregloDeBytes", bytes);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0], (Archivo1Sincronizacion{6, "Paises.cds", 2, 45000.25, {1, 0}}));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(status, 9);
    EXPECT_EQ(formats, (TipoArregloSmallInt{4, 5}));
    if (std::string(c.name).starts_with("result first")) {
      EXPECT_TRUE(bytes.empty()) << "xsi:nil";
    }
  }
}

TEST(SoapMessage, AMissingParameterKeepsItsValueAndTheOnlyChildIsTheResult) {
  const SoapMessage m(
      Envelope("<a:GrabarDatosUsuariosResponse xmlns:a=\"urn:y\"><CodigoError>3</CodigoError>"
               "</a:GrabarDatosUsuariosResponse>"));
  std::int32_t status = 41;
  m.Read("Status", status);
  EXPECT_EQ(status, 41);
  std::int16_t code = 0;
  m.Read("codigoerror", code);
  EXPECT_EQ(code, 0) << "parameter names are compared exactly";
  EXPECT_EQ(m.OperationName(), "GrabarDatosUsuariosResponse");
  EXPECT_THROW(m.ResultBoolean(), ESOAPResponseError) << "3 is not a Boolean";
}

TEST(SoapMessage, FaultsAndBrokenAnswersRaiseTheirTexts) {
  try {
    SoapMessage(SoapFault("SOAP-ENV:Server", "Tabla no disponible"));
    ADD_FAILURE();
  } catch (const ERemotableException& e) {
    EXPECT_STREQ(e.what(), "Tabla no disponible");
    EXPECT_EQ(e.Kind(), "ERemotableException");
  }
  const std::pair<std::string, std::string> broken[] = {
      {"", "Invalid SOAP Response"},
      {"<html><body>502</body></html>",
       "DocumentElement http://schemas.xmlsoap.org/soap/envelope/:Envelope expected, :html found"},
      {"<Envelope xmlns=\"urn:other\"><Body/></Envelope>",
       "DocumentElement http://schemas.xmlsoap.org/soap/envelope/:Envelope expected, "
       "urn:other:Envelope found"},
      {"<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>",
       "Invalid SOAP Response"},
      {"<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"/>",
       "Invalid SOAP Response"},
  };
  for (const auto& [xml, text] : broken) {
    try {
      SoapMessage m(xml);
      ADD_FAILURE() << xml;
    } catch (const ESOAPResponseError& e) {
      EXPECT_EQ(e.what(), text);
      EXPECT_EQ(e.Kind(), "ESOAPResponseError");
    }
  }
  const SoapMessage two(Envelope("<r><a>1</a><b>2</b></r>"));
  try {
    two.ResultBoolean();
    ADD_FAILURE();
  } catch (const ESOAPResponseError& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with(
        "SOAP Response Packet: element matching function return not found, received \"<"))
        << e.what();
  }
}

TEST(SoapMessage, BadValuesAndReferencesAreErrorsNotCrashes) {
  const SoapMessage m(
      Envelope("<r><return>true</return><A>70000</A><B>x</B><C>@@@</C>"
               "<D href=\"#nowhere\"/><E href=\"#e\"/><F id=\"e\" href=\"#e\"/></r>"));
  std::int16_t small = 0;
  EXPECT_THROW(m.Read("A", small), ESOAPResponseError) << "70000 does not fit 16 bits";
  EXPECT_THROW(m.Read("B", small), ESOAPResponseError);
  TipoArregloByte bytes;
  EXPECT_THROW(m.Read("C", bytes), ESOAPResponseError);
  EXPECT_THROW(m.Read("D", small), ESOAPResponseError);
  EXPECT_THROW(m.Read("E", small), ESOAPResponseError) << "a reference cycle ends";
}

// A fault whose text is a multi-reference was reported as an unresolved reference.
TEST(SoapMessage, AFaultStringGivenByReferenceIsTheFaultsText) {
  try {
    SoapMessage(
        "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\">"
        "<SOAP-ENV:Body><SOAP-ENV:Fault><faultcode>SOAP-ENV:Server</faultcode>"
        "<faultstring href=\"#1\"/></SOAP-ENV:Fault><s id=\"1\">Usuario no valido</s>"
        "</SOAP-ENV:Body></SOAP-ENV:Envelope>");
    ADD_FAILURE();
  } catch (const ERemotableException& e) {
    EXPECT_STREQ(e.what(), "Usuario no valido");
  }
}

}  // namespace
}  // namespace xamu

namespace xamu {
namespace {

std::string SharedDataAnswer(int items, std::size_t shared_chars) {
  std::string body =
      "<m:SincronizarResponse xmlns:m=\"urn:x\"><return>true</return>"
      "<ArregloRespuesta>";
  for (int i = 0; i < items; ++i) body += "<item><IDObjeto>6</IDObjeto><Datos href=\"#d\"/></item>";
  body += "</ArregloRespuesta></m:SincronizarResponse><Datos id=\"d\">" +
          std::string(shared_chars, 'A') + "</Datos>";
  return Envelope(body);
}

// Many entries whose data all reference one shared element read fine while the arrays
// fit the answer's budget.
TEST(SoapMessage, SharedDataIsReadAtEachReference) {
  const SoapMessage small(SharedDataAnswer(3, 8));
  SincronizacionArchivoInformacion entries;
  small.Read("ArregloRespuesta", entries);
  ASSERT_EQ(entries.size(), 3u);
  for (const auto& e : entries) EXPECT_EQ(e.Datos, TipoArregloByte(6, 0));
}

// Answers that cost many times their size once parsed or decoded are refused before, and
// the whole reading stays within 64 MiB and four times the answer.
TEST(SoapMessage, AnswersThatWouldCostManyTimesTheirSizeAreRefusedWithinTheBound) {
  std::string tiny_elements;
  for (int i = 0; i < 1000000; ++i) tiny_elements += "<a/>";
  std::string tiny_attributes = "<r";
  for (int i = 0; i < 1000000; ++i) tiny_attributes += " a" + std::to_string(i) + "=''";
  const struct {
    const char* name;
    std::string answer;
    const char* refusal;
  } cases[] = {
      // 20 000 references to 30 000 characters: some 450 MB decoded from a 1.2 MB answer.
      {"references to one shared element", SharedDataAnswer(20000, 30000),
       "The answer's data is larger than the answer can hold"},
      {"a million empty elements", Envelope(tiny_elements),
       "The answer has more markup than its size justifies"},
      {"a million attributes", Envelope(tiny_attributes + "/>"),
       "The answer has more markup than its size justifies"},
  };
  bool measured = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string refusal = "accepted";
    const std::optional<std::size_t> peak = testing::PeakMemoryOf([&] {
      try {
        const SoapMessage message(c.answer);
        SincronizacionArchivoInformacion entries;
        message.Read("ArregloRespuesta", entries);
      } catch (const ESOAPResponseError& e) {
        refusal = e.what();
      }
    });
    EXPECT_EQ(refusal, c.refusal);
    measured = measured && peak;
    if (!peak) continue;
    RecordProperty(c.name, std::to_string(*peak));
    EXPECT_LE(*peak, testing::AnswerBound(c.answer.size())) << *peak / (1 << 20) << " MiB";
  }
  if (!measured) GTEST_SKIP() << "refusals checked; peak memory cannot be measured here";
}

}  // namespace
}  // namespace xamu
