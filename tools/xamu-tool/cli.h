#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/memory_stream.h"
#include "platform/file_system.h"
#include "ui/interfaz_usuario.h"

namespace xamu::tool {

using Arguments = std::vector<std::string>;

// A command line that does not fit the command: exit code 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A command that could not do its work for a reason of its own (not an error the system
// raised): exit code 1.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A command that has printed its result and ends with this exit code, without an error line.
struct ExitCode {
  int code;
};

// The application folder as the launcher derives it: with a trailing separator.
std::string ApplicationFolder(std::string folder);

// "-" is standard input or output.
TipoArregloByte ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);
// Writes `path` from the pieces `produce` hands to its argument, through a temporary file
// beside it that takes its place only when `produce` returns; an error leaves `path` as it was.
using PieceWriter = platform::PieceSink;
void WriteFileInPieces(const std::string& path,
                       const std::function<void(const PieceWriter&)>& produce);

// A JSON string literal of UTF-8 text; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(std::string_view utf8);

// Commands report through their output and exit code; what a notice would say, the
// command's own error line says ("error 24" is notice 24).
class SilentUi : public InterfazUsuario {
 public:
  void MostrarAviso(const DatosAviso&) override {}
  void EstablecerTextoProgreso(const std::string&) override {}
  void EstablecerProgreso(int) override {}
};

std::int64_t ParseInteger(std::string_view text, std::int64_t min, std::int64_t max);

}  // namespace xamu::tool
