// Search, browse and word lists over the small dictionary of tests/data/dict/, in the
// store double; the nearest-word search against a plain reference of its steps; and the
// records of other writers.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <tuple>

#include "base/bytes.h"
#include "dict/word_handle.h"
#include "lang/single_byte.h"
#include "support/case_table.h"
#include "support/content_files.h"
#include "support/dictionary_fixtures.h"
#include "support/golden.h"
#include "support/heap_failures.h"
#include "support/read_only_page.h"

namespace orvia::dict {
namespace {

using namespace orvia::testing;

namespace sb = orvia::lang::single_byte;

constexpr uint32_t kEnglish = 0x00010101;

// The first key not before the sought one, else the last: the store's seek.
size_t seek(const std::vector<std::string>& keys, const std::string& key) {
  for (size_t i = 0; i < keys.size(); ++i)
    if (sb::compareKeys(keys[i].c_str(), key.c_str()) >= 0) return i;
  return keys.size() - 1;
}

// The nearest-word search written plainly over sorted search keys: the index of the
// answer, or keys.size() when the search fails. omit names a rule to leave out (as the
// last column of nearest_rules.txt does), so that a row can show the rule decides it.
size_t referenceNearest(const std::vector<std::string>& keys, const std::string& key,
                        const std::string& omit = "-") {
  const size_t fail = keys.size();
  if (keys.empty() || key.empty()) return fail;
  const char* k = key.c_str();
  const size_t at = seek(keys, key);
  if (sb::matchLenExact(keys[at].c_str(), k) == lang::kMatchAll) return at;
  uint32_t m = sb::matchLenFolded(keys[at].c_str(), k);
  const bool back = sb::compareKeys(keys[at].c_str(), k) > 0;
  if (omit != "other-side" && (back ? at > 0 : at + 1 < keys.size()))
    m = std::max(m, sb::matchLenFolded(keys[back ? at - 1 : at + 1].c_str(), k));
  uint32_t n = sb::keyCharOffset(k, m);
  if (n == 0) return fail;
  if (omit != "space-rule" && key[n - 1] == ' ' && --n == 0) return fail;
  const std::string prefix = key.substr(0, n);
  const char* p = prefix.c_str();
  // A candidate ranks by its folded, then case-blind, then significant match.
  auto rank = [&](size_t i) {
    const char* x = keys[i].c_str();
    return std::make_tuple(sb::matchLenFolded(x, p),
                           omit == "no-case" ? 0 : sb::matchLenNoCase(x, p),
                           omit == "significant" ? 0 : sb::matchLenSignificant(x, p));
  };
  size_t best = std::min(seek(keys, prefix) + 1, keys.size() - 1);
  for (size_t i = best; i-- > 0;) {
    const auto candidate = rank(i), top = rank(best);
    if (std::get<0>(candidate) < std::get<0>(top) && omit != "folded-stop") break;
    if (candidate < top) continue;
    best = i;
    if (candidate == top && sb::matchLenExact(keys[i].c_str(), p) == lang::kMatchAll) break;
  }
  return best;
}

class SmallDictionary : public MemoryDictionaryFixture {
 protected:
  void SetUp() override {
    MemoryDictionaryFixture::SetUp();
    std::vector<StoredRecord> english, records;
    for (const CaseRow& r : caseTable("dict/small_dictionary.txt")) {
      StoredRecord record{
          uint32_t(r.number(4)), uint32_t(r.number(5)) << 24,
          *r.bytes(1) + '\0' + *r.bytes(2) + '\0' + *r.bytes(3) + '\0' + *r.bytes(6)};
      (r.number(0) == kEnglish ? english : records).push_back(record);
    }
    StoreDouble::instance().load(dir_.file("7F010101.IDX"), lang::getCompareKeysFn(1), records);
    for (uint32_t id : {kEnglish, 0xFF010101u, 0x00010106u})
      dicts_[id] = openMemoryDictionary(id, english);
  }

  // The search key of the record a look-up lands on, or "<null>".
  static std::string lookUp(HDICT* dict, const char* word) {
    HWORD* found = dicSearchWord(dict, word);
    if (found == nullptr) return "<null>";
    IndexRecordView view;
    std::string key = wordRecord(found, &view) ? view.searchKey : "<damaged>";
    dicFreeHWORD(found);
    return key;
  }

  std::map<uint32_t, HDICT*> dicts_;
};

TEST_F(SmallDictionary, LookUpsLandOnTheNearestKeyAndTellWhetherTheWordExists) {
  forEachCase("dict/look_ups.txt", [&](const CaseRow& c) {
    const std::string word = *c.bytes(0);
    EXPECT_EQ(lookUp(dicts_[kEnglish], word.c_str()), *c.bytes(1));
    EXPECT_EQ(dicIsExistWord(dicts_[kEnglish], word.c_str()), c.number(2));
  });
}

// Each list of a table of lists twice: in one batch call, and record by record as when the
// batch call fails. The buffer is checked one byte past its size.
void expectWordLists(const std::string& table, const std::map<uint32_t, HDICT*>& dicts) {
  for (const CaseRow& c : caseTable(table)) {
    for (bool stepping : {false, true}) {
      SCOPED_TRACE(::testing::Message() << c.line << (stepping ? " (stepping)" : ""));
      StoreDouble::instance().failing = {stepping ? "dbSearch" : "nothing"};
      HDICT* dict = c.fields.at(1) == "none" ? nullptr : dicts.at(uint32_t(c.number(1)));
      const uint32_t start = uint32_t(c.number(2)), count = uint32_t(c.number(3));
      const uint32_t size = uint32_t(c.number(4));
      std::string buffer(size + 1, '#');
      uint32_t entries = 99, bytes = 99;
      const std::string& kind = c.fields[0];
      char* out = buffer.data();
      EXPECT_EQ(kind == "keys" ? dicGetKeyList(dict, start, count, out, size, &entries)
                : kind == "words"
                    ? dicGetWordList(dict, start, count, out, size, &entries)
                    : dicGetKeyVcodeList(dict, start, count, out, size, &entries, &bytes),
                entries);
      EXPECT_EQ(entries, c.number(5));
      EXPECT_EQ(bytes, kind == "vcodes" ? c.number(6) : 99);
      EXPECT_EQ(buffer, *c.bytes(7));
    }
  }
}

TEST_F(SmallDictionary, WordLists) {
  expectWordLists("dict/word_lists.txt", dicts_);
}

// Each counter is cleared where it can be written, whatever the other arguments are (an
// unwritable one alone is a row of tests/data/api/bad_input.txt).
TEST_F(SmallDictionary, ListsProbeTheirCountersAndBuffer) {
  ReadOnlyPage page;
  auto* readOnly = static_cast<uint32_t*>(page.get());
  ASSERT_NE(readOnly, nullptr);
  char buffer[8] = "#######";
  uint32_t entries = 7, more = 7;
  EXPECT_EQ(dicGetKeyVcodeList(dicts_[kEnglish], 0, 5, buffer, 8, &entries, readOnly), 0u);
  EXPECT_EQ(entries, 0u);  // though bytes cannot be written
  EXPECT_EQ(dicGetKeyList(dicts_[kEnglish], 0, 5, reinterpret_cast<char*>(readOnly), 8, &more), 0u);
  EXPECT_EQ(more, 0u);  // though the buffer cannot be
}

// Each row on a handle of its own: a duplicate, whose original is freed first, so that
// it shows a copy keeps a record and a dictionary of its own.
TEST_F(SmallDictionary, WordHandles) {
  forEachCase("dict/word_handles.txt", [&](const CaseRow& c) {
    HWORD* original = dicSearchRecord(dicts_[kEnglish], uint32_t(c.number(1)));
    HWORD* word = dicDuplicateHWORD(original);
    ASSERT_EQ(dicFreeHWORD(original), 1);
    const std::string& op = c.fields[0];
    const uint32_t arg = c.fields[2] == "-" ? 0 : uint32_t(c.number(2));
    uint32_t out = 1;
    std::string buffer(32, 'x');
    EXPECT_EQ(op == "keysize"    ? dicGetKeySize(word)
              : op == "wordsize" ? dicGetWordSize(word)
              : op == "key"      ? dicGetKey(word, buffer.data(), arg)
              : op == "word"     ? dicGetWord(word, buffer.data(), arg)
              : op == "info"     ? dicGetHandleInfo(word, arg, &out)
              : op == "next"     ? dicNext(word, arg)
                                 : dicPrev(word, arg),
              c.number(3));
    if (op == "next" || op == "prev") dicGetHandleInfo(word, 1, &out);
    if (op == "key" || op == "word") {
      EXPECT_EQ(buffer.substr(0, c.bytes(4)->size()), *c.bytes(4));
    } else if (c.fields[4] != "-") {
      EXPECT_EQ(out, c.number(4));
    }
    EXPECT_EQ(dicFreeHWORD(word), 1);
  });
  EXPECT_EQ(StoreDouble::instance().openHandles, 3);  // the home look-ups closed theirs
}

TEST_F(SmallDictionary, FailuresFallBackToTheFirstRecordOrGiveNull) {
  StoreDouble::instance().failing = {"dbPrev"};  // the walk back fails
  EXPECT_EQ(lookUp(dicts_[kEnglish], "ban"), "a");
  StoreDouble::instance().failing.clear();
  // Allocations failing in turn are swept over every export in tests/api.
  injectProcessHeapFailure(true);
  EXPECT_EQ(dicSearchWord(dicts_[kEnglish], "bb"), nullptr);
  EXPECT_EQ(dicFreeHWORD(reinterpret_cast<HWORD*>(dicts_[kEnglish])), 0);
  injectProcessHeapFailure(false);
  // With no language every key is empty and every look-up lands on the first record.
  HDICT* none = openMemoryDictionary(
      0x0001010C, {{0, 0, std::string("b\0\0\0", 4)}, {0, 0, std::string("a\0\0\0", 4)}});
  const std::string first =
      StoreDouble::instance().indexes[dir_.file("0001010C.IDX")][0].data.c_str();
  EXPECT_EQ(lookUp(none, "a"), first);
  EXPECT_EQ(lookUp(none, "b"), first);
  EXPECT_EQ(dicIsExistWord(none, "a"), 0);
  HDICT* empty = openMemoryDictionary(0x00020101, {});
  EXPECT_EQ(dicSearchWord(empty, "word"), nullptr);
  EXPECT_EQ(dicSearchRecord(empty, 0), nullptr);
  EXPECT_EQ(dicIsExistWord(empty, "word"), 0);
}

// Every store call of each reader failed in turn, until a call meets no failure: a
// failed reader gives 0 (or what it could still read), leaves its output empty and
// closes every index it opened.
TEST_F(SmallDictionary, EveryStoreCallOfEveryReaderFailsInTurn) {
  HDICT* dict = dicts_[kEnglish];
  HWORD* word = dicSearchRecord(dict, 4);
  auto handle = [](HWORD* w) { return w != nullptr && dicFreeHWORD(w) == 1 ? 1u : 0u; };
  char buffer[32];
  uint32_t out = 0, bytes = 0;
  // The first four have no output; the others clear theirs first.
  const std::vector<std::function<uint32_t()>> readers = {
      [&] { return handle(dicSearchWord(dict, "bb")); },
      [&] { return handle(dicSearchRecord(dict, 7)); },
      [&] { return uint32_t(dicIsExistWord(dict, "bank")); },
      [&] { return dicGetWordCount(dict); },
      [&] { return uint32_t(dicGetHandleInfo(word, 3, &out)); },
      [&] { return dicGetKeyList(dict, 1, 3, buffer, sizeof buffer, &out); },
      [&] { return dicGetKeyVcodeList(dict, 1, 3, buffer, sizeof buffer, &out, &bytes); },
  };
  const int handles = StoreDouble::instance().openHandles;
  StoreDouble& store = StoreDouble::instance();
  for (size_t r = 0; r < readers.size(); ++r) {
    for (uint32_t n = 1;; ++n) {
      SCOPED_TRACE("reader " + std::to_string(r) + ", store call " + std::to_string(n));
      store.calledOperations.clear();
      store.failCall = n;
      buffer[0] = 'x';
      out = 7;
      const uint32_t result = readers[r]();
      store.failCall = 0;
      EXPECT_EQ(store.openHandles, handles);
      if (store.calledOperations.size() < n) break;
      if (result == 0 && r >= 4) {
        EXPECT_EQ(out, 0u);
        EXPECT_EQ(buffer[0], r == 4 ? 'x' : '\0');
      }
    }
  }
  dicFreeHWORD(word);
}

TEST_F(SmallDictionary, EachNearestRuleDecidesACase) {
  forEachCase("dict/nearest_rules.txt", [&](const CaseRow& c) {
    closeAll();
    const std::vector<std::string> keys = c.list(1);
    std::vector<StoredRecord> records;
    for (const std::string& k : keys)
      records.push_back({kEnglish, 0, k + '\0' + '\0' + '\0' + '\xB8'});
    const std::string expected = *c.bytes(3);
    EXPECT_EQ(lookUp(openMemoryDictionary(kEnglish, records), c.bytes(2)->c_str()), expected);
    char key[lang::kKeyBufferSize];
    sb::makeSearchKey(c.bytes(2)->c_str(), key);
    EXPECT_EQ(keys[referenceNearest(keys, key)], expected);
    if (c.fields[4] == "-") return;
    const size_t without = referenceNearest(keys, key, c.fields[4]);
    EXPECT_TRUE(without == keys.size() || keys[without] != expected)
        << "the rule left out does not decide this case";
  });
}

TEST_F(SmallDictionary, NearestAgreesWithThePlainStepsOnRandomLookUps) {
  closeAll();
  std::mt19937 rng(2026);
  const char letters[] = "abcdeABC -'1";
  char key[lang::kKeyBufferSize];
  // A random word, its search key left in key (empty when it has none).
  auto randomWord = [&](int longest) {
    std::string word(1 + rng() % longest, ' ');
    for (char& ch : word) ch = letters[rng() % (sizeof letters - 1)];
    if (sb::makeSearchKey(word.c_str(), key) == 0) key[0] = '\0';
    return word;
  };
  std::vector<StoredRecord> records;
  for (int i = 0; i < 400; ++i) {
    randomWord(7);
    if (std::string(key).find_first_of("abcdeABC") != std::string::npos)
      records.push_back({kEnglish, 0, key + std::string(3, '\0') + '\xB8'});
  }
  HDICT* dict = openMemoryDictionary(kEnglish, records);
  std::vector<std::string> sorted;
  for (const auto& r : StoreDouble::instance().indexes.begin()->second)
    sorted.push_back(r.data.c_str());
  for (int i = 0; i < 2000; ++i) {
    const std::string word = randomWord(8);
    const size_t expected = referenceNearest(sorted, key);
    ASSERT_EQ(lookUp(dict, word.c_str()), sorted[expected == sorted.size() ? 0 : expected]) << word;
  }
}

// Index records whose strings lack terminators, as other writers leave them (golden
// file index/other_writer.hex): read as far as they go, through the exports.
class OtherWriterDictionary : public MemoryDictionaryFixture {
 protected:
  void SetUp() override {
    MemoryDictionaryFixture::SetUp();
    std::string texts = goldenBytes("content/head.hex");
    for (const char* text : {"apple~!", "bank~!", "cherry~!", "date~!"})
      texts += testing::contentRecord(0, testing::kNoContinuation, text);
    testing::writeFileBytes(dir_.file("00010101.DAT"), texts);
    const std::string index = goldenBytes("index/other_writer.hex");
    std::vector<StoredRecord> records;
    for (size_t at = 0, length; at < index.size(); at += length) {
      const auto* record = reinterpret_cast<const uint8_t*>(index.data() + at);
      length = loadU32Le(record);
      records.push_back(
          {loadU32Le(record + 4), loadU32Le(record + 8), index.substr(at + 16, length - 16)});
    }
    dict_ = openMemoryDictionary(kEnglish, records);
    std::string name = "00010101.DAT";
    name.resize(kFileNameBufferSize, '\0');
    StoreDouble::instance().contentNames[dir_.file("00010101.IDX")][kEnglish] = name;
  }

  HDICT* dict_ = nullptr;
};

TEST_F(OtherWriterDictionary, SearchNextAndListsReadEveryRecordsKeyWordAndContent) {
  HWORD* next = dicSearchRecord(dict_, 0);
  forEachCase("index/other_writer_words.txt", [&](const CaseRow& c) {
    HWORD* word = dicSearchWord(dict_, c.bytes(0)->c_str());
    uint32_t number = 0xFFFFFFFF, stepped = 0xFFFFFFFF;
    EXPECT_EQ(dicGetHandleInfo(word, 1, &number), 1);
    EXPECT_EQ(number, uint32_t(c.number(1)));
    EXPECT_EQ(dicGetHandleInfo(next, 1, &stepped), 1);
    EXPECT_EQ(stepped, number);
    EXPECT_EQ(dicNext(next, 0), c.number(1) < 3);
    char text[1100] = {};
    EXPECT_EQ(dicGetKey(word, text, sizeof text), 1);
    EXPECT_EQ(std::string(text), *c.bytes(2));
    EXPECT_EQ(dicGetWordSize(word), uint32_t(c.number(3)));
    EXPECT_EQ(dicGetContent(word, kEnglish, text, sizeof text), c.bytes(4)->size());
    EXPECT_EQ(std::string(text), *c.bytes(4));
    EXPECT_EQ(dicFreeHWORD(word), 1);
  });
  EXPECT_EQ(dicFreeHWORD(next), 1);
  expectWordLists("index/other_writer_lists.txt", {{kEnglish, dict_}});
}

}  // namespace
}  // namespace orvia::dict
