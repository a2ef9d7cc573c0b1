// orviadic match: the words of a dictionary that match a word under a strategy.
#include <cstdio>
#include <memory>
#include <string>

#include "cli.h"
#include "match_request.h"
#include "open_dictionary.h"
#include "terminal_text.h"
#include "word_argument.h"

namespace orviadic {
namespace {

struct MatchArguments {
  std::string dictId, word, strategy = "exact";
  uint32_t max = 1000;
};

std::string strategyNames() {
  std::string names;
  for (const match::StrategyInfo& info : match::kStrategies)
    names += std::string(names.empty() ? "" : ", ") + info.name;
  return names;
}

void matchCommand(const GlobalOptions& options, const MatchArguments& args) {
  const std::optional<match::Strategy> strategy = match::strategyNamed(args.strategy);
  if (!strategy)
    throw CommandFailure{kExitError,
                         "no strategy " + args.strategy + "; there are " + strategyNames()};
  if (args.max == 0) throw CommandFailure{kExitError, "--max takes 1 or more"};
  if (args.word.empty()) throw CommandFailure{kExitError, "the word is empty"};
  const uint32_t dictId = resolveDictId(args.dictId);
  OpenDictionary dict(dictId);
  const match::MatchResult result =
      match::matchWords(dict.get(), matchRequestFor(dictId, *strategy, args.word, args.max));
  if (!result.problem.empty()) throw CommandFailure{kExitError, result.problem};
  if (options.json) {
    Json words = Json::array();
    for (const match::MatchedWord& found : result.words)
      words.push_back(toTerminal(dictId, found.word));
    printJson(jsonReply({{"query", args.word},
                         {"strategy", args.strategy},
                         {"words", words},
                         {"capped", result.capped}}));
  } else {
    for (const match::MatchedWord& found : result.words)
      std::printf("%s\n", toTerminal(dictId, found.word).c_str());
  }
  if (result.capped)
    std::fprintf(stderr, "orviadic: more words match; the first %u are shown (--max)\n", args.max);
  if (result.words.empty())
    throw CommandFailure{kExitNotFound, "no word matches " + printable(args.word)};
}

}  // namespace

void addMatchCommand(CLI::App& app, const GlobalOptions& options) {
  auto args = std::make_shared<MatchArguments>();
  CLI::App* command = app.add_subcommand("match", "List the words that match a word");
  command->add_option("DICTID", args->dictId, kDictHelp)->required();
  command->add_option("WORD", args->word, "The word or pattern, in UTF-8")->required();
  command->add_option("--strategy", args->strategy,
                      "How words match: " + strategyNames() + " (default exact)");
  command->add_option("--max", args->max, "At most this many words (default 1000)");
  command->callback([&options, args] { matchCommand(options, *args); });
}

}  // namespace orviadic
