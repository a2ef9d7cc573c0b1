// Looking GCIDE's own headwords and misspellings of them up through the exports.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "compile/compile_entries.h"
#include "compile/index/index_compiler.h"
#include "compile/index/index_writer.h"
#include "compile/source/dictd_source.h"
#include "dict/index_record.h"
#include "orviadb.h"
#include "orviadic.h"
#include "support/registry_fixture.h"
#include "test_key.h"

namespace {

constexpr uint32_t kGcide = 0x00010101;

// The search key without its homograph number: what a user types for the headword.
std::string bareKey(const std::string& searchKey) {
  size_t at = searchKey.rfind('@');
  if (at == std::string::npos ||
      searchKey.find_first_not_of("0123456789", at + 1) != std::string::npos)
    return searchKey;
  return searchKey.substr(0, at);
}

class GcideSearch : public orvia::testing::RegistryFixture {
 protected:
  static void SetUpTestSuite() {
    if (access("/usr/share/dictd/gcide.index", R_OK) != 0) return;
    folder_ = new orvia::testing::TempDir();
    orvia::compile::DictdSource source;
    ASSERT_TRUE(source.open("/usr/share/dictd/gcide", orvia::compile::WithText::kNo));
    orvia::compile::IndexCompiler compiler(kGcide);
    std::string problem;
    ASSERT_TRUE(orvia::compile::addAllEntries(source, compiler, nullptr, &problem)) << problem;
    orvia::compile::CompiledIndex index = compiler.finish();
    ASSERT_TRUE(orvia::compile::writeIndexFile(folder_->path(), kGcide, index, &problem))
        << problem;
    keys_ = new std::vector<std::string>();
    for (uint32_t at = 0; at < index.records.size();) {
      orvia::dict::IndexRecordView view;
      ASSERT_TRUE(orvia::dict::parseIndexRecord(index.records.data() + at,
                                                uint32_t(index.records.size() - at), &view));
      keys_->push_back(view.searchKey);
      at += view.recordLength;
    }
  }
  static void TearDownTestSuite() {
    delete folder_;
    delete keys_;
    folder_ = nullptr;
    keys_ = nullptr;
  }

  void SetUp() override {
    if (folder_ == nullptr) GTEST_SKIP() << "the dict-gcide package is not installed";
    RegistryFixture::SetUp();
    writeDictKey("\"PATH\"=\"" + folder_->path() + "\"\r\n");
    ASSERT_EQ(orvia::testing::pointLibraryAtTestKey(), 1);
    dict_ = dicCreateHDICT(kGcide);
    ASSERT_NE(dict_, nullptr);
  }
  void TearDown() override {
    if (dict_ != nullptr) dicFreeHDICT(dict_);
  }

  uint32_t lookUp(const std::string& word) {
    HWORD* found = dicSearchWord(dict_, word.c_str());
    uint32_t number = 0xFFFFFFFF;
    if (found != nullptr) dicGetHandleInfo(found, 1, &number);
    dicFreeHWORD(found);
    return number;
  }
  // The first record of the run that shares record n's bare key.
  uint32_t firstOfRun(uint32_t n) {
    std::string bare = bareKey((*keys_)[n]);
    while (n > 0 && bareKey((*keys_)[n - 1]) == bare) --n;
    return n;
  }

  static orvia::testing::TempDir* folder_;
  static std::vector<std::string>* keys_;
  HDICT* dict_ = nullptr;
};

orvia::testing::TempDir* GcideSearch::folder_ = nullptr;
std::vector<std::string>* GcideSearch::keys_ = nullptr;

TEST_F(GcideSearch, EveryHeadwordLandsOnItsOwnRecordOrItsHomographRun) {
  std::map<std::string, int> reasons;
  size_t exceptions = 0;
  for (uint32_t n = 0; n < keys_->size(); ++n) {
    const std::string& key = (*keys_)[n];
    uint32_t landed = lookUp(bareKey(key));
    if (landed == n || landed == firstOfRun(n)) continue;
    ++exceptions;
    const std::string& other = (*keys_)[landed];
    std::string reason = bareKey(other) == bareKey(key) ? "an equal key stands earlier"
                         : other.size() < key.size()    ? "lands on a shorter key"
                                                        : "lands elsewhere";
    if (++reasons[reason] <= 3)
      std::printf("  %s -> %s (%s)\n", key.c_str(), other.c_str(), reason.c_str());
  }
  std::printf("%zu headwords, %zu exceptions\n", keys_->size(), exceptions);
  for (const auto& [reason, count] : reasons) std::printf("  %s: %d\n", reason.c_str(), count);
  EXPECT_EQ(exceptions, 0u);
}

TEST_F(GcideSearch, ReportsTheShareOfMisspellingsLandingOnTheIntendedWord) {
  std::mt19937 rng(1000);
  int tried = 0, intended = 0;
  while (tried < 1000) {
    uint32_t n = uint32_t(rng() % keys_->size());
    std::string word = bareKey((*keys_)[n]);
    if (word.size() < 4 ||
        word.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos)
      continue;
    size_t at = 1 + rng() % (word.size() - 2);
    switch (tried % 3) {
      case 0:
        word.erase(at, 1);
        break;
      case 1:
        word.insert(at, 1, word[at]);
        break;
      default:
        std::swap(word[at], word[at + 1]);
        break;
    }
    ++tried;
    uint32_t landed = lookUp(word);
    if (landed != 0xFFFFFFFF && bareKey((*keys_)[landed]) == bareKey((*keys_)[n])) ++intended;
  }
  std::printf("%d of %d misspellings land on the intended word\n", intended, tried);
  EXPECT_GT(intended, 0);
}

}  // namespace
