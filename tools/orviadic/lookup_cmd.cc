// orviadic lookup: the entry a word lands on, with its text.
#include <cstdio>
#include <memory>
#include <string>

#include "cli.h"
#include "entry_text.h"
#include "open_dictionary.h"
#include "orviadic.h"
#include "terminal_text.h"

namespace orviadic {
namespace {

struct LookupArguments {
  std::string dictId, word;
  bool raw = false;
};

// The word's content in its own dictionary, as the library hands it out.
std::string contentOf(HWORD* word, uint32_t dictId) {
  const uint32_t size = dicGetContentSize(word, dictId);
  if (size == 0) return std::string();
  std::string text(size_t(size) + 1, '\0');
  const uint32_t length = dicGetContent(word, dictId, text.data(), size + 1);
  text.resize(length);
  return text;
}

void lookup(const GlobalOptions& options, const LookupArguments& args) {
  const uint32_t dictId = parseDictId(args.dictId);
  OpenDictionary dict(dictId);
  const std::string word = toDictionaryWord(dictId, args.word);
  WordHandle found = dict.search(word);
  const bool exact = dicIsExistWord(dict.get(), word.c_str()) != 0;
  const std::string content = contentOf(found.get(), dictId);
  if (content.empty())
    throw CommandFailure{kExitError, "the entry " + toTerminal(dictId, wordOf(found.get())) +
                                         " has no readable content (see 'orviadic verify')"};
  if (args.raw) {
    std::fwrite(content.data(), 1, content.size(), stdout);
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
                            .str()
                            .c_str());
    return;
  }
  if (!exact)
    std::fprintf(stderr, "orviadic: \"%s\" is not in the dictionary; the nearest entry:\n",
                 args.word.c_str());
  std::fputs(renderEntry(toTerminal(dictId, content), useColour()).c_str(), stdout);
}

}  // namespace

void addLookupCommand(CLI::App& app, const GlobalOptions& options) {
  auto args = std::make_shared<LookupArguments>();
  CLI::App* command = app.add_subcommand("lookup", "Show the entry a word lands on, with its text");
  command->add_option("DICTID", args->dictId, "Dictionary id, 0x00010101 or decimal")->required();
  command->add_option("WORD", args->word, "The word, in UTF-8")->required();
  command->add_flag("--raw", args->raw, "Print the text's bytes as the library returns them");
  command->callback([&options, args] { lookup(options, *args); });
}

}  // namespace orviadic
