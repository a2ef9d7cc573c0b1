// The nearest-word search and word handles over an in-memory store with the real
// store's seek side.
#include "dict/search.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "dict/dict_id.h"
#include "doubles/store_double.h"
#include "lang/lang_ops.h"
#include "lang/single_byte.h"
#include "memory_dictionary_fixture.h"
#include "nearest_reference.h"
#include "support/heap_failures.h"

namespace orvia::dict {
namespace {

using orvia::testing::Omit;
using orvia::testing::StoreDouble;
using orvia::testing::StoredRecord;

constexpr uint32_t kEnglish = 0x00010101;

// A language-1 record: key, headword, display word, then the vcode.
StoredRecord record(const std::string& key, const std::string& headword = "",
                    const std::string& display = "", uint32_t level = 0) {
  return {kEnglish, level << 24, key + '\0' + headword + '\0' + display + '\0' + '\xB8'};
}

class Search : public orvia::testing::MemoryDictionaryFixture {
 protected:
  // Opens dictionary id over the given records.
  void open(const std::vector<StoredRecord>& records, uint32_t id = kEnglish) {
    dict_ = openMemoryDictionary(id, records);
    ASSERT_NE(dict_, nullptr);
  }
  void openKeys(const std::vector<std::string>& keys) {
    std::vector<StoredRecord> records;
    for (const auto& k : keys) records.push_back(record(k));
    open(records);
  }

  // The key of the record a look-up lands on, or "<null>".
  std::string lookUp(const char* word) {
    HWORD* found = dicSearchWord(dict_, word);
    if (found == nullptr) return "<null>";
    IndexRecordView view;
    std::string key = wordRecord(found, &view) ? view.searchKey : "<damaged>";
    dicFreeHWORD(found);
    return key;
  }

  HDICT* dict_ = nullptr;
};

struct NearestCase {
  const char* decidedBy;
  std::vector<std::string> keys;  // in key order
  const char* word;
  const char* expected;
  Omit omit;  // the rule that decides this case; leaving it out changes the answer
};

TEST_F(Search, EachRuleDecidesACase) {
  const NearestCase cases[] = {
      {"exact key at the seek", {"ab", "abc", "abd"}, "abc", "abc", Omit::kNothing},
      {"settles on the prefix", {"ab", "abc", "abcd", "abd"}, "abcx", "abc", Omit::kNothing},
      {"neighbour on the other side", {"a", "-B--", "1b", "1B-"}, "Aa", "a", Omit::kOtherSide},
      {"neighbour gives the longer match", {"A-", "b", "bbb"}, "aab1", "A-", Omit::kOtherSide},
      {"walk stops at a worse fold",
       {"A", "a -", "A1", "A1B1", "-b-A"},
       "aa1",
       "A1",
       Omit::kFoldedStop},
      {"larger case-blind match wins", {"b", "B-1", "1B"}, "B", "b", Omit::kNoCase},
      {"larger case-blind match wins over an earlier one",
       {"a", "-ABa", "aBB"},
       "-11-B",
       "-ABa",
       Omit::kNoCase},
      {"larger significant match wins",
       {"AAb", "abb-", "B b-", "BB"},
       "a1",
       "abb-",
       Omit::kSignificant},
      {"full tie goes to the earlier record",
       {"A", "a", "ab", "-b", "b-B"},
       "-a",
       "a",
       Omit::kSignificant},
      {"a trailing space is dropped from the prefix",
       {"A-", "a -B", "1b", "bb"},
       "A- A",
       "A-",
       Omit::kSpaceRule},
      {"new yorkx", {"new", "new zealand", "newark"}, "new yorkx", "new", Omit::kSpaceRule},
  };
  for (const NearestCase& c : cases) {
    SCOPED_TRACE(c.decidedBy);
    closeAll();
    openKeys(c.keys);
    EXPECT_EQ(lookUp(c.word), c.expected);
    char key[lang::kKeyBufferSize];
    lang::single_byte::makeSearchKey(c.word, key);
    EXPECT_EQ(c.keys[orvia::testing::referenceNearest(c.keys, key)], c.expected);
    if (c.omit != Omit::kNothing) {
      size_t without = orvia::testing::referenceNearest(c.keys, key, c.omit);
      EXPECT_TRUE(without == c.keys.size() || c.keys[without] != c.expected)
          << "the rule left out does not decide this case";
    }
  }
}

TEST_F(Search, NothingMatchingGivesTheFirstRecord) {
  openKeys({"apple", "banana", "cherry"});
  EXPECT_EQ(lookUp("zebra"), "apple");
  EXPECT_EQ(lookUp(""), "apple");
  EXPECT_EQ(lookUp("   "), "apple");
  EXPECT_EQ(lookUp("caf\xE9"), "cherry");  // searches "caf"
  EXPECT_EQ(lookUp("CHERRY"), "cherry");
  EXPECT_EQ(dicSearchWord(dict_, nullptr), nullptr);
  EXPECT_EQ(dicSearchWord(nullptr, "apple"), nullptr);
}

TEST_F(Search, AgreesWithThePlainStepsOnRandomLookUps) {
  std::mt19937 rng(2026);
  const char letters[] = "abcdeABC -'1";
  std::vector<std::string> keys;
  for (int i = 0; i < 400; ++i) {
    std::string word;
    int length = 1 + int(rng() % 7);
    for (int j = 0; j < length; ++j) word += letters[rng() % (sizeof letters - 1)];
    char key[lang::kKeyBufferSize];
    if (lang::single_byte::makeSearchKey(word.c_str(), key) == 0) continue;
    if (std::string(key).find_first_of("abcdeABC") == std::string::npos) continue;
    keys.push_back(key);
  }
  std::vector<StoredRecord> records;
  for (const auto& k : keys) records.push_back(record(k));
  open(records);
  std::vector<std::string> sorted;
  for (const auto& r : StoreDouble::instance().indexes.begin()->second)
    sorted.push_back(r.data.c_str());
  for (int i = 0; i < 2000; ++i) {
    std::string word;
    int length = 1 + int(rng() % 8);
    for (int j = 0; j < length; ++j) word += letters[rng() % (sizeof letters - 1)];
    char key[lang::kKeyBufferSize];
    lang::single_byte::makeSearchKey(word.c_str(), key);
    size_t expected = orvia::testing::referenceNearest(sorted, key);
    ASSERT_EQ(lookUp(word.c_str()), sorted[expected == sorted.size() ? 0 : expected]) << word;
  }
}

TEST_F(Search, FailureInTheWalkFallsBackToTheFirstRecord) {
  openKeys({"aa", "ab", "abc", "abd"});
  StoreDouble::instance().failPrevFrom = 1;
  EXPECT_EQ(lookUp("abx"), "aa");
}

TEST_F(Search, EmptyIndexGivesNull) {
  open({});
  EXPECT_EQ(dicSearchWord(dict_, "word"), nullptr);
  EXPECT_EQ(dicSearchRecord(dict_, 0), nullptr);
  EXPECT_EQ(dicIsExistWord(dict_, "word"), 0);
}

TEST_F(Search, NoLanguageLandsOnTheFirstRecord) {
  open({{0x0001010C, 0, std::string("b\0\0\0", 4)}, {0x0001010C, 0, std::string("a\0\0\0", 4)}},
       0x0001010C);
  std::string first = StoreDouble::instance().indexes.begin()->second[0].data.c_str();
  EXPECT_EQ(lookUp("a"), first);
  EXPECT_EQ(lookUp("b"), first);
  EXPECT_EQ(dicIsExistWord(dict_, "a"), 0);
}

TEST_F(Search, WordExistsHonoursHomographNumbers) {
  openKeys({"bank@1", "bank@2", "banker", "river"});
  struct Case {
    std::string word;
    int exists;
  };
  const Case cases[] = {{"bank", 1},
                        {"Bank", 0},
                        {"banker", 1},
                        {"bank@2", 1},
                        {"ban", 0},
                        {"rivers", 0},
                        {"  river ", 1},
                        {"river@", 0},
                        {std::string(243, 'a'), 0},
                        {std::string(244, 'r'), 0},
                        {"", 0}};
  for (const Case& c : cases) EXPECT_EQ(dicIsExistWord(dict_, c.word.c_str()), c.exists) << c.word;
  EXPECT_EQ(dicIsExistWord(dict_, nullptr), 0);
}

TEST_F(Search, HandlesCopyKeysAndWords) {
  open({record("bank@2", "bank", "Bank (river)"), record("cafe", "caf\xE9"), record("dog")});
  HWORD* bank = dicSearchWord(dict_, "bank");
  ASSERT_NE(bank, nullptr);
  EXPECT_EQ(dicGetKeySize(bank), 4u);
  EXPECT_EQ(dicGetWordSize(bank), 12u);
  char buffer[32];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(dicGetKey(bank, buffer, 4), 0);  // no room for the terminator
  EXPECT_EQ(buffer[0], 'x');
  ASSERT_EQ(dicGetKey(bank, buffer, 5), 1);
  EXPECT_STREQ(buffer, "bank");
  ASSERT_EQ(dicGetWord(bank, buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "Bank (river)");
  EXPECT_EQ(dicGetKey(bank, nullptr, 5), 0);

  HWORD* copy = dicDuplicateHWORD(bank);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy->record, bank->record);
  EXPECT_EQ(copy->dict, dict_);
  EXPECT_EQ(dicFreeHWORD(bank), 1);
  ASSERT_EQ(dicGetKey(copy, buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "bank");
  EXPECT_EQ(dicFreeHWORD(copy), 1);

  HWORD* dog = dicSearchRecord(dict_, 2);
  ASSERT_NE(dog, nullptr);
  EXPECT_EQ(dicGetKeySize(dog), 3u);
  EXPECT_EQ(dicGetWordSize(dog), 3u);
  EXPECT_EQ(dicFreeHWORD(dog), 1);
  HWORD* past = dicSearchRecord(dict_, 0xFFFFFFFF);
  ASSERT_NE(past, nullptr);
  IndexRecordView view;
  ASSERT_TRUE(wordRecord(past, &view));
  EXPECT_EQ(view.recordNumber, 0u);
  EXPECT_EQ(dicFreeHWORD(past), 1);
  EXPECT_EQ(dicGetKeySize(nullptr), 0u);
  EXPECT_EQ(dicFreeHWORD(nullptr), 0);
  EXPECT_EQ(dicDuplicateHWORD(nullptr), nullptr);
}

TEST_F(Search, AllocationFailuresGiveNull) {
  openKeys({"a", "b"});
  for (uint32_t nth = 1; nth <= 4; ++nth) {
    testing::injectAllocationFailure(nth);
    HWORD* word = dicSearchWord(dict_, "b");
    testing::injectAllocationFailure(0);
    if (word != nullptr) dicFreeHWORD(word);  // later allocations may fall back and succeed
  }
  testing::injectAllocationFailure(1);
  EXPECT_EQ(dicSearchWord(dict_, "b"), nullptr);
  testing::injectProcessHeapFailure(true);
  EXPECT_EQ(dicSearchWord(dict_, "b"), nullptr);
  EXPECT_EQ(dicFreeHWORD(reinterpret_cast<HWORD*>(dict_)), 0);
  testing::injectProcessHeapFailure(false);
}

}  // namespace
}  // namespace orvia::dict
