#include "commands.h"
#include "encoding/compresion.h"

namespace xamu::tool {

void Compress(const Arguments& args) {
  RequireArgumentCount(args, 2, "compress IN OUT");
  WriteWholeFile(args[1], ComprimirArreglo(MemoryStream(ReadWholeFile(args[0]))));
}

void Decompress(const Arguments& args) {
  RequireArgumentCount(args, 2, "decompress IN OUT");
  MemoryStream stream(ReadWholeFile(args[0]));
  DescomprimirStream(stream);
  WriteWholeFile(args[1], stream.Bytes());
}

}  // namespace xamu::tool
