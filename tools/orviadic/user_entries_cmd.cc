// orviadic notes / records: the user's own notes and words in a dictionary, which is
// what an export of the user's words carries.
#include <cstdio>
#include <memory>
#include <string>

#include "cli.h"
#include "dict/dict_id.h"
#include "open_dictionary.h"
#include "orviadic.h"
#include "terminal_text.h"

namespace orviadic {
namespace {

std::string firstLine(const std::string& text) {
  return text.substr(0, text.find_first_of("\r\n"));
}

// Each entry of a companion dictionary: its key and the first line of its text.
void listCompanion(const GlobalOptions& options, uint32_t dictId, uint32_t companionId,
                   const char* what) {
  OpenDictionary companion(companionId);
  const uint32_t count = dicGetWordCount(companion.get());
  Json entries = Json::array();
  for (uint32_t n = 0; n < count; ++n) {
    WordHandle word(dicSearchRecord(companion.get(), n), dicFreeHWORD);
    if (!word) continue;
    std::string text;
    const orvia::Status read = readContent(word.get(), companionId, &text);
    const std::string key = toTerminal(dictId, keyOf(word.get()));
    const std::string line = read.ok() ? toTerminal(dictId, firstLine(text)) : "(unreadable)";
    if (options.json) {
      entries.push_back(Json{{"word", key}, {"text", line}});
    } else {
      std::printf("%s  %s\n", bold(key).c_str(), line.c_str());
    }
  }
  if (options.json)
    printJson(jsonReply({{"dictionary", formatDictId(dictId)}, {"count", count}, {what, entries}}));
  if (count == 0) throw CommandFailure{kExitNotFound, std::string("no ") + what};
}

}  // namespace

void addUserEntryCommands(CLI::App& app, const GlobalOptions& options) {
  auto dictId = std::make_shared<std::string>();
  CLI::App* notes = app.add_subcommand("notes", "List the user's notes in a dictionary");
  notes->add_option("DICTID", *dictId, kDictHelp)->required();
  notes->callback([&options, dictId] {
    const uint32_t id = resolveDictId(*dictId);
    listCompanion(options, id, orvia::dict::memDictId(id), "notes");
  });
  CLI::App* records = app.add_subcommand("records", "List the words the user added");
  records->add_option("DICTID", *dictId, kDictHelp)->required();
  records->callback([&options, dictId] {
    const uint32_t id = resolveDictId(*dictId);
    listCompanion(options, id, orvia::dict::recordDictId(id), "records");
  });
}

}  // namespace orviadic
