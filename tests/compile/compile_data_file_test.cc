// Data files and companion files written by whole compiles, checked against bytes laid
// out by hand and read back through the content decoders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "compile/content/content_compiler.h"
#include "compile/content/entry_text.h"
#include "compiled_dictionary.h"
#include "content/user_entry_file.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

using orvia::testing::readFileBytes;
using orvia::testing::TempDir;
using testing::compileList;
using testing::contentAt;
using testing::contentTypeAt;
using testing::entryOf;
using testing::LocatedRecord;
using testing::readLocatedRecords;

constexpr uint32_t kEnglish = 0x00010101;
constexpr uint32_t kFirstRecord = 0x10007;  // after the table and three empty tree sizes

// Opens the dictionary's data file for a test's reads.
class DataFile {
 public:
  DataFile(const std::string& folder, uint32_t dictId)
      : file_(content::openFileRead(dictFilePath(folder, dictId, ".DAT").c_str())) {
    EXPECT_NE(file_, content::kInvalidFile);
  }
  ~DataFile() { content::closeFile(file_); }
  content::FileHandle get() const { return file_; }

 private:
  content::FileHandle file_;
};

TEST(CompiledDataFile, StoredEntriesLieWhereTheHandWorkedLayoutPutsThem) {
  TempDir dir;
  compileList({entryOf("apple", "A fruit.\n", 3), entryOf("pear", "")}, kEnglish, dir.path(),
              EntryEncoding::kStored);

  // "apple\r\nA fruit.\r\n~!" is 19 bytes, a record of 27; "pear\r\n~!" 8 bytes, 16.
  std::string expected(kFirstRecord, '\0');
  expected += std::string("\x1B\x00\x00\x00\xFF\xFF\xFF\xFF", 8) + "apple\r\nA fruit.\r\n~!";
  expected += std::string("\x10\x00\x00\x00\xFF\xFF\xFF\xFF", 8) + "pear\r\n~!";
  EXPECT_EQ(readFileBytes(dictFilePath(dir.path(), kEnglish, ".DAT")), expected);

  std::vector<LocatedRecord> records = readLocatedRecords(dir.path(), kEnglish);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].key, "apple");
  EXPECT_EQ(records[0].contentDictId, kEnglish);
  EXPECT_EQ(records[0].contentRef, 0x03010007u);  // level 3 in the top byte
  EXPECT_EQ(records[1].key, "pear");
  EXPECT_EQ(records[1].contentRef, 0x00010022u);

  DBHANDLE db = dbOpen(indexFilePath(dir.path(), kEnglish).c_str(), lang::getCompareKeysFn(1));
  ASSERT_NE(db, nullptr);
  char name[16] = {};
  uint32_t size = sizeof name;
  EXPECT_NE(dbGetData(db, kEnglish, name, &size), 0);
  EXPECT_STREQ(name, "00010101.DAT");
  dbClose(db);
}

// Records are stored back to back from the first offset on, so entries of chosen
// sizes put one exactly at 0xFFFFFF, where the locator moves behind the strings.
TEST(CompiledDataFile, LocatorsFromOffset0xFFFFFFOnAreExtended) {
  constexpr uint32_t kFiller = 60000;  // text bytes of each large entry
  // The header and the end marker; the texts start with their headwords, so no line is
  // put before them.
  constexpr uint32_t kOverhead = 8 + 4;
  std::vector<SourceEntry> entries;
  uint32_t end = kFirstRecord;
  auto add = [&](uint32_t textSize) {
    char headword[8];
    std::snprintf(headword, sizeof headword, "w%04zu", entries.size());
    entries.push_back(entryOf(headword, std::string(headword) + std::string(textSize - 5, 'x')));
    end += textSize + kOverhead;
  };
  while (end + 2 * (kFiller + kOverhead) < 0xFFFFFF) add(kFiller);
  add(0xFFFFFF - end - kOverhead);  // the last record before the switch
  const size_t atSwitch = entries.size();
  ASSERT_EQ(end, 0xFFFFFFu);
  add(100);
  add(100);

  TempDir dir;
  compileList(entries, kEnglish, dir.path(), EntryEncoding::kStored);
  std::vector<LocatedRecord> records = readLocatedRecords(dir.path(), kEnglish);
  ASSERT_EQ(records.size(), entries.size());
  DataFile data(dir.path(), kEnglish);
  uint32_t previous = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(records[i].key);
    EXPECT_EQ(records[i].extended, i >= atSwitch);
    EXPECT_EQ(records[i].contentRef >> 24, 0u);
    EXPECT_GT(records[i].locator, previous);
    previous = records[i].locator;
  }
  EXPECT_EQ(records[atSwitch - 1].locator & 0xFFFFFF, records[atSwitch - 1].contentRef);
  EXPECT_EQ(records[atSwitch].locator, 0xFFFFFFu);
  EXPECT_EQ(contentAt(data.get(), records[atSwitch].locator), entries[atSwitch].text + "\r\n~!");
  EXPECT_EQ(contentAt(data.get(), records[atSwitch + 1].locator),
            entries[atSwitch + 1].text + "\r\n~!");
}

struct EncodingRow {
  const char* name;
  uint8_t type;
};

class EachEncoding : public ::testing::TestWithParam<EncodingRow> {};

TEST_P(EachEncoding, GivesRecordsOfItsTypeThatReadBack) {
  const std::vector<SourceEntry> entries = {
      entryOf("apple", "Apple, n. The fruit of a tree.\n   [1913 Webster]\n"),
      entryOf("banana", "A long yellow fruit. A long yellow fruit. A long yellow fruit.\n"),
      entryOf("cherry", "Cherry \\Cher\"ry\\, n.\n   A small stone fruit.\n"),
  };
  TempDir dir;
  CompiledDictionary result =
      compileList(entries, kEnglish, dir.path(), *encodingNamed(GetParam().name));
  EXPECT_EQ(result.data.records[GetParam().type], entries.size());
  EXPECT_EQ(result.data.storedInstead, 0u);
  std::vector<LocatedRecord> records = readLocatedRecords(dir.path(), kEnglish);
  ASSERT_EQ(records.size(), entries.size());
  DataFile data(dir.path(), kEnglish);
  text::CodePageConverter converter("WINDOWS-1252");
  for (size_t i = 0; i < entries.size(); ++i) {
    std::string expected;
    ASSERT_TRUE(makeEntryText(entries[i].headword, entries[i].text, converter, &expected));
    EXPECT_EQ(contentTypeAt(data.get(), records[i].locator), GetParam().type);
    EXPECT_EQ(contentAt(data.get(), records[i].locator), expected);
  }
}

INSTANTIATE_TEST_SUITE_P(CompiledDataFile, EachEncoding,
                         ::testing::Values(EncodingRow{"stored", 0}, EncodingRow{"lzw", 1},
                                           EncodingRow{"masked", 2}, EncodingRow{"huffman", 3},
                                           EncodingRow{"lzw64", 64}),
                         [](const auto& info) { return std::string(info.param.name); });

// The length of each record, in key order, of a dictionary compiled with one encoding.
std::vector<uint32_t> recordLengths(const std::vector<SourceEntry>& entries,
                                    EntryEncoding encoding) {
  TempDir dir;
  compileList(entries, kEnglish, dir.path(), encoding);
  DataFile data(dir.path(), kEnglish);
  std::vector<uint32_t> lengths;
  for (const LocatedRecord& r : readLocatedRecords(dir.path(), kEnglish)) {
    uint32_t header = 0;
    EXPECT_TRUE(content::readU32At(data.get(), r.locator, &header));
    lengths.push_back(header & 0xFFFFFF);
  }
  return lengths;
}

TEST(CompiledDataFile, AutoTakesTheSmallestCodingOfEachEntry) {
  std::string repetitive, varied;
  for (int i = 0; i < 200; ++i) repetitive += "the same words again and again ";
  for (int i = 0; i < 300; ++i) varied += char('a' + (i * 7919) % 26);
  const std::vector<SourceEntry> entries = {entryOf("a", "a\n"), entryOf("b", varied),
                                            entryOf("c", repetitive)};
  const std::vector<uint32_t> chosen = recordLengths(entries, EntryEncoding::kSmallest);
  ASSERT_EQ(chosen.size(), entries.size());
  std::vector<uint32_t> smallest(entries.size(), UINT32_MAX);
  for (EntryEncoding e : {EntryEncoding::kStored, EntryEncoding::kLzw, EntryEncoding::kHuffman,
                          EntryEncoding::kLzwSized, EntryEncoding::kMasked}) {
    const std::vector<uint32_t> lengths = recordLengths(entries, e);
    for (size_t i = 0; i < lengths.size(); ++i) smallest[i] = std::min(smallest[i], lengths[i]);
  }
  EXPECT_EQ(chosen, smallest);
}

struct FallbackRow {
  const char* what;
  const char* encoding;
  std::string text;
  uint8_t type;
  uint64_t storedInstead;
};

class ForcedEncodingFallback : public ::testing::TestWithParam<FallbackRow> {};

TEST_P(ForcedEncodingFallback, StoresWhatTheEncodingCannotHoldAndCountsIt) {
  const FallbackRow& row = GetParam();
  const std::vector<SourceEntry> entries = {entryOf("odd", row.text),
                                            entryOf("plain", "plain words\n")};
  TempDir dir;
  CompiledDictionary result =
      compileList(entries, kEnglish, dir.path(), *encodingNamed(row.encoding));
  EXPECT_EQ(result.data.storedInstead, row.storedInstead);
  std::vector<LocatedRecord> records = readLocatedRecords(dir.path(), kEnglish);
  ASSERT_EQ(records.size(), 2u);
  DataFile data(dir.path(), kEnglish);
  EXPECT_EQ(contentTypeAt(data.get(), records[0].locator), row.type);
  text::CodePageConverter converter("WINDOWS-1252");
  std::string expected;
  ASSERT_TRUE(makeEntryText("odd", row.text, converter, &expected));
  EXPECT_EQ(contentAt(data.get(), records[0].locator), expected);
}

INSTANTIATE_TEST_SUITE_P(
    CompiledDataFile, ForcedEncodingFallback,
    ::testing::Values(
        // 0xFF, "\xC3\xBF" in UTF-8, is the switch symbol: Huffman has no code for it.
        FallbackRow{"HuffmanLoneFF", "huffman", "odd \xC3\xBF\n", 0, 1},
        // A "~!" before any other tag would end the Huffman decoding early.
        FallbackRow{"HuffmanEarlyEndMarker", "huffman", "odd~! more\n", 0, 1},
        FallbackRow{"LzwHoldsThemBoth", "lzw", "odd \xC3\xBF~!\n", 1, 0}),
    [](const auto& info) { return std::string(info.param.what); });

// Entries made from one source text: "actin" is the text alone, "actinia" and "actinic"
// get their headword's line first. "odd" has a line first too but a text of its own.
const std::string kSharedText = "actin, a protein of muscle fibres.\nSee also myosin.\n";
SourceEntry sharedEntry(const char* headword) {
  return entryOf(headword, std::string(headword) == "odd" ? "a text used once\n" : kSharedText);
}

// How an entry's first record is made.
enum class Start {
  kWholeText,    // the whole text, no continuation
  kHeadHere,     // its headword line, going on in the main file
  kHeadFurther,  // its headword line, going on in a further file
};

struct SharingRow {
  const char* what;
  uint32_t continuationLimit;
  std::vector<const char*> order;
  std::vector<Start> starts;  // by key: actin, actinia, actinic, odd
  uint64_t sharingEntries;
};

class SharedTexts : public ::testing::TestWithParam<SharingRow> {};

TEST_P(SharedTexts, AreWrittenOnceAndReadBackWhole) {
  const SharingRow& row = GetParam();
  std::vector<SourceEntry> entries;
  for (const char* headword : row.order) entries.push_back(sharedEntry(headword));
  TempDir dir;
  orvia::testing::resolveIn(dir.path(), kEnglish);
  DataFileOptions options;
  options.continuationLimit = row.continuationLimit;
  CompiledDictionary result =
      compileList(entries, kEnglish, dir.path(), EntryEncoding::kSmallest, options);
  EXPECT_EQ(result.sharingEntries, row.sharingEntries);
  const bool furtherFile = row.continuationLimit == kFirstRecord;
  EXPECT_EQ(result.furtherDataFiles,
            furtherFile ? std::vector<std::string>{"X0101011.DAT"} : std::vector<std::string>{});

  std::vector<LocatedRecord> records = readLocatedRecords(dir.path(), kEnglish);
  ASSERT_EQ(records.size(), row.starts.size());
  DataFile data(dir.path(), kEnglish);
  text::CodePageConverter converter("WINDOWS-1252");
  uint32_t actinAt = records[0].locator;
  for (size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(records[i].key);
    std::string expected;
    ASSERT_TRUE(makeEntryText(records[i].key, sharedEntry(records[i].key.c_str()).text, converter,
                              &expected));
    EXPECT_EQ(contentAt(data.get(), records[i].locator, &orvia::testing::resolveInFolder),
              expected);
    uint32_t header = 0, continuation = 0;
    ASSERT_TRUE(content::readU32At(data.get(), records[i].locator, &header));
    ASSERT_TRUE(content::readU32At(data.get(), records[i].locator + 4, &continuation));
    switch (row.starts[i]) {
      case Start::kWholeText:
        EXPECT_EQ(continuation, 0xFFFFFFFFu);
        break;
      case Start::kHeadHere:
        EXPECT_EQ(header, 8 + records[i].key.size() + 2);  // stored "key\r\n"
        EXPECT_EQ(continuation, 0xFF000000u | actinAt);
        break;
      case Start::kHeadFurther:
        EXPECT_EQ(header, 8 + records[i].key.size() + 2);
        EXPECT_EQ(continuation >> 24, 0u);  // file-index entry 0
        break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    CompiledDataFile, SharedTexts,
    ::testing::Values(
        SharingRow{"BodyFirst",
                   0xFFFFFF,
                   {"actin", "actinia", "actinic", "odd"},
                   {Start::kWholeText, Start::kHeadHere, Start::kHeadHere, Start::kWholeText},
                   2},
        // The first head writes the text after itself, where "actin" then points.
        SharingRow{"HeadFirst",
                   0xFFFFFF,
                   {"actinia", "actinic", "actin", "odd"},
                   {Start::kWholeText, Start::kHeadHere, Start::kHeadHere, Start::kWholeText},
                   2},
        // No continuation may start in the main file: the text goes into a further file
        // for the heads, and "actin" needs a copy of its own in the main file.
        SharingRow{"PastTheLimit",
                   kFirstRecord,
                   {"actinia", "actin", "actinic", "odd"},
                   {Start::kWholeText, Start::kHeadFurther, Start::kHeadFurther, Start::kWholeText},
                   1}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(CompiledDataFile, CompanionsAreAnEmptyIndexAndAFreeListHead) {
  TempDir dir, reference;
  CompiledDictionary result =
      compileList({entryOf("apple", "")}, kEnglish, dir.path(), EntryEncoding::kStored);
  ASSERT_EQ(result.companions.size(), 4u);
  const char* names[] = {"7F010101.IDX", "7F010101.DAT", "FF010101.IDX", "FF010101.DAT"};
  ASSERT_NE(dbCreate(reference.file("empty.IDX").c_str()), 0);
  const std::string emptyIndex = readFileBytes(reference.file("empty.IDX"));
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(result.companions[i].name, names[i]);
    EXPECT_EQ(result.companions[i].state, CompanionFile::State::kCreated);
    const std::string bytes = readFileBytes(dir.file(names[i]));
    EXPECT_EQ(bytes, i % 2 == 0 ? emptyIndex : std::string(4, '\0'));
  }
  DBHANDLE db = dbOpen(dir.file("FF010101.IDX").c_str(), lang::getCompareKeysFn(1));
  ASSERT_NE(db, nullptr);
  uint32_t count = 1;
  EXPECT_NE(dbGetInfo(db, kDbInfoRecordCount, &count), 0);
  EXPECT_EQ(count, 0u);
  dbClose(db);
}

TEST(CompiledDataFile, RecompilingKeepsTheUsersNotesAndRecords) {
  TempDir dir;
  compileList({entryOf("apple", "")}, kEnglish, dir.path(), EntryEncoding::kStored);
  // A note in the memory dictionary's user-entry file and a record in the record index.
  content::FileHandle notes = content::openFileReadWrite(dir.file("FF010101.DAT").c_str());
  ASSERT_NE(notes, content::kInvalidFile);
  const char note[] = "apple\r\nmy note";
  EXPECT_NE(content::appendUserEntry(notes, "apple", note, sizeof note - 1), 0u);
  content::closeFile(notes);
  DBHANDLE records = dbOpen(dir.file("7F010101.IDX").c_str(), lang::getCompareKeysFn(1));
  ASSERT_NE(records, nullptr);
  const char area[] = "kiwi\0\0";
  char name[16] = "7F010101.DAT";
  DbInsertDescriptor record{name, 0x7F010101, 4, sizeof area, area};
  EXPECT_NE(dbInsert(records, &record), 0);
  dbClose(records);
  std::vector<std::string> before;
  for (const char* file : {"7F010101.IDX", "7F010101.DAT", "FF010101.IDX", "FF010101.DAT"})
    before.push_back(readFileBytes(dir.file(file)));

  CompiledDictionary again = compileList({entryOf("apple", ""), entryOf("pear", "")}, kEnglish,
                                         dir.path(), EntryEncoding::kStored);
  size_t i = 0;
  for (const char* file : {"7F010101.IDX", "7F010101.DAT", "FF010101.IDX", "FF010101.DAT"}) {
    SCOPED_TRACE(file);
    EXPECT_EQ(again.companions[i].state, CompanionFile::State::kKept);
    EXPECT_EQ(readFileBytes(dir.file(file)), before[i++]);
  }
  EXPECT_EQ(readLocatedRecords(dir.path(), kEnglish).size(), 2u);
}

TEST(CompiledDataFile, CompanionIdsAreNotCompiled) {
  TempDir dir;
  const std::vector<SourceEntry> entries = {entryOf("apple", "")};
  for (uint32_t id : {0x7F010101u, 0xFF010101u}) {
    DictionaryCompileOptions options;
    options.dictId = id;
    options.folder = dir.path();
    CompiledDictionary result;
    std::string problem;
    EXPECT_FALSE(
        compileDictionary(testing::openerOf(&entries), options, nullptr, &result, &problem));
  }
}

}  // namespace
}  // namespace orvia::compile
