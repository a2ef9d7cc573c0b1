// Conventions shared by every orviadic subcommand: exit statuses, the one-line error,
// JSON for scripts and colour only where a person reads it.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orviadic {

enum ExitStatus { kExitOk = 0, kExitNotFound = 1, kExitError = 2 };

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

// "0x00010101" or decimal; throws CommandFailure on anything else.
uint32_t parseDictId(const std::string& text);
std::string formatDictId(uint32_t id);

// A JSON object written field by field; strings are escaped, bytes above 0x7F are
// passed through as they are.
class JsonObject {
 public:
  // The top-level object carries the schema version; nested ones do not.
  enum Kind { kTopLevel, kNested };
  explicit JsonObject(Kind kind = kTopLevel) {
    if (kind == kTopLevel) fields_.emplace_back("schema", "1");
  }
  JsonObject& text(const std::string& name, const std::string& value);
  JsonObject& number(const std::string& name, uint64_t value);
  JsonObject& boolean(const std::string& name, bool value);
  JsonObject& raw(const std::string& name, const std::string& json);
  std::string str() const;

  static std::string quote(const std::string& value);

 private:
  std::vector<std::pair<std::string, std::string>> fields_;
};

// Sets the REG_SZ value name to folder under the default key, which it creates when
// missing; throws CommandFailure when it cannot.
void writePathValue(const std::string& name, const std::string& folder);

// Registration of each subcommand family on the app.
void addConfigCommands(CLI::App& app, const GlobalOptions& options);
void addVersionCommand(CLI::App& app, const GlobalOptions& options);
void addCompileCommand(CLI::App& app, const GlobalOptions& options);
void addInstallCommand(CLI::App& app, const GlobalOptions& options);
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

}  // namespace orviadic
