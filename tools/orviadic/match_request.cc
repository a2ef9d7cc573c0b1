#include "match_request.h"

#include "lang/lang_ops.h"
#include "terminal_text.h"
#include "text/key_fold.h"

namespace orviadic {

match::MatchRequest matchRequestFor(uint32_t dictId, match::Strategy strategy,
                                    const std::string& word, uint32_t max) {
  match::MatchRequest request;
  request.strategy = strategy;
  // A pattern keeps its characters: folding would change what it means.
  request.word = strategy == match::Strategy::kRegexp
                     ? toCodePage(dictId, word, "regular expression")
                     : toDictionaryWord(dictId, word);
  request.asciiKeys = orvia::text::keysFoldToAscii(orvia::lang::languageOf(dictId));
  request.max = max;
  return request;
}

}  // namespace orviadic
