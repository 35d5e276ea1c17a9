#include "commands.h"
#include "encoding/compresion.h"
#include "encoding/seven_zip.h"

namespace xamu::tool {

void Compress(const Arguments& args) {
  WriteWholeFile(args[1], ComprimirArreglo(MemoryStream(ReadWholeFile(args[0]))));
}

void Decompress(const Arguments& args) {
  MemoryStream stream(ReadWholeFile(args[0]));
  if (HasSevenZipSignature(stream.Bytes())) {
    // Written as it is decompressed: the decoder's dictionary already takes as much memory
    // as the item, and a whole copy beside it would double the peak.
    WriteFileInPieces(args[1], [&](const PieceWriter& write) {
      ExtractSevenZipItem0(stream.Bytes(), kDecompressionLimit, {.piece = write});
    });
    return;
  }
  DescomprimirStream(stream);
  WriteWholeFile(args[1], stream.Bytes());
}

}  // namespace xamu::tool
