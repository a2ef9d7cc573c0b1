// Checks over a whole compiled index, shared by the tests of real and hand-written
// dictionaries in every language: the records stand in the collation's order, and every
// headword looked up through the exports lands on its own record or on the first record
// of its homograph run.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "compile/source/tsv_source.h"
#include "dict/index_record.h"
#include "orviadic.h"
#include "support/compiled_dictionary.h"

namespace orvia::testing {

// The word list data/cjk/file, written for the tests as UTF-8 TSV, compiled into folder.
inline compile::CompiledDictionary compileWordList(const char* file, uint32_t dictId,
                                                   const std::string& folder) {
  const char* root = std::getenv("ORVIADIC_SOURCE_DIR");
  const std::string path = std::string(root ? root : ".") + "/data/cjk/" + file;
  return compileFrom(sourceOpener<compile::TsvSource>(path), dictId, folder,
                     compile::EntryEncoding::kStored);
}

// How many entries the compiler left out, by the name of the reason.
inline std::map<std::string, size_t> skippedByReason(const compile::CompiledIndex& index) {
  std::map<std::string, size_t> counts;
  for (const compile::SkippedEntry& s : index.skipped) ++counts[compile::skipReasonName(s.reason)];
  return counts;
}

// The search keys of the compiled records, in record order.
inline std::vector<std::string> compiledKeys(const compile::CompiledIndex& index) {
  std::vector<std::string> keys;
  dict::IndexRecordView view;
  for (size_t at = 0; at < index.records.size(); at += view.recordLength) {
    if (!dict::parseIndexRecord(index.records.data() + at, uint32_t(index.records.size() - at),
                                &view))
      break;
    keys.push_back(view.searchKey);
  }
  return keys;
}

// The key without the homograph number that the compiler appends: "@" and digits, the
// "@" standing as a character of its own. In Big5 and Shift-JIS the byte 0x40 is also
// the trail byte of many characters; Shift-JIS writes half-width katakana in one byte.
inline std::string bareKey(const std::string& key, uint32_t code) {
  size_t at = std::string::npos;
  for (size_t i = 0; i < key.size(); ++i) {
    const uint8_t byte = uint8_t(key[i]);
    if (byte == '@') at = i;
    const bool oneByte = byte < 0x80 || code == 1 || (code == 4 && byte >= 0xA6 && byte <= 0xDF);
    if (!oneByte) ++i;
  }
  if (at == std::string::npos || at + 1 == key.size() ||
      key.find_first_not_of("0123456789", at + 1) != std::string::npos)
    return key;
  return key.substr(0, at);
}

// The record dicSearchWord lands on for word; 0xFFFFFFFF when it finds none.
inline uint32_t landingRecord(HDICT* dict, const std::string& word) {
  HWORD* found = dicSearchWord(dict, word.c_str());
  uint32_t number = 0xFFFFFFFF;
  if (found != nullptr) dicGetHandleInfo(found, 1, &number);
  dicFreeHWORD(found);
  return number;
}

// Fails the test for each pair of neighbours that the language's compareKeys does not put
// strictly in order, and for each record whose headword (its key without homograph number)
// lands neither on the record itself nor on the first record of its run; reports how many.
inline void expectOrderedAndFound(uint32_t dictId, const std::vector<std::string>& keys) {
  const uint32_t code = lang::languageOf(dictId);
  const DbCompareFn compare = lang::getCompareKeysFn(code);
  HDICT* dict = dicCreateHDICT(dictId);
  ASSERT_NE(dict, nullptr);
  size_t exceptions = 0;
  for (uint32_t n = 0, first = 0; n < keys.size(); ++n) {  // first: of the run of n's bare key
    if (n > 0 && compare(keys[n - 1].c_str(), keys[n].c_str()) >= 0)
      ADD_FAILURE() << "out of order: " << ::testing::PrintToString(keys[n - 1]) << " / "
                    << ::testing::PrintToString(keys[n]);
    const std::string bare = bareKey(keys[n], code);
    if (n == 0 || bareKey(keys[n - 1], code) != bare) first = n;
    const uint32_t landed = landingRecord(dict, bare);
    if (landed == n || landed == first) continue;
    ++exceptions;
    ADD_FAILURE() << ::testing::PrintToString(keys[n]) << " lands on "
                  << (landed < keys.size() ? ::testing::PrintToString(keys[landed]) : "nothing");
  }
  dicFreeHDICT(dict);
  std::printf("%zu of %zu headwords land elsewhere\n", exceptions, keys.size());
}

}  // namespace orvia::testing
