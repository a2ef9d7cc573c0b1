// What the match module is asked for a word typed in UTF-8, by the match command and the
// server's MATCH alike.
#pragma once

#include <cstdint>
#include <string>

#include "match/match_words.h"

namespace orviadic {

// The request for word in the dictionary dictId: a pattern in the dictionary's code page
// as typed, any other word folded as the dictionary's keys are. Throws CommandFailure
// when the code page cannot hold the word.
match::MatchRequest matchRequestFor(uint32_t dictId, match::Strategy strategy,
                                    const std::string& word, uint32_t max);

}  // namespace orviadic
