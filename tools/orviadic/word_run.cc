#include "word_run.h"

#include <algorithm>

#include "cli.h"
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
    if (byte >= 'A' && byte <= 'Z') {
      out += char(byte + 32);
    } else if (!singleByte) {
      out += char(byte);
      // The trail byte of a double-byte character; Shift-JIS writes half-width katakana
      // in one byte.
      const bool halfWidthKatakana = language == 4 && byte >= 0xA1 && byte <= 0xDF;
      if (byte >= 0x80 && !halfWidthKatakana && i + 1 < text.size()) out += text[++i];
    } else if (byte == 0xDF) {
      out += "ss";
    } else if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) {
      out += char(byte + 32);
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

  // The record's headword when its key spelling is the query's, ignoring case.
  bool belongs(HWORD* word, std::string* headword) const {
    *headword = withoutHomographNumber(keyOf(word));
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
  const auto copyOfLanded = [&run] {
    WordHandle copy(dicDuplicateHWORD(run.landed.get()), dicFreeHWORD);
    if (!copy) throw CommandFailure{kExitError, "out of memory"};
    return copy;
  };
  WordHandle at = copyOfLanded();
  std::string headword;
  // The library lands on the run or beside it; the run's records are contiguous.
  if (!walker.belongs(at.get(), &headword) &&
      (dicPrev(at.get(), 0) == 0 || !walker.belongs(at.get(), &headword))) {
    at = copyOfLanded();
    if (dicNext(at.get(), 0) == 0 || !walker.belongs(at.get(), &headword)) return run;
  }
  while (dicPrev(at.get(), 0) != 0) {
    if (!walker.belongs(at.get(), &headword)) {
      dicNext(at.get(), 0);
      break;
    }
  }
  do {
    if (!walker.belongs(at.get(), &headword)) break;
    run.entries.push_back({recordOf(at.get()), headword, walker.matchOf(headword)});
  } while (dicNext(at.get(), 0) != 0);
  std::stable_sort(run.entries.begin(), run.entries.end(),
                   [](const RunEntry& a, const RunEntry& b) { return a.match < b.match; });
  return run;
}

bool runHolds(const WordRun& run, bool caseExact) {
  return std::any_of(run.entries.begin(), run.entries.end(), [caseExact](const RunEntry& e) {
    return e.match == Match::kExact || (!caseExact && e.match == Match::kCase);
  });
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
