#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "compile/source/tsv_source.h"
#include "compiled_index.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

using testing::compileInto;
using testing::readIndexFile;
using testing::StoredRecord;

constexpr uint32_t kEnglish = 0x00010101;

std::string wordsPath() {
  const char* source = std::getenv("ORVIADIC_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/data/words.tsv";
}

class CompiledWords : public ::testing::Test {
 protected:
  void SetUp() override {
    TsvSource source;
    ASSERT_TRUE(source.open(wordsPath(), WithText::kNo)) << source.problem();
    index_ = compileInto(source, kEnglish, dir_.path());
    records_ = readIndexFile(indexFilePath(dir_.path(), kEnglish), kEnglish);
  }

  const StoredRecord* find(const std::string& searchKey) const {
    for (const StoredRecord& r : records_)
      if (r.searchKey == searchKey) return &r;
    return nullptr;
  }

  orvia::testing::TempDir dir_;
  CompiledIndex index_;
  std::vector<StoredRecord> records_;
};

TEST_F(CompiledWords, EveryCompiledRecordComesBackInOrder) {
  ASSERT_EQ(records_.size(), index_.recordCount);
  EXPECT_EQ(records_.size(), 45u - 7u);  // 45 entries, 7 of them skipped
  DbCompareFn compare = lang::getCompareKeysFn(1);
  for (size_t i = 0; i < records_.size(); ++i) {
    EXPECT_EQ(records_[i].recordNumber, i);
    EXPECT_EQ(records_[i].contentDictId, kEnglish);
    if (i > 0) {
      EXPECT_LT(compare(records_[i - 1].searchKey.c_str(), records_[i].searchKey.c_str()), 0)
          << records_[i - 1].searchKey << " / " << records_[i].searchKey;
    }
  }
}

TEST_F(CompiledWords, RecordsShowWhatTheSourceSpells) {
  struct Row {
    const char* searchKey;
    const char* key;
    const char* word;
    uint8_t level, vcode;
  };
  const Row rows[] = {
      {"bank@1", "bank", "bank", 1, 0xB8},
      {"bank@3", "bank", "bank", 3, 0xB8},
      {"cafe@1", "caf\xE9", "caf\xE9", 1, 0xB8},
      {"cafe@2", "cafe", "cafe", 2, 0xB8},
      {"AEsir", "\xC6sir", "\xC6sir", 2, 0xB8},
      {"creme brulee",
       "cr\xE8me br\xFBl\xE9"
       "e",
       "cr\xE8me br\xFBl\xE9"
       "e",
       2, 0xB8},
      {"Big Apple", "Big Apple", "the Big Apple", 2, 0xB8},
      {"word", "word", "word", 1, 0x41},
      {"x-ray", "x-ray", "X-ray", 2, 200},
      {"-", "-", "-", 0, 0xB8},
  };
  for (const Row& row : rows) {
    const StoredRecord* r = find(row.searchKey);
    ASSERT_NE(r, nullptr) << row.searchKey;
    EXPECT_EQ(r->key, row.key) << row.searchKey;
    EXPECT_EQ(r->word, row.word) << row.searchKey;
    EXPECT_EQ(r->contentRef >> 24, row.level) << row.searchKey;
    EXPECT_EQ(r->lastByte, row.vcode) << row.searchKey;
  }
}

TEST_F(CompiledWords, ReportsTheSkippedEntries) {
  std::map<std::string, SkipReason> skipped;
  for (const SkippedEntry& s : index_.skipped) skipped[s.headword.substr(0, 8)] = s.reason;
  const std::map<std::string, SkipReason> expected = {
      {"at@home", SkipReason::kHoldsAt},
      {"   ", SkipReason::kEmptyKey},
      {"\xE2\x82\xAC"
       "uro",
       SkipReason::kNoAsciiSpelling},
      {"\xCE\xA9mega", SkipReason::kNotInCodePage},
      {"looooooo", SkipReason::kKeyTooLong},
      {"hooooooo", SkipReason::kKeyTooLong},
  };
  EXPECT_EQ(skipped, expected);
  EXPECT_EQ(index_.skipped.size(), 7u);
  EXPECT_EQ(index_.homographRuns, 3u);     // bank, cafe and the long pair
  EXPECT_EQ(index_.homographEntries, 5u);  // the long pair lost both
}

TEST_F(CompiledWords, TheStoreSeeksNumberedKeysAndNamesTheContentFile) {
  DBHANDLE db = dbOpen(indexFilePath(dir_.path(), kEnglish).c_str(), lang::getCompareKeysFn(1));
  ASSERT_NE(db, nullptr);
  uint8_t buffer[kDbMaxRecordSize];
  uint32_t size = sizeof buffer;
  ASSERT_NE(dbSeek(db, std::string("bank@2\0\0", 8).c_str()), 0);
  ASSERT_NE(dbGetRecord(db, &size, buffer), 0);
  dict::IndexRecordView view;
  ASSERT_TRUE(dict::parseIndexRecord(buffer, size, &view));
  EXPECT_STREQ(view.searchKey, "bank@2");
  char name[kDbContentNameSize] = {};
  size = sizeof name;
  ASSERT_NE(dbGetData(db, kEnglish, name, &size), 0);
  EXPECT_STREQ(name, "00010101.DAT");
  dbClose(db);
}

TEST_F(CompiledWords, CompilingAgainReplacesTheIndex) {
  TsvSource source;
  ASSERT_TRUE(source.open(wordsPath(), WithText::kNo));
  compileInto(source, kEnglish, dir_.path());
  EXPECT_EQ(readIndexFile(indexFilePath(dir_.path(), kEnglish), kEnglish).size(), records_.size());
}

}  // namespace
}  // namespace orvia::compile
