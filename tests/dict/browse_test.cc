// Browsing and word lists over the in-memory store.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dict/browse.h"
#include "dict/dict_id.h"
#include "dict/search.h"
#include "dict/word_list.h"
#include "doubles/store_double.h"
#include "lang/lang_ops.h"
#include "memory_dictionary_fixture.h"
#include "support/read_only_page.h"

namespace orvia::dict {
namespace {

using orvia::testing::StoreDouble;
using orvia::testing::StoredRecord;

constexpr uint32_t kEnglish = 0x00010101;

StoredRecord entry(const std::string& key, uint32_t contentDictId = kEnglish, uint32_t level = 0,
                   char vcode = '\xB8', const std::string& display = "") {
  return {contentDictId, level << 24, key + '\0' + '\0' + display + '\0' + vcode};
}

// The three list exports by kind.
uint32_t fetchList(ListKind kind, HDICT* dict, uint32_t start, uint32_t count, char* buffer,
                   uint32_t size, uint32_t* entries, uint32_t* bytes) {
  switch (kind) {
    case ListKind::kKeys:
      return dicGetKeyList(dict, start, count, buffer, size, entries);
    case ListKind::kWords:
      return dicGetWordList(dict, start, count, buffer, size, entries);
    case ListKind::kKeyVcodes:
      break;
  }
  return dicGetKeyVcodeList(dict, start, count, buffer, size, entries, bytes);
}

class Browse : public orvia::testing::MemoryDictionaryFixture {
 protected:
  HDICT* open(uint32_t id, const std::vector<StoredRecord>& records) {
    return openMemoryDictionary(id, records);
  }
  // The list as bytes, with its count.
  std::string list(ListKind kind, HDICT* dict, uint32_t start, uint32_t count, uint32_t size,
                   uint32_t* entries, uint32_t* bytes = nullptr) {
    std::string buffer(size, '#');
    uint32_t scratch = 0;
    uint32_t n = fetchList(kind, dict, start, count, buffer.data(), size, entries,
                           bytes != nullptr ? bytes : &scratch);
    EXPECT_EQ(n, *entries);
    return buffer;
  }
};

TEST_F(Browse, ListsHaveTheirByteLayout) {
  HDICT* dict = open(kEnglish, {entry("a", kEnglish, 0, '1'), entry("bb", 0xFF010101, 0, '2'),
                                entry("c", kEnglish, 0, '3', "see")});
  uint32_t entries = 0, bytes = 0;
  std::string keys = list(ListKind::kKeys, dict, 0, 10, 32, &entries);
  EXPECT_EQ(entries, 3u);
  EXPECT_EQ(keys.substr(0, 12), std::string("\0a\0\xFF"
                                            "bb\0\0c\0\0#",
                                            12));
  std::string words = list(ListKind::kWords, dict, 0, 10, 32, &entries);
  EXPECT_EQ(words.substr(0, 14), std::string("\0a\0\xFF"
                                             "bb\0\0see\0\0#",
                                             14));
  std::string vcodes = list(ListKind::kKeyVcodes, dict, 0, 10, 32, &entries, &bytes);
  EXPECT_EQ(entries, 3u);
  EXPECT_EQ(bytes, 7u);
  EXPECT_EQ(vcodes.substr(0, 9), std::string("a1bb2c3\0#", 9));
}

TEST_F(Browse, ListStopsAtTheFirstEntryThatDoesNotFit) {
  HDICT* dict = open(kEnglish, {entry("a"), entry("bb"), entry("c")});
  struct Case {
    uint32_t size;
    uint32_t entries;
  };
  // Entries take 3, 4 and 3 bytes; one more byte holds the final zero.
  const Case cases[] = {{3, 0}, {4, 1}, {7, 1}, {8, 2}, {10, 2}, {11, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    uint32_t entries = 99;
    std::string bytes = list(ListKind::kKeys, dict, 0, 10, c.size, &entries);
    EXPECT_EQ(entries, c.entries);
    uint32_t used = c.entries == 0 ? 0 : c.entries == 1 ? 3 : c.entries == 2 ? 7 : 10;
    EXPECT_EQ(bytes[used], '\0');
    EXPECT_EQ(bytes.find('#'), used + 1 == c.size ? std::string::npos : used + 1);
  }
}

TEST_F(Browse, BatchAndSteppingGiveTheSameWindows) {
  std::vector<StoredRecord> records;
  for (int i = 0; i < 60; ++i) {
    std::string key = std::string(1, char('a' + i % 26)) + std::string(size_t(1 + i % 9), 'x') +
                      std::string(1, char('a' + i / 26));
    records.push_back(entry(key, i % 3 == 0 ? 0x7F010101 : kEnglish, 0, char('A' + i % 20)));
  }
  HDICT* dict = open(kEnglish, records);
  for (ListKind kind : {ListKind::kKeys, ListKind::kWords, ListKind::kKeyVcodes}) {
    for (uint32_t start : {0u, 1u, 17u, 58u, 59u, 60u, 61u}) {
      for (uint32_t count : {1u, 7u, 100u}) {
        for (uint32_t size : {3u, 25u, 2000u}) {
          SCOPED_TRACE(::testing::Message()
                       << int(kind) << " " << start << " " << count << " " << size);
          uint32_t batchEntries = 0, batchBytes = 0, stepEntries = 0, stepBytes = 0;
          StoreDouble::instance().failSearchFrom = 0;
          std::string batch = list(kind, dict, start, count, size, &batchEntries, &batchBytes);
          StoreDouble::instance().failSearchFrom = 1;
          std::string stepped = list(kind, dict, start, count, size, &stepEntries, &stepBytes);
          EXPECT_EQ(batch, stepped);
          EXPECT_EQ(batchEntries, stepEntries);
          EXPECT_EQ(batchBytes, stepBytes);
          EXPECT_LE(batchEntries, count);
          if (start >= 60) {
            EXPECT_EQ(batchEntries, 0u);
          }
        }
      }
    }
  }
  StoreDouble::instance().failSearchFrom = 0;
}

TEST_F(Browse, BadListArgumentsWriteOnlyTheEmptyValue) {
  HDICT* dict = open(kEnglish, {entry("a"), entry("b")});
  uint32_t entries = 7, bytes = 7;
  char buffer[8];
  struct Case {
    const char* what;
    HDICT* dict;
    uint32_t start, count, size;
  };
  const Case cases[] = {{"size 0", dict, 0, 5, 0},  {"size 1", dict, 0, 5, 1},
                        {"size 2", dict, 0, 5, 2},  {"start past all", dict, 0xFFFFFFFF, 5, 8},
                        {"count 0", dict, 0, 0, 8}, {"no dictionary", nullptr, 0, 5, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::memset(buffer, '#', sizeof buffer);
    entries = 7;
    EXPECT_EQ(
        fetchList(ListKind::kKeys, c.dict, c.start, c.count, buffer, c.size, &entries, nullptr),
        0u);
    EXPECT_EQ(entries, 0u);
    EXPECT_EQ(buffer[0], c.size == 0 ? '#' : '\0');
    EXPECT_EQ(buffer[1], '#');
  }
  // Unwritable counters: nothing is written through them; the buffer is still cleared.
  orvia::testing::ReadOnlyPage page;
  auto* readOnly = static_cast<uint32_t*>(page.get());
  ASSERT_NE(readOnly, nullptr);
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(fetchList(ListKind::kKeys, dict, 0, 5, buffer, 8, readOnly, nullptr), 0u);
  EXPECT_EQ(buffer[0], '\0');
  std::memset(buffer, '#', sizeof buffer);
  entries = 7;
  EXPECT_EQ(fetchList(ListKind::kKeyVcodes, dict, 0, 5, buffer, 8, &entries, readOnly), 0u);
  EXPECT_EQ(entries, 0u);  // cleared where it can be written, though bytes cannot be
  EXPECT_EQ(fetchList(ListKind::kKeys, dict, 0, 5, reinterpret_cast<char*>(readOnly), 8, &entries,
                      nullptr),
            0u);
  EXPECT_EQ(entries, 0u);
  (void)bytes;
}

TEST_F(Browse, VcodeListOnlyForInstalledEnglish) {
  HDICT* memory = open(0xFF010101, {entry("a")});
  HDICT* other = open(0x00010106, {entry("a")});
  for (HDICT* dict : {memory, other}) {
    uint32_t entries = 9, bytes = 9;
    std::string out = list(ListKind::kKeyVcodes, dict, 0, 5, 8, &entries, &bytes);
    EXPECT_EQ(entries, 0u);
    EXPECT_EQ(bytes, 0u);
    EXPECT_EQ(out[0], '\0');
  }
}

TEST_F(Browse, LevelFilterStepsOverOtherLevels) {
  HDICT* dict =
      open(kEnglish, {entry("a", kEnglish, 3), entry("b", kEnglish, 1), entry("c", kEnglish, 2),
                      entry("d", kEnglish, 1), entry("e", kEnglish, 3), entry("f", kEnglish, 2)});
  HWORD* word = dicSearchRecord(dict, 1);  // "b", level 1
  ASSERT_NE(word, nullptr);
  uint32_t n = 0;
  ASSERT_EQ(dicNext(word, 3), 1);
  EXPECT_EQ((dicGetHandleInfo(word, 1, &n), n), 4u);
  EXPECT_EQ(dicNext(word, 3), 0);  // no level 3 after "e"
  EXPECT_EQ((dicGetHandleInfo(word, 1, &n), n), 4u);
  ASSERT_EQ(dicPrev(word, 3), 1);
  EXPECT_EQ((dicGetHandleInfo(word, 1, &n), n), 0u);
  EXPECT_EQ(dicPrev(word, 0), 0);  // at record 0
  ASSERT_EQ(dicNext(word, 2), 1);
  EXPECT_EQ((dicGetHandleInfo(word, 1, &n), n), 2u);
  EXPECT_EQ((dicGetHandleInfo(word, 4, &n), n), 2u);
  ASSERT_EQ(dicNext(word, 0), 1);
  EXPECT_EQ((dicGetHandleInfo(word, 1, &n), n), 3u);
  EXPECT_EQ(dicNext(word, 256), 0);
  ASSERT_EQ(dicNext(word, 2), 1);
  EXPECT_EQ((dicGetHandleInfo(word, 1, &n), n), 5u);
  EXPECT_EQ(dicNext(word, 0), 0);  // past the last record
  EXPECT_EQ((dicGetHandleInfo(word, 1, &n), n), 5u);
  dicFreeHWORD(word);
  EXPECT_EQ(dicGetWordCount(dict), 6u);
  EXPECT_EQ(dicGetWordCount(nullptr), 0u);
}

TEST_F(Browse, HandleInfoAndHomeRecords) {
  HDICT* records = open(0x7F010101, {entry("alpha", 0x7F010101), entry("zeta", 0x7F010101)});
  HDICT* dict =
      open(kEnglish, {entry("aardvark"), entry("zeta", 0x7F010101), entry("zz", 0x7F010101)});
  ASSERT_NE(records, nullptr);
  HWORD* own = dicSearchRecord(dict, 0);
  HWORD* inRecords = dicSearchRecord(dict, 1);
  HWORD* lost = dicSearchRecord(dict, 2);
  uint32_t out = 1;
  EXPECT_EQ(dicGetHandleInfo(own, 3, &out), 1);
  EXPECT_EQ(out, 0u);
  EXPECT_EQ(dicGetHandleInfo(inRecords, 3, &out), 1);
  EXPECT_EQ(out, 0x7F000001u);  // "zeta" is record 1 of the record dictionary
  EXPECT_EQ(dicGetHandleInfo(lost, 3, &out), 1);
  EXPECT_EQ(out, kNoHomeRecord);
  EXPECT_EQ(dicGetHandleInfo(own, 2, &out), 1);
  EXPECT_EQ(out, kEnglish);
  for (uint32_t what : {0u, 5u, 0xFFFFFFFFu}) {
    out = 1;
    EXPECT_EQ(dicGetHandleInfo(own, what, &out), 0);
    EXPECT_EQ(out, 0u);
  }
  EXPECT_EQ(dicGetHandleInfo(nullptr, 1, &out), 0);
  EXPECT_EQ(dicGetHandleInfo(own, 1, nullptr), 0);
  EXPECT_EQ(StoreDouble::instance().openHandles, 2);  // temporary handles are closed
  dicFreeHWORD(own);
  dicFreeHWORD(inRecords);
  dicFreeHWORD(lost);
}

}  // namespace
}  // namespace orvia::dict
