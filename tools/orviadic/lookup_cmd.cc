// orviadic lookup: the entry a word lands on, with its text.
#include <cstdio>
#include <memory>
#include <string>

#include "cli.h"
#include "dict/dict_id.h"
#include "dict/failure_text.h"
#include "did_you_mean.h"
#include "entry_text.h"
#include "open_dictionary.h"
#include "orviadic.h"
#include "terminal_text.h"

namespace orviadic {
namespace {

struct LookupArguments {
  std::string dictId, word;
  bool raw = false, nearest = false;
};

// The word's content in its own dictionary; when there is none, the cause.
std::string contentOf(HWORD* word, uint32_t dictId) {
  std::string text;
  const orvia::Status status = readContent(word, dictId, &text);
  if (!status.ok())
    throw CommandFailure{
        kExitError, "the entry " + toTerminal(dictId, wordOf(word)) + " has no readable content: " +
                        orvia::dict::describeCause(status) + " (see 'orviadic verify')"};
  return text;
}

// The user's note on the entry, from the dictionary's memory companion; empty when there
// is none (or no memory dictionary at all).
std::string noteOf(HWORD* word, uint32_t dictId) {
  std::string text;
  const uint32_t memId = orvia::dict::memDictId(dictId);
  if (dicIsExistContent(word, memId) == 0 || !readContent(word, memId, &text).ok()) return {};
  return text;
}

void lookup(const GlobalOptions& options, const LookupArguments& args) {
  const uint32_t dictId = parseDictId(args.dictId);
  OpenDictionary dict(dictId);
  const std::string word = toDictionaryWord(dictId, args.word);
  WordHandle found = dict.search(word);
  const bool exact = dicIsExistWord(dict.get(), word.c_str()) != 0;
  if (!exact && !args.nearest) reportMissingWord(dict, args.word, word, options);
  const std::string content = contentOf(found.get(), dictId);
  const std::string note = noteOf(found.get(), dictId);
  if (args.raw) {
    if (std::fwrite(content.data(), 1, content.size(), stdout) != content.size())
      throw CommandFailure{kExitError, "the entry could not be written out"};
    return;
  }
  if (options.json) {
    uint32_t number = 0;
    dicGetHandleInfo(found.get(), 1, &number);
    std::printf("%s\n", JsonObject()
                            .text("query", args.word)
                            .text("key", toTerminal(dictId, keyOf(found.get())))
                            .text("word", toTerminal(dictId, wordOf(found.get())))
                            .boolean("exact", exact)
                            .number("record", number)
                            .text("content", toTerminal(dictId, content))
                            .text("note", renderEntry(toTerminal(dictId, note), false))
                            .str()
                            .c_str());
    return;
  }
  if (!exact)
    std::fprintf(stderr, "orviadic: \"%s\" is not in the dictionary; the nearest entry:\n",
                 args.word.c_str());
  std::fputs(renderEntry(toTerminal(dictId, content), useColour()).c_str(), stdout);
  if (!note.empty())
    std::printf("%s\n%s", bold("Note:").c_str(),
                renderEntry(toTerminal(dictId, note), false).c_str());
}

}  // namespace

void addLookupCommand(CLI::App& app, const GlobalOptions& options) {
  auto args = std::make_shared<LookupArguments>();
  CLI::App* command = app.add_subcommand("lookup", "Show the entry a word lands on, with its text");
  command->add_option("DICTID", args->dictId, "Dictionary id, 0x00010101 or decimal")->required();
  command->add_option("WORD", args->word, "The word, in UTF-8")->required();
  command->add_flag("--raw", args->raw, "Print the text's bytes as the library returns them");
  command->add_flag("--nearest", args->nearest,
                    "When the word is missing, show the entry it lands on instead of the words "
                    "near it");
  command->callback([&options, args] { lookup(options, *args); });
}

}  // namespace orviadic
