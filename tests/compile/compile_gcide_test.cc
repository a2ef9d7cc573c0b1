#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "compile/content/entry_text.h"
#include "compile/source/dictd_source.h"
#include "compiled_dictionary.h"
#include "compiled_index.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

constexpr uint32_t kGcide = 0x00010101;
const char kGcideBase[] = "/usr/share/dictd/gcide";

bool gcideInstalled() {
  return access("/usr/share/dictd/gcide.index", R_OK) == 0;
}

// Texts are read by offset from the dictzip body, in the index's order that jumps back
// and forth through it.
TEST(GcideSource, ReadsEveryEntrysText) {
  if (!gcideInstalled()) GTEST_SKIP() << "the dict-gcide package is not installed";
  DictdSource source;
  ASSERT_TRUE(source.open(kGcideBase, WithText::kYes)) << source.problem();
  SourceEntry entry;
  size_t entries = 0, empty = 0, apple = 0;
  for (ReadResult r; (r = source.next(&entry)) != ReadResult::kEnd;) {
    ASSERT_EQ(r, ReadResult::kEntry) << source.problem();
    ++entries;
    empty += entry.text.empty();
    if (entry.headword == "Apple" && entry.text.find("fruit") != std::string::npos) ++apple;
  }
  EXPECT_GT(entries, 200000u);
  EXPECT_EQ(empty, 0u);
  EXPECT_EQ(apple, 1u);
}

// The whole compiled index is in collation order: each record before the next.
TEST(CompiledGcide, CompareKeysOrdersTheWholeIndex) {
  if (!gcideInstalled()) GTEST_SKIP() << "the dict-gcide package is not installed";
  orvia::testing::TempDir dir;
  DictdSource source;
  ASSERT_TRUE(source.open(kGcideBase, WithText::kNo)) << source.problem();
  CompiledIndex index = testing::compileInto(source, kGcide, dir.path());
  std::vector<testing::StoredRecord> records =
      testing::readIndexFile(indexFilePath(dir.path(), kGcide), kGcide);
  ASSERT_EQ(records.size(), index.recordCount);
  EXPECT_GT(records.size(), 190000u);
  DbCompareFn compare = lang::getCompareKeysFn(1);
  size_t disorder = 0;
  for (size_t i = 1; i < records.size(); ++i) {
    if (compare(records[i - 1].searchKey.c_str(), records[i].searchKey.c_str()) >= 0 &&
        ++disorder <= 10)
      ADD_FAILURE() << records[i - 1].searchKey << " is not before " << records[i].searchKey;
  }
  EXPECT_EQ(disorder, 0u);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr uint64_t kEntriesChecked = 20000;  // a prefix in body order: the whole takes minutes
#else
constexpr uint64_t kEntriesChecked = UINT64_MAX;
#endif

// GCIDE in the order of its texts, ending after kEntriesChecked entries.
class GcidePrefix : public EntrySource {
 public:
  bool open(WithText withText) {
    return source_.open(kGcideBase, withText, DictdSource::Order::kBody);
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

// Every record's content, read at its locator, is the converted text of an entry, each
// entry's once; only entries the index left out have no record.
TEST(CompiledGcide, EveryRecordReadsBackAsItsEntrysConvertedText) {
  if (!gcideInstalled()) GTEST_SKIP() << "the dict-gcide package is not installed";
  orvia::testing::TempDir dir;
  DictionaryCompileOptions options;
  options.dictId = kGcide;
  options.folder = dir.path();
  CompiledDictionary result;
  std::string problem;
  auto open = [](WithText withText, std::string* why) -> std::unique_ptr<EntrySource> {
    auto source = std::make_unique<GcidePrefix>();
    if (source->open(withText)) return source;
    *why = source->problem();
    return nullptr;
  };
  ASSERT_TRUE(compileDictionary(open, options, nullptr, &result, &problem)) << problem;

  std::unique_ptr<EntrySource> source = open(WithText::kYes, &problem);
  ASSERT_NE(source, nullptr) << problem;
  text::CodePageConverter converter("WINDOWS-1252");
  SourceEntry entry;
  std::string expected;
  std::unordered_map<std::string, size_t> unread;  // every entry's text, by count
  while (source->next(&entry) == ReadResult::kEntry) {
    ASSERT_TRUE(makeEntryText(entry.headword, entry.text, converter, &expected));
    ++unread[expected];
  }

  std::vector<testing::LocatedRecord> records = testing::readLocatedRecords(dir.path(), kGcide);
  ASSERT_EQ(records.size(), result.index.recordCount);
  content::FileHandle data = content::openFileRead(result.dataPath.c_str());
  ASSERT_NE(data, content::kInvalidFile);
  orvia::testing::resolveIn(dir.path(), kGcide);
  size_t unmatched = 0;
  for (const testing::LocatedRecord& record : records) {
    const std::string actual =
        testing::contentAt(data, record.locator, &orvia::testing::resolveInFolder);
    auto text = unread.find(actual);
    if (text != unread.end() && text->second > 0) {
      --text->second;
    } else if (++unmatched <= 5) {
      ADD_FAILURE() << "the record of \"" << record.key << "\" at " << record.locator << " reads \""
                    << actual.substr(0, 80) << "\"";
    }
  }
  content::closeFile(data);
  EXPECT_EQ(unmatched, 0u);
  size_t left = 0;
  for (const auto& [text, count] : unread) left += count;
  EXPECT_EQ(left, result.index.skipped.size());
  if (kEntriesChecked == UINT64_MAX) {
    EXPECT_GT(result.data.bytes, 16u << 20);
    EXPECT_TRUE(std::any_of(records.begin(), records.end(),
                            [](const auto& r) { return r.extended && r.locator > 0xFFFFFFu; }));
  }
}

}  // namespace
}  // namespace orvia::compile
