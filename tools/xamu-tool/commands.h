#pragma once

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
void Settings(const Arguments& args);
void Inventory(const Arguments& args);
void Probe(const Arguments& args);
void CdsDump(const Arguments& args);
void CdsBuild(const Arguments& args);
void Sincronizar(const Arguments& args);
void Sync(const Arguments& args);

}  // namespace xamu::tool
