// orviadic search / exists: where a word lands in a dictionary, and whether it is there.
#include <cstdio>
#include <memory>
#include <string>

#include "cli.h"
#include "open_dictionary.h"
#include "orviadic.h"
#include "terminal_text.h"
#include "word_argument.h"
#include "word_run.h"

namespace orviadic {
namespace {

struct SearchArguments {
  std::string dictId, word;
  bool caseExact = false;
};

void search(const GlobalOptions& options, const SearchArguments& args) {
  uint32_t dictId = resolveDictId(args.dictId);
  checkedWord(args.word);
  OpenDictionary dict(dictId);
  std::string word = toDictionaryWord(dictId, args.word);
  WordHandle found = dict.search(word);
  bool exists = dicIsExistWord(dict.get(), word.c_str()) != 0;
  uint32_t number = 0, level = 0;
  dicGetHandleInfo(found.get(), 1, &number);
  dicGetHandleInfo(found.get(), 4, &level);
  std::string key = keyOf(found.get());
  std::string shown = wordOf(found.get());
  if (options.json) {
    printJson(jsonReply({{"query", args.word},
                         {"key", toTerminal(dictId, key)},
                         {"word", toTerminal(dictId, shown)},
                         {"record", number},
                         {"level", level},
                         {"exists", exists}}));
  } else {
    std::printf("%s\n  key %s, record %u, level %u\n  %s\n",
                bold(toTerminal(dictId, shown)).c_str(), toTerminal(dictId, key).c_str(), number,
                level,
                exists ? "the word is in the dictionary"
                       : "nearest entry; the word itself is not in the dictionary");
  }
  if (!exists)
    throw CommandFailure{kExitNotFound, "not in the dictionary: " + printable(args.word)};
}

// Found as lookup finds it: a headword equal to the word, ignoring case unless asked.
void exists(const GlobalOptions& options, const SearchArguments& args) {
  uint32_t dictId = resolveDictId(args.dictId);
  checkedWord(args.word);
  OpenDictionary dict(dictId);
  const bool found = runHolds(findRun(dict, args.word), args.caseExact);
  if (options.json)
    printJson(jsonReply({{"query", args.word}, {"exists", found}}));
  else
    std::printf("%s\n", found ? "yes" : "no");
  if (!found) throw CommandFailure{kExitNotFound, "not in the dictionary: " + printable(args.word)};
}

void addWordArguments(CLI::App* command, SearchArguments* args) {
  command->add_option("DICTID", args->dictId, kDictHelp)->required();
  command->add_option("WORD", args->word, "The word, in UTF-8")->required();
}

}  // namespace

void addSearchCommands(CLI::App& app, const GlobalOptions& options) {
  auto args = std::make_shared<SearchArguments>();
  CLI::App* searchCommand = app.add_subcommand("search", "Show the entry a word lands on");
  addWordArguments(searchCommand, args.get());
  searchCommand->callback([&options, args] { search(options, *args); });
  CLI::App* existsCommand =
      app.add_subcommand("exists", "Tell whether a word is in a dictionary, whatever its case");
  addWordArguments(existsCommand, args.get());
  existsCommand->add_flag("--case", args->caseExact, "Only with the word's own case");
  existsCommand->callback([&options, args] { exists(options, *args); });
}

}  // namespace orviadic
