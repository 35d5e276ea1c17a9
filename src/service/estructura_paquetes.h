#pragma once

#include "encoding/memory_stream.h"
#include "service/wire_types.h"

// The structure that accompanies a packetised synchronization answer: a value stream
// without list markers holding the format ids, then IDObjeto, Nombre, Longitud and Fecha
// of each entry.
namespace xamu {

// Reads the decompressed structure; the entries' Datos stay empty. Raises EReadError.
void LeerEstructura(MemoryStream& estructura, TipoArregloSmallInt& ArregloFormatos,
                    SincronizacionArchivoInformacion& entradas);

// The vendor's side of it: the uncompressed structure for these format ids and entries
// (their Datos are not part of it). Fecha is written as a double, which the reader takes.
MemoryStream EscribirEstructura(const TipoArregloSmallInt& ArregloFormatos,
                                const SincronizacionArchivoInformacion& entradas);

}  // namespace xamu
