// Conventions shared by every orviadic subcommand: exit statuses, the one-line error,
// JSON for scripts and colour only where a person reads it.
#pragma once

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace orviadic {

// kExitInterrupted is what shells report for a program ended by Ctrl-C.
enum ExitStatus { kExitOk = 0, kExitNotFound = 1, kExitError = 2, kExitInterrupted = 130 };

// Thrown by a subcommand to end with a status and a one-line reason on stderr.
struct CommandFailure {
  ExitStatus status;
  std::string reason;
};

struct GlobalOptions {
  bool json = false;
};

// True when stdout is a terminal and NO_COLOR is not set.
bool useColour();
std::string bold(const std::string& text);

// "0x00010101", eight hexadecimal digits ("00010101") or decimal; nothing for any other
// text, or a number beyond 32 bits.
std::optional<uint32_t> dictIdFromText(const std::string& text);
// The same; throws CommandFailure where dictIdFromText gives nothing.
uint32_t parseDictId(const std::string& text);
// The help of every command's dictionary argument.
inline constexpr char kDictHelp[] =
    "Dictionary: id (0x00010101, 00010101 or decimal), name or name prefix";
// A dictionary named on the command line: an id in any form parseDictId reads, else the
// name, or a prefix of the name, of exactly one installed dictionary. Throws
// CommandFailure for an unknown or ambiguous name.
uint32_t resolveDictId(const std::string& text);
std::string formatDictId(uint32_t id);

// A reply for scripts: the fields after the version of the reply's shape, raised when a
// field of the command's reply changes shape.
using Json = nlohmann::ordered_json;
Json jsonReply(const Json& fields = Json::object(), int schema = 1);
// The reply on one line of standard output; bytes that are not UTF-8 show as U+FFFD.
void printJson(const Json& reply);

// Sets the REG_SZ value name to folder under the default key, which it creates when
// missing; throws CommandFailure when it cannot.
void writePathValue(const std::string& name, const std::string& folder);

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
