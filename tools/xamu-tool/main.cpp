// xamu-tool: diagnostics for support engineers and black-box tests. Results go to
// standard output with exit code 0; an error is one line on standard error, exit code 1.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "commands.h"
#include "platform/errors.h"

namespace {

struct Command {
  std::string_view name;
  void (*run)(const xamu::tool::Arguments&);
};

constexpr Command kCommands[] = {
    {"vs-encode", xamu::tool::VsEncode},
    {"vs-dump", xamu::tool::VsDump},
    {"compress", xamu::tool::Compress},
    {"decompress", xamu::tool::Decompress},
    {"handoff-encode", xamu::tool::HandOffEncode},
    {"handoff-decode", xamu::tool::HandOffDecode},
    {"password-encode", xamu::tool::PasswordEncode},
    {"password-decode", xamu::tool::PasswordDecode},
    {"settings", xamu::tool::Settings},
    {"inventory", xamu::tool::Inventory},
    {"probe", xamu::tool::Probe},
    {"cds-dump", xamu::tool::CdsDump},
    {"cds-build", xamu::tool::CdsBuild},
    {"sincronizar", xamu::tool::Sincronizar},
    {"sync", xamu::tool::Sync},
};

void PrintUsage() {
  std::fputs("usage: xamu-tool COMMAND ARGS...\ncommands:", stderr);
  for (const Command& c : kCommands)
    std::fprintf(stderr, " %.*s", int(c.name.size()), c.name.data());
  std::fputc('\n', stderr);
}

}  // namespace

namespace {

// An error is one line: line breaks written as \n, and a text too long for a terminal
// shortened, with its length said.
std::string OneLine(std::string_view text) {
  constexpr std::size_t kLongest = 300;
  std::string out;
  for (const char c : text.substr(0, kLongest)) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r' || c == '\t') {
      out += ' ';
    } else {
      out += c;
    }
  }
  if (text.size() > kLongest) out += "... (" + std::to_string(text.size()) + " characters)";
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage();
    return 1;
  }
  const std::string_view name = argv[1];
  for (const Command& command : kCommands) {
    if (command.name != name) continue;
    try {
      command.run(xamu::tool::Arguments(argv + 2, argv + argc));
      return std::fflush(stdout) == 0 ? 0 : 1;
    } catch (const xamu::tool::ExitCode& e) {
      std::fflush(stdout);
      return e.code;
    } catch (const xamu::Error& e) {
      std::fflush(stdout);
      std::fprintf(stderr, "%s: %s\n", e.Kind().c_str(), OneLine(e.what()).c_str());
    } catch (const std::exception& e) {
      std::fflush(stdout);
      std::fprintf(stderr, "%s\n", OneLine(e.what()).c_str());
    }
    return 1;
  }
  std::fprintf(stderr, "unknown command: %s\n", argv[1]);
  PrintUsage();
  return 1;
}
