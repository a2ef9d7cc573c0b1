// The whole GCIDE, as the dict-gcide package installs it, compiled and read back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "compile/content/entry_text.h"
#include "compile/source/dictd_source.h"
#include "support/compiled_dictionary.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

constexpr uint32_t kGcide = 0x00010101;

#if defined(__SANITIZE_ADDRESS__)
constexpr uint64_t kEntriesChecked = 20000;  // a prefix in body order: the whole takes minutes
#else
constexpr uint64_t kEntriesChecked = UINT64_MAX;
#endif

// GCIDE in the order of its texts, ending after kEntriesChecked entries.
class GcidePrefix : public EntrySource {
 public:
  bool open(WithText withText) {
    return source_.open("/usr/share/dictd/gcide", withText, DictdSource::Order::kBody);
  }
  ReadResult next(SourceEntry* entry) override {
    return given_++ == kEntriesChecked ? ReadResult::kEnd : source_.next(entry);
  }
  const std::string& problem() const override { return source_.problem(); }
  uint64_t bytesRead() const override { return source_.bytesRead(); }
  uint64_t totalBytes() const override { return source_.totalBytes(); }

 private:
  DictdSource source_;
  uint64_t given_ = 0;
};

// Every entry has a text; the compiled index is in collation order, each record before
// the next; every record's content, read at its locator, is the converted text of an
// entry, each entry's once; only entries the index left out have no record.
TEST(CompiledGcide, RecordsAreInOrderAndReadBackAsTheirEntrysConvertedText) {
  if (access("/usr/share/dictd/gcide.index", R_OK) != 0)
    GTEST_SKIP() << "the dict-gcide package is not installed";
  auto open = [](WithText withText, std::string* why) -> std::unique_ptr<EntrySource> {
    auto source = std::make_unique<GcidePrefix>();
    if (source->open(withText)) return source;
    *why = source->problem();
    return nullptr;
  };
  orvia::testing::TempDir dir;
  const CompiledDictionary result =
      orvia::testing::compileFrom(open, kGcide, dir.path(), EntryEncoding::kSmallest);

  std::string problem;
  std::unique_ptr<EntrySource> source = open(WithText::kYes, &problem);
  ASSERT_NE(source, nullptr) << problem;
  text::CodePageConverter converter("WINDOWS-1252");
  SourceEntry entry;
  std::string expected;
  std::unordered_map<std::string, size_t> unread;  // every entry's text, by count
  size_t entries = 0, apples = 0;
  for (ReadResult r; (r = source->next(&entry)) != ReadResult::kEnd; ++entries) {
    ASSERT_EQ(r, ReadResult::kEntry) << source->problem();
    ASSERT_FALSE(entry.text.empty()) << entry.headword;
    apples += entry.headword == "Apple" && entry.text.find("fruit") != std::string::npos;
    ASSERT_TRUE(makeEntryText(entry.headword, entry.text, converter, &expected));
    ++unread[expected];
  }
  if (kEntriesChecked == UINT64_MAX) {
    EXPECT_GT(entries, 200000u);
    EXPECT_EQ(apples, 1u);
  }

  const std::vector<orvia::testing::RecordContent> contents =
      orvia::testing::readRecordContents(dir.path(), kGcide);
  ASSERT_EQ(contents.size(), result.index.recordCount);
  DbCompareFn compare = lang::getCompareKeysFn(1);
  size_t disorder = 0, unmatched = 0;
  for (size_t i = 0; i < contents.size(); ++i) {
    const orvia::testing::StoredRecord& record = contents[i].record;
    const std::string& before = i > 0 ? contents[i - 1].record.searchKey : "";
    if (i > 0 && compare(before.c_str(), record.searchKey.c_str()) >= 0 && ++disorder <= 10)
      ADD_FAILURE() << before << " is not before " << record.searchKey;
    auto text = unread.find(contents[i].text);
    if (text != unread.end() && text->second > 0) {
      --text->second;
    } else if (++unmatched <= 5) {
      ADD_FAILURE() << "the record of \"" << record.key << "\" at " << record.locator << " reads \""
                    << contents[i].text.substr(0, 80) << "\"";
    }
  }
  EXPECT_EQ(disorder, 0u);
  EXPECT_EQ(unmatched, 0u);
  size_t left = 0;
  for (const auto& [text, count] : unread) left += count;
  EXPECT_EQ(left, result.index.skipped.size());
  if (kEntriesChecked == UINT64_MAX) {
    EXPECT_GT(result.data.bytes, 16u << 20);
    EXPECT_TRUE(std::any_of(contents.begin(), contents.end(), [](const auto& c) {
      return c.record.extended && c.record.locator > 0xFFFFFFu;
    }));
  }
}

}  // namespace
}  // namespace orvia::compile
