// Conventions shared by every orviadic subcommand that need neither the command-line
// parser nor JSON: exit statuses, the one-line error, colour only where a person reads it,
// and dictionary ids. Helpers include this rather than cli.h, whose two header-only
// libraries are most of the cost of compiling (and analysing) a file.
#pragma once

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
// A version as dicGetVersion packs it, one byte a part: "2.0.1.15".
std::string formatLibraryVersion(uint32_t packed);

// Sets the REG_SZ value name to folder under the default key, which it creates when
// missing; throws CommandFailure when it cannot.
void writePathValue(const std::string& name, const std::string& folder);

}  // namespace orviadic
