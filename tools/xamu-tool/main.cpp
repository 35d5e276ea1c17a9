// xamu-tool: diagnostics for support engineers and black-box tests. Results go to
// standard output with exit code 0; a failure is one line on standard error with exit
// code 1, a command line that does not fit a usage message with exit code 2.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "commands.h"
#include "platform/errors.h"
#include "platform/version.h"

namespace {

using xamu::tool::Arguments;

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

struct Positional {
  const char* name;
  const char* help;
};

// A required argument or option, shown in the usage without CLI11's type name.
template <typename T>
CLI::Option* Required(CLI::App* command, const char* name, T& value, const char* help,
                      const char* shown_type = "") {
  return command->add_option(name, value, help)->required()->type_name(shown_type);
}

// The command that the command line chose, run once it has been parsed whole.
class Commands {
 public:
  explicit Commands(CLI::App& app) : app_(app) {}

  // A command whose arguments are all required positionals, handed over in order.
  CLI::App* Add(const char* name, const char* help, const std::vector<Positional>& positionals,
                void (*run)(const Arguments&)) {
    auto values = std::make_shared<Arguments>(positionals.size());
    CLI::App* command = Add(name, help, [values, run] { run(*values); });
    for (std::size_t i = 0; i < positionals.size(); ++i) {
      Required(command, positionals[i].name, (*values)[i], positionals[i].help);
    }
    return command;
  }

  // A command of one positional that takes one value or more.
  CLI::App* AddRepeated(const char* name, const char* help, const Positional& positional,
                        void (*run)(const Arguments&)) {
    auto values = std::make_shared<Arguments>();
    CLI::App* command = Add(name, help, [values, run] { run(*values); });
    Required(command, positional.name, *values, positional.help);
    return command;
  }

  // A command that reads its own options; `run` is called when it was chosen.
  CLI::App* Add(const char* name, const char* help, std::function<void()> run) {
    CLI::App* command = app_.add_subcommand(name, help);
    command->callback([this, run] { chosen_ = run; });
    return command;
  }

  void Run() const { chosen_(); }

 private:
  CLI::App& app_;
  std::function<void()> chosen_;
};

}  // namespace

int main(int argc, char** argv) {
  namespace tool = xamu::tool;
  CLI::App app("Diagnostics of XAMU Web installations, their files and services.", "xamu-tool");
  app.set_version_flag("--version", std::string("xamu-tool ") + xamu::kVersion);
  app.require_subcommand(1);
  Commands commands(app);

  commands.AddRepeated("vs-encode", "Write a value stream and print its bytes.",
                       {"VALUE", "int:N, int64:N, str:TEXT, float:X, list or end"}, tool::VsEncode);
  commands.Add("vs-dump", "Print every value of a value stream, one a line.",
               {{"FILE", "the value stream, or - for standard input"}}, tool::VsDump);
  commands.Add("compress", "Compress a file as the launcher's peers do.",
               {{"IN", "the bytes to compress (- for standard input)"},
                {"OUT", "the compressed form (- for standard output)"}},
               tool::Compress);
  commands.Add("decompress", "Decompress either compressed form.",
               {{"IN", "the compressed bytes (- for standard input)"},
                {"OUT", "the decompressed bytes (- for standard output)"}},
               tool::Decompress);
  commands.Add("handoff-encode", "Print the text the launcher hands to the main application.",
               {{"IDCliente", ""},
                {"IDUsuario", ""},
                {"IDPais", ""},
                {"NombreCliente", ""},
                {"NombreUsuario", ""}},
               tool::HandOffEncode);
  commands.Add("handoff-decode", "Print the five values of a hand-off text.",
               {{"TEXT", "the hand-off text"}}, tool::HandOffDecode);
  commands.Add("password-encode", "Print the stored form of a proxy password.",
               {{"TEXT", "the password"}}, tool::PasswordEncode);
  commands.Add("password-decode", "Print the proxy password a stored form holds.",
               {{"TRIPLETS", "the stored form"}}, tool::PasswordDecode);

  std::string folder;
  bool show_secrets = false;
  CLI::App* settings = commands.Add("settings", "Print the settings the launcher would read.",
                                    [&] { tool::Settings(folder, show_secrets); });
  Required(settings, "FOLDER", folder, "the installation folder");
  settings->add_flag("--show-secrets", show_secrets, "print the proxy password instead of ***");

  commands.Add("inventory", "Print the inventory the launcher would send.",
               {{"FOLDER", "the installation folder"}}, tool::Inventory);
  commands.Add("probe", "Try the launcher's write-permission probe.",
               {{"FOLDER", "the installation folder"}}, tool::Probe);
  commands.Add("cds-dump", "Print a dataset file as JSON.",
               {{"FILE", "the dataset file, or - for standard input"}}, tool::CdsDump);
  commands.Add("cds-build", "Build a dataset file from a value stream, as the worker does.",
               {{"IDOBJETO", "the table's id"},
                {"IN", "the value stream, or - for standard input"},
                {"OUT", "the dataset file to write, or - for standard output"}},
               tool::CdsBuild);

  bool verbose = false;
  const auto verbosity = [&](CLI::App* command) {
    command->add_flag(
        "-v,--verbose", verbose,
        "print each HTTP request's address, proxy, status and time on standard error");
  };
  tool::SincronizarRequest sincronizar;
  CLI::App* sync_service =
      commands.Add("sincronizar", "Call the synchronization service and print its answer as JSON.",
                   [&] { tool::Sincronizar(sincronizar); });
  Required(sync_service, "URLSERV", sincronizar.url, "the service's address");
  Required(sync_service, "IDCliente", sincronizar.cliente, "");
  Required(sync_service, "IDUsuario", sincronizar.usuario, "");
  sync_service
      ->add_option("--paquetes", sincronizar.paquetes, "fetch the answer in packets of this size")
      ->type_name("TAMANO");
  verbosity(sync_service);

  std::string cliente, usuario;
  CLI::App* sync = commands.Add("sync", "Run the synchronization worker for an installation.",
                                [&] { tool::Sync(folder, cliente, usuario); });
  Required(sync, "FOLDER", folder, "the installation folder");
  Required(sync, "--cliente", cliente, "IDCliente", "N");
  Required(sync, "--usuario", usuario, "IDUsuario", "N");
  verbosity(sync);

  int lines = 20;
  CLI::App* log = commands.Add("log", "Print where the launcher's log is, and its last lines.",
                               [&] { tool::Log(static_cast<std::size_t>(lines)); });
  log->add_option("-n,--lines", lines, "how many lines to print")
      ->capture_default_str()
      ->check(CLI::Range(0, 1000000))
      ->type_name("N");

  CLI::App* doctor =
      commands.Add("doctor", "Check an installation as the launcher will, one line a check.",
                   [&] { tool::Doctor(folder); });
  Required(doctor, "FOLDER", folder, "the installation folder");
  verbosity(doctor);

  // A first word that names no command is said as git says it, rather than as a missing one.
  const auto names = [&](CLI::App* command) { return command->check_name(argv[1]); };
  if (argc > 1 && argv[1][0] != '-' && app.get_subcommands(names).empty()) {
    std::fprintf(stderr, "xamu-tool: '%s' is not a command. See 'xamu-tool --help'.\n",
                 OneLine(argv[1]).c_str());
    return 2;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);  // --help or --version, on standard output
  } catch (const CLI::ParseError& e) {
    std::fprintf(stderr, "xamu-tool: %s\n", OneLine(e.what()).c_str());
    const CLI::App* command = app.get_subcommands().empty() ? &app : app.get_subcommands().front();
    std::fprintf(stderr, "Run '%s --help' for usage.\n",
                 command == &app ? "xamu-tool" : ("xamu-tool " + command->get_name()).c_str());
    return 2;
  }
  try {
    if (verbose) tool::PrintHttpExchanges();
    commands.Run();
    return std::fflush(stdout) == 0 ? 0 : 1;
  } catch (const tool::ExitCode& e) {
    std::fflush(stdout);
    return e.code;
  } catch (const tool::UsageError& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "xamu-tool: %s\nRun 'xamu-tool %s --help' for usage.\n",
                 OneLine(e.what()).c_str(), app.get_subcommands().front()->get_name().c_str());
    return 2;
  } catch (const xamu::Error& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "xamu-tool: %s: %s\n", e.Kind().c_str(), OneLine(e.what()).c_str());
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "xamu-tool: %s\n", OneLine(e.what()).c_str());
  }
  return 1;
}
