#pragma once

#include <optional>
#include <string>

#include "cli.h"

// Each subcommand prints its result on standard output; failures are raised.
namespace xamu::tool {

void VsEncode(const Arguments& args);
void VsDump(const Arguments& args);
void Compress(const Arguments& args);
void Decompress(const Arguments& args);
void HandOffEncode(const Arguments& args);
void HandOffDecode(const Arguments& args);
void PasswordEncode(const Arguments& args);
void PasswordDecode(const Arguments& args);
void Settings(const std::string& folder, bool show_secrets);
void Inventory(const Arguments& args);
void Probe(const Arguments& args);
void CdsDump(const Arguments& args);
void CdsBuild(const Arguments& args);

struct SincronizarRequest {
  std::string url;
  std::string cliente;
  std::string usuario;
  std::optional<std::string> paquetes;
};
void Sincronizar(const SincronizarRequest& request);
void Sync(const std::string& folder, const std::string& cliente, const std::string& usuario);
void Log(std::size_t lines);
// Exits with code 1 when a check failed.
void Doctor(const std::string& folder);

// From here on, each HTTP exchange is printed on standard error (--verbose).
void PrintHttpExchanges();

}  // namespace xamu::tool
