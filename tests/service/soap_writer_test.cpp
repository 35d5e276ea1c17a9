#include <gtest/gtest.h>

#include "service/soap_writer.h"
#include "support/bytes.h"

namespace xamu {
namespace {

constexpr const char* kEnvelope =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><SOAP-ENV:Envelope "
    "xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\">"
    "<SOAP-ENV:Body SOAP-ENV:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">";

TEST(SoapWriter, WritesTheRpcEncodedRequestForm) {
  SoapWriter w("SincronizarConfirmar", "urn:SincronizacionIntf-ISincronizacion");
  w.AddShort("IDUsuario", -2);
  w.AddBoolean("PRespuesta", true);
  w.AddByte("ProximaAccion", 255);
  w.AddInt("Status", 70000);
  w.AddString("NombreArchivo", "A&B <c>");
  w.AddDouble("Fecha", 45000.5);
  w.AddBytes("ArregloDeBytes", {});
  w.AddBytes("Datos", testing::Hex("41 42 43"));
  w.AddSmallIntArray("ArregloFormatos", {1, -2, 3});
  w.AddSmallIntArray("Vacio", {});
  EXPECT_EQ(w.Finish(),
            std::string(kEnvelope) +
                "<NS1:SincronizarConfirmar xmlns:NS1=\"urn:SincronizacionIntf-ISincronizacion\">"
                "<IDUsuario xsi:type=\"xsd:short\">-2</IDUsuario>"
                "<PRespuesta xsi:type=\"xsd:boolean\">true</PRespuesta>"
                "<ProximaAccion xsi:type=\"xsd:unsignedByte\">255</ProximaAccion>"
                "<Status xsi:type=\"xsd:int\">70000</Status>"
                "<NombreArchivo xsi:type=\"xsd:string\">A&amp;B &lt;c&gt;</NombreArchivo>"
                "<Fecha xsi:type=\"xsd:double\">45000.5</Fecha>"
                "<ArregloDeBytes xsi:type=\"xsd:base64Binary\" xsi:nil=\"true\"/>"
                "<Datos xsi:type=\"xsd:base64Binary\">QUJD</Datos>"
                "<ArregloFormatos xsi:type=\"SOAP-ENC:Array\" SOAP-ENC:arrayType=\"xsd:short[3]\">"
                "<item>1</item><item>-2</item><item>3</item></ArregloFormatos>"
                "<Vacio xsi:type=\"SOAP-ENC:Array\" SOAP-ENC:arrayType=\"xsd:short[0]\"></Vacio>"
                "</NS1:SincronizarConfirmar></SOAP-ENV:Body></SOAP-ENV:Envelope>");
}

TEST(SoapWriter, EntriesAreAnEncodedArrayOfStructs) {
  SoapWriter w("SincronizarResponse", "urn:SincronizacionIntf-ISincronizacion");
  w.AddEntries("ArregloRespuesta", {{6, "Paises.cds", 3, 1.5, testing::Hex("01 00")}});
  const std::string xml = w.Finish();
  EXPECT_NE(xml.find("<ArregloRespuesta xmlns:NS2=\"urn:Tipos\" xsi:type=\"SOAP-ENC:Array\" "
                     "SOAP-ENC:arrayType=\"NS2:Archivo1Sincronizacion[1]\">"
                     "<item xsi:type=\"NS2:Archivo1Sincronizacion\">"
                     "<IDObjeto xsi:type=\"xsd:short\">6</IDObjeto>"
                     "<Nombre xsi:type=\"xsd:string\">Paises.cds</Nombre>"
                     "<Longitud xsi:type=\"xsd:int\">3</Longitud>"
                     "<Fecha xsi:type=\"xsd:double\">1.5</Fecha>"
                     "<Datos xsi:type=\"xsd:base64Binary\">AQA=</Datos></item></ArregloRespuesta>"),
            std::string::npos)
      << xml;
}

}  // namespace
}  // namespace xamu
