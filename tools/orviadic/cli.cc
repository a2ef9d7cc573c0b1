#include "conventions.h"
#include "json_reply.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "dict/dict_id.h"

namespace orviadic {

bool useColour() {
  const char* noColour = std::getenv("NO_COLOR");
  return isatty(STDOUT_FILENO) && (noColour == nullptr || *noColour == '\0');
}

std::string bold(const std::string& text) {
  return useColour() ? "\033[1m" + text + "\033[0m" : text;
}

std::optional<uint32_t> dictIdFromText(const std::string& text) {
  const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  // Eight digits are the form file and registry value names use, so they are read as
  // hexadecimal even when no letter is among them.
  const bool hex = prefixed || text.size() == 8;
  const std::string digits = prefixed ? text.substr(2) : text;
  if (digits.empty() || digits.size() > (hex ? 8u : 10u)) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    int digit = c >= '0' && c <= '9'          ? c - '0'
                : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                              : -1;
    if (digit < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + uint64_t(digit);
  }
  if (value > 0xFFFFFFFFull) return std::nullopt;
  return uint32_t(value);
}

uint32_t parseDictId(const std::string& text) {
  if (std::optional<uint32_t> id = dictIdFromText(text)) return *id;
  throw CommandFailure{kExitError, "not a dictionary id: " + text};
}

std::string formatDictId(uint32_t id) {
  char digits[9];
  orvia::dict::formatDictIdHex(id, digits);
  return std::string("0x") + digits;
}

std::string formatLibraryVersion(uint32_t packed) {
  return std::to_string(packed >> 24) + "." + std::to_string((packed >> 16) & 0xFF) + "." +
         std::to_string((packed >> 8) & 0xFF) + "." + std::to_string(packed & 0xFF);
}

Json jsonReply(const Json& fields, int schema) {
  Json reply{{"schema", schema}};
  for (const auto& [name, value] : fields.items()) reply[name] = value;
  return reply;
}

void printJson(const Json& reply) {
  std::printf("%s\n", reply.dump(-1, ' ', false, Json::error_handler_t::replace).c_str());
}

}  // namespace orviadic
