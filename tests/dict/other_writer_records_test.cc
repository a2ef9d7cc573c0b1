// Index records whose strings lack terminators, as other writers leave them: read as far
// as they go, through the exports, in the store double.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/bytes.h"
#include "support/case_table.h"
#include "support/content_files.h"
#include "support/dictionary_fixtures.h"
#include "support/golden.h"

namespace orvia::dict {
namespace {

using orvia::testing::StoreDouble;
using orvia::testing::StoredRecord;

constexpr uint32_t kEnglish = 0x00010101;

class OtherWriterDictionary : public testing::MemoryDictionaryFixture {
 protected:
  void SetUp() override {
    MemoryDictionaryFixture::SetUp();
    std::string texts = testing::goldenBytes("content/head.hex");
    for (const char* text : {"apple~!", "bank~!", "cherry~!", "date~!"})
      texts += testing::contentRecord(0, testing::kNoContinuation, text);
    testing::writeFileBytes(dir_.file("00010101.DAT"), texts);
    const std::string index = testing::goldenBytes("index/other_writer.hex");
    std::vector<StoredRecord> records;
    for (size_t at = 0; at < index.size();) {
      const auto* record = reinterpret_cast<const uint8_t*>(index.data() + at);
      const uint32_t length = loadU32Le(record);
      records.push_back(
          {loadU32Le(record + 4), loadU32Le(record + 8), index.substr(at + 16, length - 16)});
      at += length;
    }
    dict_ = openMemoryDictionary(kEnglish, records);
    ASSERT_NE(dict_, nullptr);
    std::string name = "00010101.DAT";
    name.resize(kFileNameBufferSize, '\0');
    StoreDouble::instance().contentNames[dir_.file("00010101.IDX")][kEnglish] = name;
  }

  HDICT* dict_ = nullptr;
};

TEST_F(OtherWriterDictionary, SearchLandsOnEveryRecordAndReadsItsKeyWordAndContent) {
  for (const testing::CaseRow& c : testing::caseTable("index/other_writer_words.txt")) {
    SCOPED_TRACE(c.line);
    HWORD* word = dicSearchWord(dict_, c.bytes(0)->c_str());
    ASSERT_NE(word, nullptr);
    uint32_t number = 0xFFFFFFFF;
    EXPECT_EQ(dicGetHandleInfo(word, 1, &number), 1);
    EXPECT_EQ(number, uint32_t(c.number(1)));
    char text[1100] = {};
    EXPECT_EQ(dicGetKey(word, text, sizeof text), 1);
    EXPECT_EQ(std::string(text), *c.bytes(2));
    EXPECT_EQ(dicGetWordSize(word), uint32_t(c.number(3)));
    EXPECT_EQ(dicGetContent(word, kEnglish, text, sizeof text), c.bytes(4)->size());
    EXPECT_EQ(std::string(text), *c.bytes(4));
    EXPECT_EQ(dicFreeHWORD(word), 1);
  }
}

TEST_F(OtherWriterDictionary, NextAndListWindowsPassEveryRecord) {
  HWORD* word = dicSearchRecord(dict_, 0);
  ASSERT_NE(word, nullptr);
  uint32_t number = 0;
  for (uint32_t n = 1; n < 4; ++n) {
    ASSERT_EQ(dicNext(word, 0), 1);
    EXPECT_EQ(dicGetHandleInfo(word, 1, &number), 1);
    EXPECT_EQ(number, n);
  }
  EXPECT_EQ(dicNext(word, 0), 0);
  EXPECT_EQ(dicFreeHWORD(word), 1);

  const std::string keys("\0apple\0\0Bank\0\0cherry\0\0date\0", 27);
  // Each vcode is the record's last byte, a letter of the string that ran to its end.
  const std::string keyVcodes = std::string("apple\xb8") + "Bankk" + "cherryy" + "date.";
  for (bool stepping : {false, true}) {
    SCOPED_TRACE(stepping ? "record by record" : "one batch");
    if (stepping) StoreDouble::instance().failSearchFrom = 1;
    char list[64];
    uint32_t entries = 0, bytes = 0;
    EXPECT_EQ(dicGetKeyList(dict_, 0, 4, list, sizeof list, &entries), 4u);
    EXPECT_EQ(std::string(list, keys.size() + 1), keys + '\0');
    EXPECT_EQ(dicGetKeyVcodeList(dict_, 0, 4, list, sizeof list, &entries, &bytes), 4u);
    EXPECT_EQ(std::string(list, bytes), keyVcodes);
  }
}

}  // namespace
}  // namespace orvia::dict
