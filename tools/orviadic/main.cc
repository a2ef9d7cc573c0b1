// orviadic: looks words up in installed dictionaries and manages their configuration.
#include <cstdio>
#include <exception>
#include <string>

#include "cli.h"

namespace {

using AddCommandsFn = void (*)(CLI::App&, const orviadic::GlobalOptions&);

// Each family of subcommands with the names it registers. Building the parser for every
// subcommand costs more than most commands' own work, so a command line that names one
// builds only its family; any other (help, a mistyped name) builds them all.
struct CommandFamily {
  const char* names;  // separated by spaces
  AddCommandsFn add;
};

constexpr CommandFamily kFamilies[] = {
    {"config", orviadic::addConfigCommands},
    {"version", orviadic::addVersionCommand},
    {"lookup", orviadic::addLookupCommand},
    {"search exists", orviadic::addSearchCommands},
    {"list", orviadic::addListCommand},
    {"browse", orviadic::addBrowseCommand},
    {"compile", orviadic::addCompileCommand},
    {"install", orviadic::addInstallCommand},
    {"dicts uninstall", orviadic::addDictsCommands},
    {"verify", orviadic::addVerifyCommand},
    {"note add remove", orviadic::addEditCommands},
    {"notes records", orviadic::addUserEntryCommands},
    {"newword", orviadic::addNewWordCommands},
    {"export import exchange", orviadic::addExchangeCommands},
    {"merge", orviadic::addMergeCommand},
    {"match", orviadic::addMatchCommand},
    {"serve", orviadic::addServeCommand},
};

// The first argument that is not an option: the subcommand's name, if any.
std::string commandNamed(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (argv[i][0] != '-') return argv[i];
  return std::string();
}

void addCommands(CLI::App& app, const orviadic::GlobalOptions& options,
                 const std::string& command) {
  for (const CommandFamily& family : kFamilies) {
    const std::string names = std::string(" ") + family.names + " ";
    if (!command.empty() && names.find(" " + command + " ") != std::string::npos) {
      family.add(app, options);
      return;
    }
  }
  for (const CommandFamily& family : kFamilies) family.add(app, options);
}

int run(int argc, char** argv) {
  using namespace orviadic;
  CLI::App app{"orviadic: look words up in installed dictionaries"};
  app.require_subcommand(1);
  GlobalOptions options;
  app.fallthrough();
  app.add_flag("--json", options.json, "Print one JSON object for scripts");
  addCommands(app, options, commandNamed(argc, argv));
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForAllHelp& help) {
    return app.exit(help);
  } catch (const CLI::ParseError& error) {
    std::fprintf(stderr, "orviadic: %s\n", error.what());
    return kExitError;
  } catch (const CommandFailure& failure) {
    // A command that has said why already ends with its status alone.
    if (!failure.reason.empty()) std::fprintf(stderr, "orviadic: %s\n", failure.reason.c_str());
    return failure.status;
  }
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  // Whatever a command did not expect (memory running out, above all) ends the program
  // with a message instead of an abort.
  try {
    return run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "orviadic: %s\n", error.what());
  }
  return orviadic::kExitError;
}
