#include "word_run.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "conventions.h"
#include "terminal_text.h"
#include "text/dictionary_text.h"
#include "text/key_fold.h"

namespace orviadic {
namespace {

// A key's homograph number ("@" and digits at its end) dropped: records added by hand
// keep no headword, and their key is all they show.
std::string withoutHomographNumber(const std::string& key) {
  const size_t at = key.rfind('@');
  if (at == std::string::npos || key.find_first_not_of("0123456789 ", at + 1) != std::string::npos)
    return key;
  return key.substr(0, at);
}

// Upper-case letters of the code page made lower case: ASCII, and in the single-byte
// languages the letters of Windows-1252, where "ß" is the lower case of "SS". The bytes
// of a double-byte character stay.
std::string lowerCase(uint32_t language, const std::string& text) {
  const bool singleByte = orvia::text::keysFoldToAscii(language);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const uint8_t byte = uint8_t(text[i]);
    const bool asciiUpper = byte >= 'A' && byte <= 'Z';
    const bool latinUpper = singleByte && byte >= 0xC0 && byte <= 0xDE && byte != 0xD7;
    if (asciiUpper || latinUpper) {
      out += char(byte + 32);
    } else if (!singleByte) {
      out += char(byte);
      // The trail byte of a double-byte character; Shift-JIS writes half-width katakana
      // in one byte.
      const bool halfWidthKatakana = language == 4 && byte >= 0xA1 && byte <= 0xDF;
      if (byte >= 0x80 && !halfWidthKatakana && i + 1 < text.size()) out += text[++i];
    } else if (byte == 0xDF) {
      out += "ss";
    } else if (byte == 0x8A || byte == 0x8C || byte == 0x8E) {
      out += char(byte + 16);  // Š, Œ, Ž
    } else {
      out += char(byte == 0x9F ? 0xFF : byte);  // Ÿ
    }
  }
  return out;
}

class RunWalker {
 public:
  RunWalker(uint32_t dictId, const std::string& query)
      : language_(orvia::text::languageOfDictId(dictId)),
        query_(orvia::text::collapseWhiteSpace(toCodePage(dictId, query, "word"))),
        queryKey_(lowerCase(language_, keySpelling(query_))) {}

  // Whether a record's key (its headword, else its search key) is spelled as the
  // query's, ignoring case; its headword into *headword.
  bool belongs(const std::string& key, std::string* headword) const {
    *headword = withoutHomographNumber(key);
    return lowerCase(language_, keySpelling(*headword)) == queryKey_;
  }

  Match matchOf(const std::string& headword) const {
    if (headword == query_) return Match::kExact;
    return lowerCase(language_, headword) == lowerCase(language_, query_) ? Match::kCase
                                                                          : Match::kAccent;
  }

 private:
  std::string keySpelling(const std::string& word) const {
    std::string spelling;
    orvia::text::keyWord(language_, word, &spelling);
    return spelling;
  }

  uint32_t language_;
  std::string query_;
  std::string queryKey_;
};

// The keys of count records from start, in the code page; fewer at the end of the index.
std::vector<std::string> keysFrom(HDICT* dict, uint32_t start, uint32_t count) {
  // Each entry: where its content lives, the key (at most a record's length), a zero.
  // Left unfilled: the library writes only what the entries take, and the rest of the
  // window's room is then never touched.
  const size_t size = size_t(count) * 1026 + 1;
  const std::unique_ptr<char[]> list(new char[size]);
  uint32_t entries = 0;
  dicGetKeyList(dict, start, count, list.get(), uint32_t(size), &entries);
  std::vector<std::string> keys;
  for (const char* at = list.get(); keys.size() < entries; at += keys.back().size() + 2)
    keys.emplace_back(at + 1);
  return keys;
}

uint32_t recordOf(HWORD* word) {
  uint32_t number = 0;
  dicGetHandleInfo(word, 1, &number);
  return number;
}

}  // namespace

WordRun findRun(const OpenDictionary& dict, const std::string& utf8) {
  const RunWalker walker(dict.id(), utf8);
  WordRun run;
  run.landed = dict.search(toDictionaryWord(dict.id(), utf8));
  const uint32_t landed = recordOf(run.landed.get());
  std::string headword;
  // The keys of a window around the landed record, read in one call, widened until the
  // run ends inside it.
  for (uint32_t reach = 8;; reach *= 4) {
    const uint32_t start = landed > reach ? landed - reach : 0;
    const uint32_t wanted = landed - start + reach + 1;
    const std::vector<std::string> keys = keysFrom(dict.get(), start, wanted);
    const size_t at = landed - start;
    if (at >= keys.size()) return run;
    // The library lands on the run or beside it; the run's records are contiguous.
    size_t first = at;
    if (!walker.belongs(keys[at], &headword)) {
      if (at > 0 && walker.belongs(keys[at - 1], &headword))
        first = at - 1;
      else if (at + 1 < keys.size() && walker.belongs(keys[at + 1], &headword))
        first = at + 1;
      else
        return run;
    }
    size_t end = first + 1;
    while (first > 0 && walker.belongs(keys[first - 1], &headword)) --first;
    while (end < keys.size() && walker.belongs(keys[end], &headword)) ++end;
    const bool cutBefore = first == 0 && start > 0;
    const bool cutAfter = end == keys.size() && keys.size() == wanted;
    if (cutBefore || cutAfter) continue;
    for (size_t i = first; i < end; ++i) {
      walker.belongs(keys[i], &headword);
      run.entries.push_back({uint32_t(start + i), headword, walker.matchOf(headword)});
    }
    std::stable_sort(run.entries.begin(), run.entries.end(),
                     [](const RunEntry& a, const RunEntry& b) { return a.match < b.match; });
    return run;
  }
}

bool runHolds(const WordRun& run, bool caseExact) {
  return std::any_of(run.entries.begin(), run.entries.end(), [caseExact](const RunEntry& e) {
    return e.match == Match::kExact || (!caseExact && e.match == Match::kCase);
  });
}

std::string sharedText(const std::string& content, const std::string& headword) {
  const size_t lineEnd = content.find('\n');
  if (lineEnd == std::string::npos) return content;
  const bool headwordLine = orvia::text::collapseWhiteSpace(content.substr(0, lineEnd)) == headword;
  return headwordLine ? content.substr(lineEnd + 1) : content;
}

const char* matchName(Match match) {
  switch (match) {
    case Match::kExact:
      return "exact";
    case Match::kCase:
      return "case";
    default:
      return "accent";
  }
}

}  // namespace orviadic
