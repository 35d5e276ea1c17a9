#include "launcher/inventario.h"

#include "encoding/compresion.h"
#include "encoding/text_encoding.h"
#include "encoding/writer.h"
#include "platform/file_system.h"
#include "platform/file_times.h"
#include "platform/local_time.h"

namespace xamu {
namespace {

struct Patron {
  const char* carpeta;  // relative to the application folder, "" for itself
  const char* nombre;
};

constexpr Patron kPatronesProgramas[] = {{"", "*.exe"},     {"Comp", "*.dll"}, {"Comp", "*.ocx"},
                                         {"Comp", "*.res"}, {"Comp", "*.rav"}, {"Comp", "*.fr3"},
                                         {"Comp", "*.reg"}, {"Comp", "*.ini"}, {"Comp", "*.skin"},
                                         {"", "*.bpl"},     {"", "*.bat"}};
constexpr Patron kPatronDatasets = {kCarpetaArchivosCDS, "*.cds"};

std::string CarpetaDe(const std::string& ruta, const Patron& patron) {
  return ruta + patron.carpeta + (*patron.carpeta != '\0' ? "/" : "");
}

std::vector<platform::FolderEntry> ArchivosDe(const std::string& ruta, const Patron& patron) {
  std::vector<platform::FolderEntry> archivos;
  for (platform::FolderEntry& entry :
       platform::ListFolder(CarpetaDe(ruta, patron), patron.nombre)) {
    const platform::FileAttributes& a = entry.attributes;
    if (!a.directory && !a.hidden && !a.system) archivos.push_back(std::move(entry));
  }
  return archivos;
}

}  // namespace

ListadoInventario ListarInventario(const std::string& ruta_aplicacion) {
  ListadoInventario listado;
  for (const Patron& patron : kPatronesProgramas) {
    const std::string carpeta = CarpetaDe(ruta_aplicacion, patron);
    for (const platform::FolderEntry& entry : ArchivosDe(ruta_aplicacion, patron)) {
      const std::optional<double> fecha = platform::LastWriteTime(carpeta + entry.name);
      listado.programas.push_back(
          {entry.name, fecha ? platform::FloatDateToDosDateTime(*fecha) : 0});
    }
  }
  for (const platform::FolderEntry& entry : ArchivosDe(ruta_aplicacion, kPatronDatasets)) {
    listado.datasets.push_back(entry.name);
  }
  return listado;
}

MemoryStream EscribirListaProgramas(const std::vector<ArchivoLocal>& programas) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteListBegin();
    for (const ArchivoLocal& archivo : programas) {
      writer.WriteString(Utf8ToUtf16(archivo.nombre));
      // The 32-bit pattern of the DOS date-time, as the peers read it back.
      writer.WriteInteger(static_cast<std::int32_t>(archivo.fecha_dos));
    }
    writer.WriteListEnd();
  }
  return stream;
}

MemoryStream EscribirListaDatasets(const std::vector<std::string>& datasets) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteListBegin();
    for (const std::string& nombre : datasets) writer.WriteString(Utf8ToUtf16(nombre));
    writer.WriteListEnd();
  }
  return stream;
}

Inventario ConstruirInventario(const ListadoInventario& listado) {
  Inventario inventario;
  inventario.ArregloInventario = ComprimirArreglo(EscribirListaProgramas(listado.programas));
  for (const ArchivoLocal& archivo : listado.programas) {
    inventario.ArregloArchivosLocales.push_back(archivo.nombre);
  }
  inventario.ArregloArchivosCDS = ComprimirArreglo(EscribirListaDatasets(listado.datasets));
  return inventario;
}

}  // namespace xamu
