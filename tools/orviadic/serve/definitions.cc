#include "serve/definitions.h"

#include <algorithm>
#include <set>

#include "conventions.h"
#include "match_request.h"
#include "terminal_text.h"
#include "word_argument.h"
#include "word_run.h"

namespace orviadic::serve {
namespace {

// The entries of word's run that DEFINE answers with; none when the word cannot be a
// dictionary's word.
std::vector<RunEntry> definingEntries(const OpenDictionary& dict, const std::string& word) {
  std::vector<RunEntry> entries;
  try {
    const WordRun run = findRun(dict, checkedWord(word));
    std::copy_if(run.entries.begin(), run.entries.end(), std::back_inserter(entries),
                 [](const RunEntry& e) { return e.match != Match::kAccent; });
  } catch (const CommandFailure&) {
  }
  return entries;
}

std::string contentText(const OpenDictionary& dict, uint32_t record) {
  WordHandle handle(dicSearchRecord(dict.get(), record), dicFreeHWORD);
  std::string content;
  if (!handle || !readContent(handle.get(), dict.id(), &content).ok()) return std::string();
  return content;
}

void addOnce(std::vector<std::string>* words, std::string word) {
  if (std::find(words->begin(), words->end(), word) == words->end())
    words->push_back(std::move(word));
}

}  // namespace

std::vector<Definition> defineWord(const OpenDictionary& dict, const std::string& word) {
  std::vector<Definition> definitions;
  std::set<std::string> texts;
  for (const RunEntry& e : definingEntries(dict, word)) {
    const std::string content = contentText(dict, e.record);
    if (!texts.insert(sharedText(content, e.headword)).second) continue;
    definitions.push_back({toTerminal(dict.id(), e.headword),
                           content.empty() ? "(the entry cannot be read)\n"
                                           : readableEntry(dict.id(), content, false)});
  }
  return definitions;
}

Matches matchWord(const OpenDictionary& dict, match::Strategy strategy, const std::string& word,
                  uint32_t max) {
  Matches matches;
  if (strategy == match::Strategy::kExact) {
    for (const RunEntry& e : definingEntries(dict, word)) {
      if (matches.words.size() == max) break;
      addOnce(&matches.words, toTerminal(dict.id(), e.headword));
    }
    return matches;
  }
  match::MatchRequest request;
  try {
    request = matchRequestFor(dict.id(), strategy, checkedWord(word), max);
  } catch (const CommandFailure&) {
    return matches;
  }
  match::MatchResult result = match::matchWords(dict.get(), request);
  matches.problem = std::move(result.problem);
  for (const match::MatchedWord& found : result.words)
    matches.words.push_back(toTerminal(dict.id(), found.word));
  return matches;
}

}  // namespace orviadic::serve
