#include "did_you_mean.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "lang/lang_ops.h"
#include "match/match_words.h"
#include "quoted_word.h"
#include "terminal_text.h"
#include "text/key_fold.h"

namespace orviadic {
namespace {

// A screenful of suggestions is more than anyone reads.
constexpr uint32_t kSuggestions = 8;

}  // namespace

void reportMissingWord(const OpenDictionary& dict, const std::string& typed,
                       const std::string& dictionaryWord, const GlobalOptions& options) {
  const bool asciiKeys = orvia::text::keysFoldToAscii(orvia::lang::languageOf(dict.id()));
  const std::vector<match::MatchedWord> near =
      match::suggestWords(dict.get(), dictionaryWord, asciiKeys, kSuggestions);
  if (options.json) {
    nlohmann::json words = nlohmann::json::array();
    for (const match::MatchedWord& word : near) words.push_back(toTerminal(dict.id(), word.word));
    const nlohmann::json out = {
        {"schema", 1}, {"query", typed}, {"found", false}, {"suggestions", words}};
    std::printf("%s\n", out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
  } else {
    for (const match::MatchedWord& word : near)
      std::printf("%s\n", toTerminal(dict.id(), word.word).c_str());
  }
  throw CommandFailure{
      kExitNotFound,
      "\"" + quotedWord(typed) + "\" is not in the dictionary" +
          (near.empty() ? "; no word is close to it" : "; did you mean one of the words above?")};
}

}  // namespace orviadic
