// Dictionary ids, file names and index records; opening and freeing dictionaries over the
// store double, and why opening failed.
#include "dict/dictionary.h"

#include <gtest/gtest.h>

#include "dict/dict_id.h"
#include "dict/failure_text.h"
#include "dict/index_record.h"
#include "support/case_table.h"
#include "support/dictionary_fixtures.h"
#include "support/golden.h"
#include "support/heap_failures.h"

namespace orvia::dict {
namespace {

using namespace orvia::testing;

TEST(DictId, KindsAndLanguages) {
  forEachCase("dict/ids.txt", [&](const CaseRow& c) {
    const uint32_t id = uint32_t(c.number(0));
    const int64_t got[] = {isValidDictId(id), isCompanion(id), isUserEntryId(id),
                           isMemoryFormId(id), lang::languageOf(id)};
    for (size_t i = 0; i < std::size(got); ++i) EXPECT_EQ(got[i], c.number(i + 1)) << i;
  });
}

TEST(DictId, CompatibilityHasWildcardsInTheLanguageBytesOnly) {
  forEachCase("dict/compatible_ids.txt", [&](const CaseRow& c) {
    EXPECT_EQ(dictIdsCompatible(uint32_t(c.number(0)), uint32_t(c.number(1))), c.number(2) != 0);
    EXPECT_EQ(dictIdsCompatible(uint32_t(c.number(1)), uint32_t(c.number(0))), c.number(2) != 0);
  });
}

TEST(IndexRecord, GoldenFiles) {
  forEachCase("index/records.txt", [&](const CaseRow& c) {
    const std::string bytes = goldenBytes("index/" + c.fields.at(0));
    IndexRecordView v;
    ASSERT_EQ(parseIndexRecord(reinterpret_cast<const uint8_t*>(bytes.data()),
                               uint32_t(bytes.size()), &v),
              c.number(1) != 0);
    if (c.number(1) == 0) return;
    const int64_t numbers[] = {v.recordLength, v.contentDictId, v.contentRef,
                               v.level(),      v.recordNumber,  v.searchKeyLength,
                               v.keyLength(),  v.wordLength(),  v.lastByte};
    for (size_t i = 0; i < std::size(numbers); ++i) EXPECT_EQ(numbers[i], c.number(i + 2)) << i;
    EXPECT_EQ(c.list(11), std::vector<std::string>({v.searchKey, v.key(), v.word()}));
  });
}

class Dictionary : public ConfigFixture {
 protected:
  void SetUp() override {
    ConfigFixture::SetUp();
    StoreDouble::instance().reset();
    writeDictKey("\"00010201Path\"=\"" + dir_.path() + "\"\r\n\"PATH\"=\"" + dir_.path() +
                 "\"\r\n");
  }
  StoreDouble& store_ = StoreDouble::instance();
};

// Each failure gives the export a null handle (a refused close, 0) and names its cause
// inside; the handle's block is allocated before anything is opened.
TEST_F(Dictionary, FailuresGiveNullAndNameTheirCause) {
  HDICT temporary{0, nullptr};
  for (uint32_t id : {0x00000203u, 0x00010003u, 0x00010200u}) {
    EXPECT_EQ(dicCreateHDICT(id), nullptr);
    EXPECT_EQ(openDictionary(&temporary, id).cause(), Cause::kInvalidId);
    EXPECT_EQ(temporary.dictId, id);  // stored before the check
  }
  EXPECT_EQ(dicCreateHDICT(0x00010201), nullptr);
  EXPECT_EQ(openDictionary(&temporary, 0x00010201).cause(), Cause::kFileMissing);
  EXPECT_EQ(probeOpen(0x00010201).cause(), Cause::kFileMissing);
  writeFileBytes(dir_.file("00010201.IDX"), "x");
  HDICT* created = nullptr;
  injectAllocationFailure(1);
  EXPECT_EQ(createDictionary(0x00010201, &created).cause(), Cause::kOutOfMemory);
  injectAllocationFailure(0);
  EXPECT_EQ(store_.opens, 0);
  HDICT* dict = dicCreateHDICT(0x00010201);
  ASSERT_NE(dict, nullptr);
  store_.refuseClose = true;
  EXPECT_EQ(dicFreeHDICT(dict), 0);
  EXPECT_NE(dict->db, nullptr);
  store_.refuseClose = false;
  EXPECT_EQ(dicFreeHDICT(dict), 1);
  writeDictKey("");  // no path at all
  EXPECT_EQ(dicCreateHDICT(0x00010201), nullptr);
  EXPECT_EQ(openDictionary(&temporary, 0x00010201).cause(), Cause::kNotConfigured);
}

TEST_F(Dictionary, FailuresAreToldInOneLineOrByTheirCause) {
  for (const CaseRow& c : caseTable("dict/failure_texts.txt")) {
    const Status status(Cause(c.number(1)), uint32_t(c.number(2)));
    std::string expected = *c.bytes(3);
    const size_t at = expected.find("{index}");
    if (at != std::string::npos) expected.replace(at, 7, dir_.file("00010201.IDX"));
    EXPECT_EQ(c.fields[0] == "line" ? describeFailure(0x00010201, status) : describeCause(status),
              expected)
        << c.line;
  }
}

}  // namespace
}  // namespace orvia::dict
