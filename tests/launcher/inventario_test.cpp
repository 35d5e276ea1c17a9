#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "encoding/compresion.h"
#include "encoding/reader.h"
#include "encoding/text_forms.h"
#include "launcher/inventario.h"
#include "platform/file_system.h"
#include "platform/file_times.h"
#include "platform/local_time.h"
#include "support/temp_dir.h"
#include "support/time_zone.h"

namespace xamu {
namespace {

class InventoryFolder : public ::testing::Test {
 protected:
  std::string Ruta() const { return dir_.Path().string() + "/"; }
  void File(const std::string& relative, double date = 45000.5) {
    std::ofstream(Ruta() + relative) << "x";
    ASSERT_TRUE(platform::SetLastWriteTime(Ruta() + relative, date));
  }
  void Folder(const std::string& relative) {
    ASSERT_TRUE(platform::CreateFolder(Ruta() + relative));
  }
  testing::ScopedTimeZone zone_{"America/Mexico_City"};
  testing::TempDir dir_;
};

TipoArregloByte Decompressed(TipoArregloByte compressed) {
  MemoryStream stream;
  DescomprimirArreglo(stream, compressed);
  return stream.Bytes();
}

TEST_F(InventoryFolder, EmptyInstallationGivesEmptyLists) {
  const Inventario inventario = ConstruirInventario(ListarInventario(Ruta()));
  EXPECT_EQ(BytesToHex(Decompressed(inventario.ArregloInventario)), "01 00");
  EXPECT_EQ(BytesToHex(Decompressed(inventario.ArregloArchivosCDS)), "01 00");
  EXPECT_TRUE(inventario.ArregloArchivosLocales.empty());
}

TEST_F(InventoryFolder, ListsTheElevenPatternsInOrderThenTheDatasets) {
  Folder("comp");
  Folder("ArchivosCDS");
  Folder("folder.exe");
  File("run.bat");
  File("LauncherXamuWEB.exe", platform::LocalToFloatDate({2024, 3, 15, 13, 45, 31, 0}));
  File("Core.BPL");
  File("comp/Grid.OCX");
  File("comp/xamu.dll");
  File("comp/Skin.skin");
  File("comp/.hidden.dll");
  File("comp/readme.txt");
  File("comp/XAMUwebIP.ini");
  File("ArchivosCDS/Paises.cds");
  File("ArchivosCDS/notes.txt");

  const ListadoInventario listado = ListarInventario(Ruta());
  std::vector<std::string> names;
  for (const ArchivoLocal& a : listado.programas) names.push_back(a.nombre);
  EXPECT_EQ(names, (std::vector<std::string>{"LauncherXamuWEB.exe", "xamu.dll", "Grid.OCX",
                                             "XAMUwebIP.ini", "Skin.skin", "Core.BPL", "run.bat"}));
  EXPECT_EQ(listado.programas[0].fecha_dos,
            44u << 25 | 3u << 21 | 15u << 16 | 13u << 11 | 45u << 5 | 15u);
  EXPECT_EQ(listado.datasets, std::vector<std::string>{"Paises.cds"});

  const Inventario inventario = ConstruirInventario(listado);
  EXPECT_EQ(inventario.ArregloArchivosLocales, names);
  MemoryStream stream(Decompressed(inventario.ArregloInventario));
  TReader reader(stream);
  reader.CheckValue(TValueType::vaList);
  for (const ArchivoLocal& a : listado.programas) {
    EXPECT_EQ(reader.ReadString(), std::u16string(a.nombre.begin(), a.nombre.end()));
    EXPECT_EQ(static_cast<std::uint32_t>(reader.ReadInteger()), a.fecha_dos);
  }
  reader.CheckValue(TValueType::vaNull);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(BytesToHex(Decompressed(inventario.ArregloArchivosCDS)),
            "01 06 0A 50 61 69 73 65 73 2E 63 64 73 00");
}

}  // namespace
}  // namespace xamu
