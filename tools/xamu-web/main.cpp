// XamuWEB.exe, a sample main application for demonstrations and tests: decodes the
// launcher's hand-off argument and prints the five values it carries, one per line.
#include <cstdio>
#include <exception>

#include "encoding/text_encoding.h"
#include "launcher/hand_off.h"
#include "platform/errors.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "XamuWEB.exe: expected one argument, the launcher's hand-off text\n");
    return 2;
  }
  try {
    const xamu::HandOffRecord r = xamu::DecodeHandOffText(argv[1]);
    std::printf(
        "XamuWEB.exe received:\nIDCliente=%d\nIDUsuario=%d\nIDPais=%d\n"
        "NombreCliente=%s\nNombreUsuario=%s\n",
        r.IDCliente, r.IDUsuario, r.IDPais, xamu::Utf16ToUtf8(r.NombreCliente).c_str(),
        xamu::Utf16ToUtf8(r.NombreUsuario).c_str());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "XamuWEB.exe: %s: %s\n", xamu::KindName(e).c_str(), e.what());
    return 1;
  }
}
