// The match strategies over all of GCIDE, read through the exports, against a reference
// written here: a plain scan over every record of the compiled index, with its own fold,
// its own edit distance and its own Soundex. Random queries from the dictionary's own
// keys, one table row per strategy. ORVIADIC_LONG_TESTS=1 runs 1,000 queries of every
// strategy; the ordinary run takes fewer where a query scans every key.
#include <regex.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <set>

#include "match/match_words.h"
#include "support/case_table.h"
#include "support/compiled_gcide.h"
#include "support/compiled_index_checks.h"
#include "text/ascii_fold.h"

namespace orvia::testing {
namespace {

using orviadic::match::Strategy;

struct Entry {
  std::string folded, word;
};

std::string referenceFold(std::string key) {
  const size_t at = key.find_last_of('@');
  if (at != std::string::npos && key.find_first_not_of("0123456789", at + 1) == std::string::npos)
    key.resize(at);
  std::string ascii;
  if (text::foldToAscii(key, &ascii)) key = ascii;
  std::transform(key.begin(), key.end(), key.begin(),
                 [](unsigned char c) { return c < 0x80 ? char(std::tolower(c)) : char(c); });
  return key;
}

size_t levenshtein(const std::string& a, const std::string& b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i)
    for (size_t j = 1; j <= b.size(); ++j)
      d[i][j] = std::min(
          {d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
  return d[a.size()][b.size()];
}

// Soundex by its textbook steps: letters only, first kept, the rest coded, adjacent equal
// codes merged across h and w, vowels dropped, padded to four.
std::string soundex(const std::string& word) {
  std::string letters;
  for (char c : word)
    if (std::isalpha(static_cast<unsigned char>(c))) letters += char(std::toupper(c));
  if (letters.empty()) return "";
  auto code = [](char c) -> char {
    for (const char* group : {"BFPV1", "CGJKQSXZ2", "DT3", "L4", "MN5", "R6"})
      if (std::string(group).find(c) != std::string::npos) return std::string(group).back();
    return c == 'H' || c == 'W' ? 'h' : '0';
  };
  std::string coded(1, code(letters[0]));
  for (size_t i = 1; i < letters.size(); ++i)
    if (code(letters[i]) != 'h') coded += code(letters[i]);
  std::string out(1, letters[0]);
  for (size_t i = 1; i < coded.size() && out.size() < 4; ++i)
    if (coded[i] != coded[i - 1] && coded[i] != '0' && coded[i] != 'h') out += coded[i];
  return out + std::string(4 - out.size(), '0');
}

bool referenceMatches(Strategy strategy, const std::string& q, const std::string& key,
                      const regex_t* pattern) {
  switch (strategy) {
    case Strategy::kExact:
      return key == q;
    case Strategy::kPrefix:
      return key.compare(0, q.size(), q) == 0;
    case Strategy::kSubstring:
      return key.find(q) != std::string::npos;
    case Strategy::kSuffix:
      return key.size() >= q.size() && key.compare(key.size() - q.size(), q.size(), q) == 0;
    case Strategy::kRegexp:
      return regexec(pattern, key.c_str(), 0, nullptr, 0) == 0;
    case Strategy::kLev: {
      const size_t limit = q.size() >= 6 ? 2 : 1;
      const size_t gap = key.size() > q.size() ? key.size() - q.size() : q.size() - key.size();
      return gap <= limit && key != q && levenshtein(q, key) <= limit;
    }
    case Strategy::kSoundex:
      return !soundex(q).empty() && soundex(key) == soundex(q);
    case Strategy::kNearest:
      break;
  }
  return false;
}

class GcideMatch : public CompiledGcide {
 protected:
  static void SetUpTestSuite() {
    if (!compileGcide(compile::EntryEncoding::kStored)) return;
    const std::vector<uint8_t>& records = compiled_.index.records;
    dict::IndexRecordView view;
    for (size_t at = 0; at < records.size(); at += view.recordLength) {
      if (!dict::parseIndexRecord(records.data() + at, uint32_t(records.size() - at), &view)) break;
      entries_.push_back({referenceFold(view.key()), view.word()});
    }
  }

  // The reference: every record in key order, each word once, at most max.
  static std::vector<std::string> reference(Strategy strategy, const std::string& word,
                                            uint32_t max) {
    const std::string q = strategy == Strategy::kRegexp ? word : referenceFold(word);
    regex_t pattern;
    if (strategy == Strategy::kRegexp) {
      EXPECT_EQ(regcomp(&pattern, q.c_str(), REG_EXTENDED | REG_ICASE | REG_NOSUB), 0) << q;
    }
    std::vector<std::string> out;
    std::set<std::string> seen;
    for (const Entry& e : entries_) {
      if (!referenceMatches(strategy, q, e.folded, &pattern) || !seen.insert(e.word).second)
        continue;
      if (out.size() == max) break;
      out.push_back(e.word);
    }
    if (strategy == Strategy::kRegexp) regfree(&pattern);
    return out;
  }

  std::vector<std::string> matched(Strategy strategy, const std::string& word, uint32_t max) {
    const orviadic::match::MatchResult result =
        orviadic::match::matchWords(dict_, {strategy, word, true, max});
    EXPECT_EQ(result.problem, "");
    std::vector<std::string> out;
    for (const auto& w : result.words) out.push_back(w.word);
    return out;
  }

  static inline std::vector<Entry> entries_;
};

// A query for strategy made from a random key: a slice of it, a misspelling or a pattern,
// in random case.
std::string queryFor(const std::string& how, const std::string& key, std::mt19937* random) {
  auto pick = [random](size_t n) { return size_t((*random)() % n); };
  const size_t length = std::min<size_t>(key.size(), 2 + pick(3));
  std::string q;
  if (how == "head") q = key.substr(0, length);
  if (how == "slice") q = key.substr(pick(key.size() - length + 1), length);
  if (how == "tail") q = key.substr(key.size() - length);
  if (how == "whole") q = key;
  if (how == "pattern") q = "^" + key.substr(0, 1) + "[a-z]*" + key.substr(key.size() - 1) + "$";
  if (how == "edit") {  // a letter put in, dropped, or put in another's place
    const size_t at = pick(key.size() + 1), kind = pick(3);
    q = std::string(key).replace(at, kind == 0 ? 0 : 1,
                                 kind == 1 ? "" : std::string(1, char('a' + pick(26))));
  }
  for (char& c : q)
    if (pick(2) == 0) c = char(std::toupper(static_cast<unsigned char>(c)));
  return q;
}

TEST_F(GcideMatch, RandomQueriesGiveTheReferenceWords) {
  const bool longRun = std::getenv("ORVIADIC_LONG_TESTS") != nullptr;
  std::mt19937 random(23);
  for (const CaseRow& row : caseTable("tools/match_random.txt")) {
    SCOPED_TRACE(row.line);
    const Strategy strategy = *orviadic::match::strategyNamed(row.fields[0]);
    const int64_t queries = row.fields[1] == "given" ? 1 : longRun ? 1000 : row.number(2);
    const uint32_t max = uint32_t(row.number(3));
    for (int64_t i = 0; i < queries; ++i) {
      const std::string& key = entries_[random() % entries_.size()].folded;
      if (key.empty() || key.find_first_of("[]()*+?{}|^$.\\") != std::string::npos) continue;
      const std::string q =
          row.fields[1] == "given" ? *row.bytes(4) : queryFor(row.fields[1], key, &random);
      ASSERT_EQ(matched(strategy, q, max), reference(strategy, q, max)) << q;
    }
  }
}

}  // namespace
}  // namespace orvia::testing
