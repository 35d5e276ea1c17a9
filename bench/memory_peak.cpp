// Peak memory of the table builder, of both directions of the SOAP wire and of the packet
// transfer. Each case runs in a fresh process of this program (default allocator settings),
// which prepares its input, returns freed memory to the system, resets the kernel's
// high-water mark of its resident set (VmHWM, via /proc/self/clear_refs) and then runs the
// operation alone. Usage: xamu_bench_memory [CASE...]; without arguments every case runs,
// each in its own child process.
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_inputs.h"
#include "platform/process_memory.h"
#include "service/service_names.h"
#include "service/soap_writer.h"
#include "support/silent_ui.h"
#include "tables/grabar_tabla.h"

extern char** environ;

namespace xamu::bench {
namespace {

constexpr int kRows = 100000;
constexpr std::size_t kPayloadSize = 64u << 20;
constexpr int kPackets = 10000;
constexpr std::int16_t kPacketSize = 8192;

struct Measure {
  std::size_t start = 0;   // resident before the input was made
  std::size_t before = 0;  // resident with the input made, just before the operation
  std::size_t peak = 0;    // high-water mark during the operation
};

// Runs `prepare`, then `operation`, and reports the resident set around the operation
// against the size `reference` gives afterwards (`what` names it).
void Report(const char* name, const char* what, const std::function<void()>& prepare,
            const std::function<void()>& operation,
            const std::function<std::size_t()>& reference_size) {
  Measure m;
  malloc_trim(0);
  m.start = platform::ResidentBytes();
  prepare();
  malloc_trim(0);
  m.before = platform::ResidentBytes();
  if (!platform::ResetPeakResident()) {
    std::fprintf(stderr, "%s: cannot reset VmHWM\n", name);
    std::exit(2);
  }
  operation();
  m.peak = platform::PeakResidentBytes();
  const std::size_t reference = reference_size();
  const double mb = 1 << 20;
  const double extra = static_cast<double>(m.peak - m.before);
  const double total = static_cast<double>(m.peak - m.start);
  std::printf(
      "%-13s %-8s %9.1f MiB  input held %7.1f MiB  peak over input %7.1f MiB (%.2fx)  "
      "peak incl. input %7.1f MiB (%.2fx)\n",
      name, what, static_cast<double>(reference) / mb, static_cast<double>(m.before - m.start) / mb,
      extra / mb, extra / static_cast<double>(reference), total / mb,
      total / static_cast<double>(reference));
}

void Tabla() {
  MemoryStream stream;
  TempFolder folder;
  Report(
      "tabla", "file", [&] { stream.Assign(Tabla13Stream(kRows)); },
      [&] {
        testing::SilentUi ui;
        std::int16_t code = 0;
        GrabarTablaCDS(kIDObjetoTabla13, folder.Path(), "tabla13.cds", stream, code, ui, {});
        if (code != 0) std::exit(3);
      },
      [&] { return std::filesystem::file_size(folder.File("tabla13.cds")); });
}

void SoapEncode() {
  TipoArregloByte payload;
  std::string xml;
  Report(
      "soap-encode", "payload", [&] { payload = Payload(kPayloadSize); },
      [&] { xml = ProgramasResponse(payload); }, [&] { return payload.size(); });
}

// The first half of SoapEncode: the byte array encoded into the writer, no envelope yet.
void SoapAddBytes() {
  TipoArregloByte payload;
  SoapWriter writer("SincronizarProgramasResponse", kNsSincronizacion);
  Report(
      "soap-addbytes", "payload", [&] { payload = Payload(kPayloadSize); },
      [&] {
        writer.AddBoolean("return", true);
        writer.AddBytes("ArregloDeBytes", payload);
      },
      [&] { return payload.size(); });
}

void SoapParse() {
  std::string xml;
  TipoArregloByte bytes;
  // The answer as the transport hands it over; the payload it was made from is gone.
  Report(
      "soap-parse", "payload", [&] { xml = ProgramasResponse(Payload(kPayloadSize)); },
      [&] { bytes = ReadProgramasResponse(std::move(xml)); }, [&] { return bytes.size(); });
  if (bytes != Payload(kPayloadSize)) std::exit(3);
}

void Paquetes() {
  std::unique_ptr<PacketService> service;
  SincronizacionArchivoInformacion entries;
  Report(
      "paquetes", "data",
      [&] { service = std::make_unique<PacketService>(kPackets, kPacketSize, 10); },
      [&] { entries = RunPackets(*service, kPacketSize); }, [&] { return service->DataSize(); });
  if (!PacketsReassembled(*service, kPacketSize, entries)) std::exit(3);
}

const std::map<std::string, void (*)()> kCases = {{"tabla", Tabla},
                                                  {"soap-encode", SoapEncode},
                                                  {"soap-addbytes", SoapAddBytes},
                                                  {"soap-parse", SoapParse},
                                                  {"paquetes", Paquetes}};

}  // namespace
}  // namespace xamu::bench

int main(int argc, char** argv) {
  using xamu::bench::kCases;
  if (argc == 2) {
    const auto it = kCases.find(argv[1]);
    if (it == kCases.end()) {
      std::fprintf(stderr, "unknown case %s\n", argv[1]);
      return 1;
    }
    it->second();
    return 0;
  }
  std::vector<std::string> names(argv + 1, argv + argc);
  if (names.empty()) {
    for (const auto& [name, run] : kCases) names.push_back(name);
  }
  int failures = 0;
  for (std::string& name : names) {
    std::fflush(stdout);
    char* child_argv[] = {argv[0], name.data(), nullptr};
    pid_t pid = 0;
    int status = 0;
    if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, child_argv, environ) != 0 ||
        waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "%s failed\n", name.c_str());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
