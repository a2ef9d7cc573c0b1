#include "did_you_mean.h"

#include <cstdio>

#include "json_reply.h"
#include "lang/lang_ops.h"
#include "match/match_words.h"
#include "terminal_text.h"
#include "text/key_fold.h"
#include "word_argument.h"

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
    // The shape of lookup's reply, with no entry and the suggestions.
    Json words = Json::array();
    for (const match::MatchedWord& word : near) words.push_back(toTerminal(dict.id(), word.word));
    printJson(jsonReply(
        {{"query", typed}, {"found", false}, {"entries", Json::array()}, {"suggestions", words}},
        2));
  } else {
    for (const match::MatchedWord& word : near)
      std::printf("%s\n", toTerminal(dict.id(), word.word).c_str());
  }
  throw CommandFailure{
      kExitNotFound,
      "\"" + printable(typed) + "\" is not in the dictionary" +
          (near.empty() ? "; no word is close to it" : "; did you mean one of the words above?")};
}

}  // namespace orviadic
