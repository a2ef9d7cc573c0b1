// orviadic: looks words up in installed dictionaries and manages their configuration.
#include <cstdio>
#include <exception>

#include "cli.h"

namespace {

int run(int argc, char** argv) {
  using namespace orviadic;
  CLI::App app{"orviadic: look words up in installed dictionaries"};
  app.require_subcommand(1);
  GlobalOptions options;
  app.fallthrough();
  app.add_flag("--json", options.json, "Print one JSON object for scripts");
  addConfigCommands(app, options);
  addVersionCommand(app, options);
  addLookupCommand(app, options);
  addSearchCommands(app, options);
  addListCommand(app, options);
  addBrowseCommand(app, options);
  addCompileCommand(app, options);
  addInstallCommand(app, options);
  addVerifyCommand(app, options);
  addEditCommands(app, options);
  addUserEntryCommands(app, options);
  addNewWordCommands(app, options);
  addExchangeCommands(app, options);
  addMergeCommand(app, options);
  addMatchCommand(app, options);
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
    std::fprintf(stderr, "orviadic: %s\n", failure.reason.c_str());
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
