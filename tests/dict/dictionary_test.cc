// Opening and freeing dictionaries over the store double, and why opening failed.
#include "dict/dictionary.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dict/failure_text.h"
#include "support/dictionary_fixtures.h"
#include "support/heap_failures.h"

namespace orvia::dict {
namespace {

using orvia::testing::StoreDouble;

class Dictionary : public orvia::testing::ConfigFixture {
 protected:
  void SetUp() override {
    ConfigFixture::SetUp();
    StoreDouble::instance().reset();
    writeDictKey("\"00010201Path\"=\"" + dir_.path() + "\"\r\n\"PATH\"=\"" + dir_.path() +
                 "\"\r\n");
  }
  void touch(const char* name) { orvia::testing::writeFileBytes(dir_.file(name), "x"); }
  StoreDouble& store_ = StoreDouble::instance();
};

// A companion opens its own index; codes of 10 and more open with no language.
TEST_F(Dictionary, OpensTheIndexWithItsLanguagesCollation) {
  for (const char* name : {"00010201.IDX", "FF010201.IDX", "0001010C.IDX"}) touch(name);
  for (uint32_t id : {0x00010201u, 0xFF010201u, 0x0001010Cu}) {
    HDICT* dict = dicCreateHDICT(id);
    ASSERT_NE(dict, nullptr);
    EXPECT_EQ(dict->dictId, id);
    EXPECT_EQ(dicFreeHDICT(dict), 1);
  }
  const std::vector<std::string> paths = {dir_.file("00010201.IDX"), dir_.file("FF010201.IDX"),
                                          dir_.file("0001010C.IDX")};
  EXPECT_EQ(store_.openedPaths, paths);
  const std::vector<DbCompareFn> compares = {lang::getCompareKeysFn(1), lang::getCompareKeysFn(1),
                                             lang::getCompareKeysFn(0)};
  EXPECT_EQ(store_.compares, compares);
  EXPECT_EQ(store_.openHandles, 0);
}

TEST_F(Dictionary, FailuresOpenNothingAndFreeTheBlock) {
  for (uint32_t id : {0x00000203u, 0x00010003u, 0x00010200u})
    EXPECT_EQ(dicCreateHDICT(id), nullptr);
  EXPECT_EQ(dicCreateHDICT(0x00010201), nullptr);  // no index file
  touch("00010201.IDX");
  testing::injectAllocationFailure(1);
  EXPECT_EQ(dicCreateHDICT(0x00010201), nullptr);
  testing::injectAllocationFailure(0);
  EXPECT_TRUE(store_.openedPaths.empty());
  writeDictKey("");  // no path at all
  EXPECT_EQ(dicCreateHDICT(0x00010201), nullptr);
}

TEST_F(Dictionary, RefusedCloseKeepsTheHandle) {
  touch("00010201.IDX");
  HDICT* dict = dicCreateHDICT(0x00010201);
  ASSERT_NE(dict, nullptr);
  store_.refuseClose = true;
  EXPECT_EQ(dicFreeHDICT(dict), 0);
  EXPECT_NE(dict->db, nullptr);
  store_.refuseClose = false;
  EXPECT_EQ(dicFreeHDICT(dict), 1);
  EXPECT_EQ(dicFreeHDICT(nullptr), 0);
}

TEST_F(Dictionary, OpeningNamesWhyItFailed) {
  HDICT temporary{0, nullptr};
  EXPECT_EQ(openDictionary(&temporary, 0x00000201).cause(), Cause::kInvalidId);
  EXPECT_EQ(temporary.dictId, 0x00000201u);  // stored before the check
  EXPECT_EQ(openDictionary(&temporary, 0x00010201).cause(), Cause::kFileMissing);
  EXPECT_EQ(probeOpen(0x00010201).cause(), Cause::kFileMissing);
  touch("00010201.IDX");
  EXPECT_TRUE(probeOpen(0x00010201).ok());
  EXPECT_EQ(store_.openHandles, 0);  // the probe closes what it opened
  HDICT* created = nullptr;
  testing::injectAllocationFailure(1);
  EXPECT_EQ(createDictionary(0x00010201, &created).cause(), Cause::kOutOfMemory);
  testing::injectAllocationFailure(0);
  ASSERT_TRUE(openDictionary(&temporary, 0x00010201).ok());
  EXPECT_TRUE(closeDictionary(&temporary).ok());
  EXPECT_EQ(temporary.db, nullptr);
  EXPECT_TRUE(closeDictionary(&temporary).ok());  // already closed
  writeDictKey("");
  EXPECT_EQ(openDictionary(&temporary, 0x00010201).cause(), Cause::kNotConfigured);
}

TEST_F(Dictionary, FailuresAreToldInOneLineWithTheIdAndTheFile) {
  const std::string index = dir_.file("00010201.IDX");
  const std::pair<Status, std::string> cases[] = {
      {Cause::kOk, "0x00010201: no failure"},
      {Cause::kInvalidId,
       "0x00010201 is not a valid dictionary id (its three low bytes must be non-zero)"},
      {Cause::kNotConfigured,
       "0x00010201: no usable registry value 00010201Path, its base's Path or PATH"},
      {Cause::kFileMissing, "0x00010201: no index file " + index},
      {Cause::kNotAnIndex, "0x00010201: the index " + index +
                               " is damaged at offset 0: not an index of the store double"},
      {Cause::kEmpty, "0x00010201: the dictionary has no records"},
      {Cause::kStoreFailed, "0x00010201: the record store failed to read the index " + index},
      {Cause::kReadFailed, "0x00010201: a file that cannot be opened or read"},
      {{Cause::kDamaged, 812}, "0x00010201: damaged data at offset 812"},
      {{Cause::kTruncated, 40}, "0x00010201: data that ends early at offset 40"},
      {Cause::kNoRoom, "0x00010201: more text than the buffer holds"},
      {Cause::kOutOfMemory, "0x00010201: out of memory"},
  };
  for (const auto& [status, expected] : cases)
    EXPECT_EQ(describeFailure(0x00010201, status), expected);
}

// A failure the caller places itself (an entry's content) is told by its cause alone:
// every cause has a phrase of its own, and the offset goes with the ones found at a place.
TEST(DescribeCause, EveryCauseHasItsOwnPhrase) {
  std::set<std::string> phrases;
  for (int cause = 0; cause <= int(Cause::kOutOfMemory); ++cause) {
    const std::string phrase = describeCause(Status(Cause(cause), 7));
    EXPECT_EQ(phrase.find("unknown"), std::string::npos) << cause;
    EXPECT_EQ(phrase.find(" 7") != std::string::npos,
              Cause(cause) == Cause::kDamaged || Cause(cause) == Cause::kTruncated)
        << phrase;
    phrases.insert(phrase);
  }
  EXPECT_EQ(phrases.size(), size_t(Cause::kOutOfMemory) + 1);
}

}  // namespace
}  // namespace orvia::dict
