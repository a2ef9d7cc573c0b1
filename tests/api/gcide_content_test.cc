// Every GCIDE entry compiled, then read back through the exports: each record's content
// is exactly one source entry's text as the compiler converts it, every source entry is
// read back once, and each record is found again by its stored key.
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "compile/content/entry_text.h"
#include "compile/dictionary_compiler.h"
#include "compile/source/dictd_source.h"
#include "dict/word_handle.h"
#include "orviadic.h"
#include "support/registry_fixture.h"
#include "test_key.h"
#include "text/code_page.h"

namespace {

constexpr uint32_t kGcide = 0x00010101;
constexpr char kSource[] = "/usr/share/dictd/gcide";

// Under the sanitizers only every few records are searched and read.
#if defined(__SANITIZE_ADDRESS__)
constexpr uint32_t kReadEvery = 13;
#else
constexpr uint32_t kReadEvery = 1;
#endif

std::unique_ptr<orvia::compile::EntrySource> openSource(orvia::compile::WithText withText,
                                                        std::string* problem) {
  auto source = std::make_unique<orvia::compile::DictdSource>();
  if (source->open(kSource, withText, orvia::compile::DictdSource::Order::kBody)) return source;
  *problem = source->problem();
  return nullptr;
}

// How many source entries convert to each text, by the text's hash.
std::unordered_map<size_t, uint32_t> expectedTexts() {
  std::unordered_map<size_t, uint32_t> texts;
  std::string problem;
  auto source = openSource(orvia::compile::WithText::kYes, &problem);
  EXPECT_NE(source, nullptr) << problem;
  if (source == nullptr) return texts;
  orvia::text::CodePageConverter converter(orvia::text::codePageName(1));
  orvia::compile::SourceEntry entry;
  std::string text;
  for (;;) {
    orvia::compile::ReadResult result = source->next(&entry);
    if (result == orvia::compile::ReadResult::kEnd) break;
    EXPECT_EQ(result, orvia::compile::ReadResult::kEntry) << source->problem();
    if (result != orvia::compile::ReadResult::kEntry) break;
    EXPECT_TRUE(orvia::compile::makeEntryText(entry.headword, entry.text, converter, &text));
    ++texts[std::hash<std::string>()(text)];
  }
  return texts;
}

class GcideContent : public orvia::testing::RegistryFixture {
 protected:
  void SetUp() override {
    if (access("/usr/share/dictd/gcide.index", R_OK) != 0)
      GTEST_SKIP() << "the dict-gcide package is not installed";
    RegistryFixture::SetUp();
    orvia::compile::DictionaryCompileOptions options;
    options.dictId = kGcide;
    options.folder = dir_.path();
    std::string problem;
    ASSERT_TRUE(
        orvia::compile::compileDictionary(openSource, options, nullptr, &compiled_, &problem))
        << problem;
    writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n");
    ASSERT_EQ(orvia::testing::pointLibraryAtTestKey(), 1);
    dict_ = dicCreateHDICT(kGcide);
    ASSERT_NE(dict_, nullptr);
  }
  void TearDown() override {
    if (dict_ != nullptr) dicFreeHDICT(dict_);
  }

  orvia::compile::CompiledDictionary compiled_;
  HDICT* dict_ = nullptr;
};

TEST_F(GcideContent, EveryEntryReadsBackAsItsSourceText) {
  std::unordered_map<size_t, uint32_t> expected = expectedTexts();
  const uint32_t count = dicGetWordCount(dict_);
  ASSERT_EQ(count, compiled_.index.recordCount);
  std::string text;
  uint32_t unmatched = 0, lost = 0, read = 0;
  for (uint32_t n = 0; n < count; ++n) {
    HWORD* word = dicSearchRecord(dict_, n);
    ASSERT_NE(word, nullptr) << "record " << n;
    if (n % kReadEvery == 0) {
      orvia::dict::IndexRecordView view;
      ASSERT_TRUE(orvia::dict::wordRecord(word, &view));
      HWORD* again = dicSearchWord(dict_, view.searchKey);
      uint32_t found = 0xFFFFFFFF;
      dicGetHandleInfo(again, 1, &found);
      EXPECT_EQ(found, n) << "the stored key " << view.searchKey << " leads elsewhere";
      dicFreeHWORD(again);
      const uint32_t size = dicGetContentSize(word, kGcide);
      text.assign(size_t(size) + 1, '\0');
      ASSERT_EQ(dicGetContent(word, kGcide, text.data(), size + 1), size) << "record " << n;
      text.resize(size);
      auto match = expected.find(std::hash<std::string>()(text));
      if (match == expected.end() || match->second == 0) {
        if (++unmatched <= 5) ADD_FAILURE() << "record " << n << " reads back as " << text;
      } else {
        --match->second;
      }
      ++read;
    }
    dicFreeHWORD(word);
  }
  for (const auto& [hash, left] : expected) lost += left;
  EXPECT_EQ(unmatched, 0u);
  if (kReadEvery == 1) {
    EXPECT_EQ(lost, compiled_.index.skipped.size()) << "entries never read back";
  }
  RecordProperty("records", int(count));
  RecordProperty("read", int(read));
}

}  // namespace
