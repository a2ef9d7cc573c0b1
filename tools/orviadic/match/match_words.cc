#include "match/match_words.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_set>

#include "match/folded_key.h"
#include "match/key_test.h"
#include "match/key_windows.h"

namespace orviadic::match {
namespace {

// Prefix and exact matches stand in one run of the index: the single-byte collation orders
// keys by their letters and spaces first, so every key that begins with the word lies
// among the keys whose significant part begins with the word's. Keys of other languages
// are taken to be ordered by their bytes.
class Run {
 public:
  Run(const std::string& folded, bool asciiKeys)
      : asciiKeys_(asciiKeys), part_(asciiKeys ? significantPart(folded) : folded) {}
  // Below 0 for a key before the run, 0 for one in it, above 0 for one after it.
  int place(std::string_view foldedKey) const {
    const std::string significant = asciiKeys_ ? significantPart(foldedKey) : std::string();
    const std::string_view part = asciiKeys_ ? std::string_view(significant) : foldedKey;
    return part.substr(0, part_.size()).compare(part_);
  }

 private:
  bool asciiKeys_;
  std::string part_;
};

// The record's word through a list window of one entry; empty when it cannot be read.
std::string wordOfRecord(HDICT* dict, uint32_t record) {
  std::vector<char> buffer(1100);
  uint32_t entries = 0;
  if (dicGetWordList(dict, record, 1, buffer.data(), uint32_t(buffer.size()), &entries) != 1)
    return std::string();
  return std::string(buffer.data() + 1);
}

// Collects matched records as distinct words, up to the request's max.
class Collector {
 public:
  Collector(HDICT* dict, uint32_t max, MatchResult* result)
      : dict_(dict), max_(max), result_(result) {}
  // False once a word past the max turned up: the pass can stop.
  bool add(uint32_t record) {
    std::string word = wordOfRecord(dict_, record);
    if (word.empty() || seen_.count(word) != 0) return true;
    if (result_->words.size() == max_) {
      result_->capped = true;
      return false;
    }
    seen_.insert(word);
    result_->words.push_back({record, std::move(word)});
    return true;
  }

 private:
  HDICT* dict_;
  uint32_t max_;
  MatchResult* result_;
  std::unordered_set<std::string> seen_;
};

// The record the library's search lands on for word; false for an empty dictionary.
bool landingRecord(HDICT* dict, const std::string& word, uint32_t* record) {
  std::unique_ptr<HWORD, int32_t (*)(HWORD*)> found(dicSearchWord(dict, word.c_str()),
                                                    dicFreeHWORD);
  return found && dicGetHandleInfo(found.get(), 1, record) != 0;
}

// The first record of the run, walking back a window at a time from landing, which the
// library's search puts in the run or next to it.
uint32_t runStart(HDICT* dict, uint32_t landing, const Run& run, bool asciiKeys) {
  constexpr uint32_t kBackStep = 64;
  std::string folded;
  std::vector<std::string> keys;
  uint32_t start = landing;
  while (start > 0) {
    const uint32_t from = start > kBackStep ? start - kBackStep : 0;
    KeyWindows window(dict, from, start - from);
    keys.clear();
    uint32_t record = 0;
    std::string_view key;
    while (window.next(&record, &key)) keys.emplace_back(key);
    if (keys.size() != start - from) return start;
    for (size_t i = keys.size(); i-- > 0; --start) {
      foldKey(keys[i], asciiKeys, &folded);
      if (run.place(folded) < 0) return start;
    }
  }
  return start;
}

void walkRun(HDICT* dict, const std::string& folded, const MatchRequest& request,
             Collector* collector) {
  uint32_t landing = 0;
  if (!landingRecord(dict, request.word, &landing)) return;
  const Run run(folded, request.asciiKeys);
  const KeyTest test(request.strategy, folded);
  KeyWindows keys(dict, runStart(dict, landing, run, request.asciiKeys), recordCount(dict));
  uint32_t record = 0;
  std::string_view key;
  std::string foldedKey;
  while (keys.next(&record, &key)) {
    foldKey(key, request.asciiKeys, &foldedKey);
    const int place = run.place(foldedKey);
    if (place > 0) break;
    if (place == 0 && test.matches(foldedKey) && !collector->add(record)) break;
  }
}

void scanAll(HDICT* dict, const KeyTest& test, bool asciiKeys, Collector* collector) {
  KeyWindows keys(dict, 0, recordCount(dict));
  uint32_t record = 0;
  std::string_view key;
  std::string folded;
  while (keys.next(&record, &key)) {
    foldKey(key, asciiKeys, &folded);
    if (test.matches(folded) && !collector->add(record)) break;
  }
}

}  // namespace

MatchResult matchWords(HDICT* dict, const MatchRequest& request) {
  MatchResult result;
  if (request.max == 0) {
    result.problem = "the most words to give must be at least 1";
    return result;
  }
  Collector collector(dict, request.max, &result);
  std::string folded;
  foldKey(request.word, request.asciiKeys, &folded);
  switch (request.strategy) {
    case Strategy::kNearest: {
      uint32_t landing = 0;
      if (landingRecord(dict, request.word, &landing)) collector.add(landing);
      break;
    }
    case Strategy::kExact:
    case Strategy::kPrefix:
      walkRun(dict, folded, request, &collector);
      break;
    default: {
      const KeyTest test(request.strategy,
                         request.strategy == Strategy::kRegexp ? request.word : folded);
      result.problem = test.problem();
      if (result.problem.empty()) scanAll(dict, test, request.asciiKeys, &collector);
    }
  }
  return result;
}

std::vector<MatchedWord> suggestWords(HDICT* dict, const std::string& word, bool asciiKeys,
                                      uint32_t limit) {
  std::string folded, foldedKey;
  foldKey(word, asciiKeys, &folded);
  const KeyTest lev(Strategy::kLev, folded);
  std::vector<std::pair<size_t, uint32_t>> near;  // distance, record
  KeyWindows keys(dict, 0, recordCount(dict));
  uint32_t record = 0;
  std::string_view key;
  while (keys.next(&record, &key)) {
    foldKey(key, asciiKeys, &foldedKey);
    const size_t edits = lev.distance(foldedKey);
    if (edits <= lev.editLimit()) near.emplace_back(edits, record);
  }
  std::stable_sort(near.begin(), near.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  MatchResult result;
  Collector collector(dict, limit, &result);
  for (const auto& candidate : near)
    if (!collector.add(candidate.second)) break;
  if (result.words.empty()) result = matchWords(dict, {Strategy::kSoundex, word, asciiKeys, limit});
  return std::move(result.words);
}

}  // namespace orviadic::match
