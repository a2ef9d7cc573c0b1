// What every orviadic subcommand's registration needs: the command-line parser, the
// shared conventions and JSON replies.
#pragma once

#include <CLI/CLI.hpp>

#include "conventions.h"
#include "json_reply.h"

namespace orviadic {

// Registration of each subcommand family on the app.
void addConfigCommands(CLI::App& app, const GlobalOptions& options);
void addVersionCommand(CLI::App& app, const GlobalOptions& options);
void addCompileCommand(CLI::App& app, const GlobalOptions& options);
void addInstallCommand(CLI::App& app, const GlobalOptions& options);
void addDictsCommands(CLI::App& app, const GlobalOptions& options);
void addSearchCommands(CLI::App& app, const GlobalOptions& options);
void addListCommand(CLI::App& app, const GlobalOptions& options);
void addBrowseCommand(CLI::App& app, const GlobalOptions& options);
void addLookupCommand(CLI::App& app, const GlobalOptions& options);
void addVerifyCommand(CLI::App& app, const GlobalOptions& options);
void addEditCommands(CLI::App& app, const GlobalOptions& options);
void addUserEntryCommands(CLI::App& app, const GlobalOptions& options);
void addNewWordCommands(CLI::App& app, const GlobalOptions& options);
void addExchangeCommands(CLI::App& app, const GlobalOptions& options);
void addMergeCommand(CLI::App& app, const GlobalOptions& options);
void addMatchCommand(CLI::App& app, const GlobalOptions& options);
void addServeCommand(CLI::App& app, const GlobalOptions& options);

}  // namespace orviadic
