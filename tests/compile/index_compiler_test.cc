#include "compile/index/index_compiler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dict/index_record.h"
#include "lang/lang_ops.h"

namespace orvia::compile {
namespace {

constexpr uint32_t kEnglish = 0x00010101;

struct Record {
  std::string searchKey, headword, displayWord;
  uint32_t contentDictId, contentRef, recordNumber;
  uint8_t lastByte;
  uint32_t length;
};

SourceEntry entry(const std::string& headword, uint8_t level = 0, const std::string& display = "") {
  SourceEntry e;
  e.headword = headword;
  e.level = level;
  e.displayWord = display;
  return e;
}

std::vector<Record> recordsOf(const CompiledIndex& index) {
  std::vector<Record> out;
  size_t at = 0;
  while (at < index.records.size()) {
    dict::IndexRecordView view;
    const uint32_t left = uint32_t(index.records.size() - at);
    if (!dict::parseIndexRecord(index.records.data() + at, left, &view)) {
      ADD_FAILURE() << "damaged record at " << at;
      break;
    }
    out.push_back({view.searchKey, view.headword, view.displayWord, view.contentDictId,
                   view.contentRef, view.recordNumber, view.lastByte, view.recordLength});
    at += view.recordLength;
  }
  EXPECT_EQ(out.size(), index.recordCount);
  return out;
}

CompiledIndex compile(const std::vector<SourceEntry>& entries, uint32_t dictId = kEnglish) {
  IndexCompiler compiler(dictId);
  EXPECT_TRUE(compiler.valid());
  for (const SourceEntry& e : entries) compiler.add(e);
  return compiler.finish();
}

std::vector<std::string> keysOf(const std::vector<Record>& records) {
  std::vector<std::string> keys;
  for (const Record& r : records) keys.push_back(r.searchKey);
  return keys;
}

TEST(IndexCompiler, NumbersHomographsInSourceOrderAndShowsTheHeadword) {
  CompiledIndex index = compile(
      {entry("bank", 1), entry("bank", 2), entry("Bank", 3), entry("bank", 4), entry("apple", 5)});
  std::vector<Record> records = recordsOf(index);
  ASSERT_EQ(keysOf(records),
            (std::vector<std::string>{"apple", "Bank", "bank@1", "bank@2", "bank@3"}));
  EXPECT_EQ(records[0].headword, "");
  EXPECT_EQ(records[1].headword, "");  // a different case is a different key
  for (int i = 2; i < 5; ++i) EXPECT_EQ(records[size_t(i)].headword, "bank");
  EXPECT_EQ(records[2].contentRef >> 24, 1u);
  EXPECT_EQ(records[3].contentRef >> 24, 2u);
  EXPECT_EQ(records[4].contentRef >> 24, 4u);
  EXPECT_EQ(index.homographRuns, 1u);
  EXPECT_EQ(index.homographEntries, 3u);
  for (uint32_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i].recordNumber, i);
}

// Entries given in another order than the source's are numbered by their ordinals.
TEST(IndexCompiler, NumbersHomographsByTheirOrdinals) {
  std::vector<SourceEntry> entries = {entry("bank", 1), entry("bank", 2), entry("bank", 3)};
  const uint64_t ordinals[] = {9, 4, 7};
  for (size_t i = 0; i < 3; ++i) entries[i].ordinal = ordinals[i];
  std::vector<Record> records = recordsOf(compile(entries));
  ASSERT_EQ(keysOf(records), (std::vector<std::string>{"bank@1", "bank@2", "bank@3"}));
  EXPECT_EQ(records[0].contentRef >> 24, 2u);
  EXPECT_EQ(records[1].contentRef >> 24, 3u);
  EXPECT_EQ(records[2].contentRef >> 24, 1u);
}

TEST(IndexCompiler, AnAccentedWordIsFoundByItsAsciiSpelling) {
  CompiledIndex index = compile({entry("caf\xC3\xA9"), entry("cafe"), entry("na\xC3\xAFve")});
  std::vector<Record> records = recordsOf(index);
  ASSERT_EQ(keysOf(records), (std::vector<std::string>{"cafe@1", "cafe@2", "naive"}));
  EXPECT_EQ(records[0].headword, "caf\xE9");
  EXPECT_EQ(records[1].headword, "cafe");
  EXPECT_EQ(records[2].headword, "na\xEFve");
}

TEST(IndexCompiler, KeepsTheDisplayWordOnlyWhereItDiffers) {
  CompiledIndex index = compile({entry("  Big  Apple ", 0, "the Big Apple"),
                                 entry("x-ray", 0, "x-ray"), entry("e-mail", 0, "email")});
  std::vector<Record> records = recordsOf(index);
  ASSERT_EQ(keysOf(records), (std::vector<std::string>{"Big Apple", "e-mail", "x-ray"}));
  EXPECT_EQ(records[0].headword, "");
  EXPECT_EQ(records[0].displayWord, "the Big Apple");
  EXPECT_EQ(records[1].displayWord, "email");
  EXPECT_EQ(records[2].displayWord, "");
}

TEST(IndexCompiler, SortsByTheLanguageCollation) {
  std::vector<SourceEntry> entries;
  for (const char* word : {"word@", "coop", "co-op", "Apple2", "apple", "Apple", "ab", "a b", "a1b",
                           "zebra", "42", "-", "..."})
    if (std::string(word).find('@') == std::string::npos) entries.push_back(entry(word));
  CompiledIndex index = compile(entries);
  std::vector<Record> records = recordsOf(index);
  ASSERT_EQ(records.size(), entries.size());
  DbCompareFn compare = lang::getCompareKeysFn(1);
  for (size_t i = 1; i < records.size(); ++i)
    EXPECT_LE(compare(records[i - 1].searchKey.c_str(), records[i].searchKey.c_str()), 0)
        << records[i - 1].searchKey << " before " << records[i].searchKey;
  auto position = [&records](const std::string& key) {
    for (size_t i = 0; i < records.size(); ++i)
      if (records[i].searchKey == key) return i;
    return records.size();
  };
  EXPECT_LT(position("apple"), position("Apple2"));
  EXPECT_LT(position("Apple"), position("apple"));
  EXPECT_LT(position("coop"), position("co-op"));
  EXPECT_LT(position("a b"), position("ab"));
  EXPECT_LT(position("ab"), position("a1b"));
}

// Keys of punctuation and spaces are where the English comparison stops being transitive
// ("-" < "- !" < "! -" < "-"). Whatever the source order, the sort ends and the records
// that stay are in order, each against the next.
TEST(IndexCompiler, PunctuationKeysThatFormCyclesStillGiveAnOrderedIndex) {
  std::vector<SourceEntry> entries;
  const std::string chars = "-.! ";
  for (char a : chars)
    for (char b : chars)
      for (char c : chars)
        for (const std::string& word : {std::string(1, a), std::string{a, b}, std::string{a, b, c}})
          if (word.front() != ' ' && word.back() != ' ') entries.push_back(entry(word));
  DbCompareFn compare = lang::getCompareKeysFn(1);
  for (uint32_t seed : {1u, 2u, 3u}) {
    std::vector<SourceEntry> shuffled = entries;
    for (size_t i = shuffled.size(); i > 1; --i)
      std::swap(shuffled[i - 1], shuffled[(i * 2654435761u + seed) % i]);
    CompiledIndex index = compile(shuffled);
    std::vector<Record> records = recordsOf(index);
    size_t outOfOrder = 0;
    for (const SkippedEntry& s : index.skipped) outOfOrder += s.reason == SkipReason::kOutOfOrder;
    EXPECT_EQ(outOfOrder, index.skipped.size());
    // A word made more than once becomes numbered homographs; only the order check drops.
    EXPECT_EQ(records.size() + outOfOrder, shuffled.size());
    for (size_t i = 1; i < records.size(); ++i)
      EXPECT_LE(compare(records[i - 1].searchKey.c_str(), records[i].searchKey.c_str()), 0)
          << records[i - 1].searchKey << " / " << records[i].searchKey;
  }
}

TEST(IndexCompiler, RecordsCarryTheirVcodeAndLocator) {
  SourceEntry given = entry("given", 7);
  given.vcode = 0x41;
  given.contentRef = 0x123456;
  SourceEntry far = entry("far");
  far.contentRef = 0x01000000;  // beyond 24 bits: the extended form
  std::vector<Record> english = recordsOf(compile({given, far, entry("plain")}));
  ASSERT_EQ(keysOf(english), (std::vector<std::string>{"far", "given", "plain"}));
  EXPECT_EQ(english[0].contentRef, 0x00FFFFFFu);
  EXPECT_EQ(english[0].length, 16u + 4 + 2 + 4 + 1);
  EXPECT_EQ(english[1].contentRef, 0x07123456u);
  EXPECT_EQ(english[1].lastByte, 0x41);
  EXPECT_EQ(english[2].lastByte, dict::kDefaultVcode);
  EXPECT_EQ(english[2].contentDictId, kEnglish);

  std::vector<Record> other = recordsOf(compile({entry("plain")}, 0x00010106));
  ASSERT_EQ(other.size(), 1u);
  EXPECT_EQ(other[0].length, 16u + 6 + 2);  // no vcode outside language 1
}

TEST(IndexCompiler, ReportsEverySkippedEntryWithItsHeadwordAndReason) {
  IndexCompiler compiler(kEnglish);
  const std::string longPair(242, 'h');   // with "@1" the key reaches 244 bytes
  const std::string shortPair(241, 'g');  // with "@1" the key still fits
  for (const SourceEntry& e : {entry("fine"), entry("\xCE\xA9mega"),
                               entry("\xE2\x82\xAC"
                                     "uro"),
                               entry("at@home"), entry("  "), entry(std::string(250, 'l')),
                               entry(longPair), entry(longPair), entry(shortPair), entry(shortPair),
                               entry("wide", 0, std::string(1100, 'w'))})
    compiler.add(e);
  compiler.addBadSourceRecord("line 12: vcode is not a byte value");
  EXPECT_EQ(compiler.entriesSeen(), 12u);
  CompiledIndex index = compiler.finish();

  std::vector<std::pair<std::string, SkipReason>> skipped;
  for (const SkippedEntry& s : index.skipped) skipped.push_back({s.headword, s.reason});
  const std::vector<std::pair<std::string, SkipReason>> expected = {
      {"\xCE\xA9mega", SkipReason::kNotInCodePage},
      {"\xE2\x82\xAC"
       "uro",
       SkipReason::kNoAsciiSpelling},
      {"at@home", SkipReason::kHoldsAt},
      {"  ", SkipReason::kEmptyKey},
      {std::string(250, 'l'), SkipReason::kKeyTooLong},
      {"line 12: vcode is not a byte value", SkipReason::kBadSourceRecord},
      {longPair, SkipReason::kKeyTooLong},
      {longPair, SkipReason::kKeyTooLong},
      {"wide", SkipReason::kRecordTooLong},
  };
  EXPECT_EQ(skipped, expected);
  std::vector<Record> records = recordsOf(index);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].searchKey, "fine");
  EXPECT_EQ(records[1].searchKey, shortPair + "@1");
  EXPECT_EQ(records[2].searchKey, shortPair + "@2");
  EXPECT_EQ(index.homographRuns, 2u);
  EXPECT_EQ(index.homographEntries, 2u);
}

TEST(IndexCompiler, NamesTheDictionarysOwnContentFile) {
  CompiledIndex index = compile({entry("a")}, 0x00020301);
  EXPECT_EQ(index.contentName.contentDictId, 0x00020301u);
  EXPECT_STREQ(index.contentName.name, "00020301.DAT");
}

TEST(IndexCompiler, ALanguageWithoutKeysIsRefused) {
  EXPECT_FALSE(IndexCompiler(0x00010100).valid());
  EXPECT_FALSE(IndexCompiler(0x0001010A).valid());
}

}  // namespace
}  // namespace orvia::compile
