// Which record's content a caller gets for a dictionary id, why it gets none, and the
// buffer rules of the text read. Indexes live in the store double; the data file and the
// user-entry files are golden files (tests/data/content/retrieval/).
#include "content/content_retrieval.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/content_files.h"
#include "support/dictionary_fixtures.h"
#include "support/read_only_page.h"
#include "support/temp_dir.h"

namespace orvia::content {
namespace {

using orvia::testing::StoreDouble;
using orvia::testing::StoredRecord;

constexpr uint32_t kMain = 0x00010101;
constexpr uint32_t kRecords = 0x7F010101;
constexpr uint32_t kNotes = 0xFF010101;
constexpr uint32_t kOtherNumber = 0x00020101;  // dictionary number 2: never compatible
constexpr uint32_t kAnyContentLanguage = 0x0001FF01;
constexpr uint32_t kApple = 0x10031, kPear = 0x1004C, kById = 0x1006E,
                   kCutShort = 0x10078;  // in 00010101
constexpr uint32_t kHead = 4;            // of every entry in the user-entry files

const std::string kAppleText = "apple\r\nA fruit.\r\n~!";
const std::string kPearText = "pear\r\nFar in the file.\r\n~!";
const std::string kKiwiText = "kiwi\r\nA word of the user's.";
const std::string kAppleNote = "bAe, said the apple~!";  // "bYe, said the apple" as a note

// A language-1 record: key, two empty strings, an optional extended reference, vcode.
StoredRecord entry(const std::string& key, uint32_t contentDictId, uint32_t contentRef,
                   const std::string& extended = "") {
  return {contentDictId, contentRef, key + '\0' + '\0' + '\0' + extended + '\xB8'};
}

struct Read {
  std::string text;  // when cause is kOk
  Cause cause;
  uint32_t at;  // the offset a failure names
};

class ContentRetrieval : public orvia::testing::MemoryDictionaryFixture {
 protected:
  void SetUp() override {
    MemoryDictionaryFixture::SetUp();
    writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n\"00010203Path\"=\"" + dir_.file("data") +
                 "\"\r\n");
    std::filesystem::create_directory(dir_.file("data"));
    orvia::testing::writeFileBytes(dir_.file("data/OTHERXXX.DAT"),
                                   orvia::testing::goldenDataFile("record/other.hex"));
    orvia::testing::writeFileBytes(dir_.file("00010101.DAT"),
                                   orvia::testing::goldenDataFile("retrieval/00010101.hex"));
    for (std::string name : {"7F010101", "FF010101", "0001FF01"})  // user-entry files
      orvia::testing::writeFileBytes(
          dir_.file(name + ".DAT"),
          orvia::testing::goldenBytes("content/retrieval/" + name + ".hex"));
    loadIndex(kNotes, {entry("apple", kNotes, kHead), entry("kiwi", kNotes, 0x7777),
                       entry("PLUM", kNotes, kHead)});
    loadIndex(kRecords, {entry("kiwi", kRecords, kHead)});
    loadIndex(kOtherNumber, {entry("apple", kOtherNumber, kApple)});
    loadIndex(kAnyContentLanguage, {entry("fig", 0xFF01FF01, kHead)});
    main_ =
        openMemoryDictionary(kMain, {entry("apple", kMain, kApple | 7u << 24),
                                     entry("fig", kMain, kById), entry("kiwi", kRecords, kHead),
                                     entry("pear", kMain, 0x03FFFFFF, orvia::testing::le32(kPear)),
                                     entry("plum", kMain, kCutShort)});
    ASSERT_NE(main_, nullptr);
    for (uint32_t id : {kMain, kRecords, kNotes, kOtherNumber}) nameContent(indexPath(id), id);
    nameContent(indexPath(kMain), kRecords);
    nameContent(indexPath(kAnyContentLanguage), 0xFF01FF01, "0001FF01.DAT");
  }
  void TearDown() override {
    for (HWORD* word : words_) dicFreeHWORD(word);
    MemoryDictionaryFixture::TearDown();
  }

  std::string indexPath(uint32_t id) {
    char name[dict::kFileNameBufferSize];
    dict::buildDictFileName(id, name, ".IDX");
    return dir_.file(name);
  }
  void loadIndex(uint32_t id, const std::vector<StoredRecord>& records) {
    StoreDouble::instance().load(indexPath(id), lang::getCompareKeysFn(lang::languageOf(id)),
                                 records);
  }
  // Makes the index at path name the content of contentDictId.
  void nameContent(const std::string& path, uint32_t contentDictId, std::string name = "") {
    char digits[dict::kFileNameBufferSize];
    dict::buildDictFileName(contentDictId, digits, ".DAT");
    name = name.empty() ? digits : name;
    name.resize(dict::kFileNameBufferSize, '\0');
    StoreDouble::instance().contentNames[path][contentDictId] = name;
  }
  HWORD* word(const char* key) {
    HWORD* found = dicSearchWord(main_, key);
    EXPECT_NE(found, nullptr);
    words_.push_back(found);
    return found;
  }
  // contentText into capacity bytes, checked for what it writes, against contentSize
  // (at the full capacity) and against the exports.
  Read read(HWORD* w, uint32_t dictId, uint32_t capacity = 256) {
    std::vector<char> buffer(capacity + 1, '#'), exported(capacity + 1, '#');
    buffer[0] = '\0';
    uint32_t length = 0, size = 0;
    const Status status = contentText(w, dictId, buffer.data(), capacity, &length);
    EXPECT_EQ(buffer[capacity], '#') << "written past the capacity";
    EXPECT_EQ(dicGetContent(w, dictId, exported.data(), capacity), status.ok() ? length : 0u);
    EXPECT_EQ(std::strlen(buffer.data()), status.ok() ? length : 0u);
    if (capacity == 256) {
      const Status sized = contentSize(w, dictId, &size);
      EXPECT_EQ(sized.cause(), status.cause());
      EXPECT_EQ(size, status.ok() ? length : 0u);
      EXPECT_EQ(dicGetContentSize(w, dictId), size);
    }
    return {status.ok() ? std::string(buffer.data(), length) : "", status.cause(), status.offset()};
  }

  HDICT* main_ = nullptr;
  std::vector<HWORD*> words_;
};

TEST_F(ContentRetrieval, RecordChoice) {
  struct Case {
    const char* word;
    uint32_t dictId;
    Read expected;
    const char* why;
  };
  const Case cases[] = {
      {"apple", kMain, {kAppleText, Cause::kOk, 0}, "own id; the top byte is the level"},
      {"pear", kMain, {kPearText, Cause::kOk, 0}, "extended locator behind the strings"},
      {"kiwi", kMain, {kKiwiText, Cause::kOk, 0}, "own id reads the record pointing elsewhere"},
      {"kiwi", kRecords, {kKiwiText, Cause::kOk, 0}, "the record's own id, not memory form"},
      {"apple", kNotes, {kAppleNote, Cause::kOk, 0}, "memory form looked up by key; Y becomes A"},
      {"kiwi", kNotes, {"~!", Cause::kOk, 0}, "an unreadable note still gets the end marker"},
      {"plum", kNotes, {"", Cause::kEmpty, 0}, "the notes hold the key in another case only"},
      {"pear", kNotes, {"", Cause::kEmpty, 0}, "no note on the word"},
      {"apple", kOtherNumber, {"", Cause::kInvalidId, 0}, "another dictionary number"},
      {"fig", kAnyContentLanguage, {"fig note~!", Cause::kOk, 0}, "content language 0xFF: any"},
      {"fig", kMain, {"ABcd", Cause::kOk, 0}, "continued in a file named by id and registry"},
      {"apple", 0x00010001, {"", Cause::kInvalidId, 0}, "a zero low byte is never compatible"},
      {"apple", 0x05010101, {"", Cause::kFileMissing, 0}, "compatible id, no such dictionary"},
      {"plum", kMain, {"", Cause::kTruncated, kCutShort}, "a record cut short by the file's end"},
  };
  const int handles = StoreDouble::instance().openHandles;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    HWORD* w = word(c.word);
    const Read got = read(w, c.dictId);
    EXPECT_EQ(got.text, c.expected.text);
    EXPECT_EQ(got.cause, c.expected.cause);
    EXPECT_EQ(got.at, c.expected.at);
    EXPECT_EQ(dicIsExistContent(w, c.dictId), c.expected.cause == Cause::kOk ? 1 : 0);
  }
  // Temporary dictionaries are closed on every path.
  EXPECT_EQ(StoreDouble::instance().openHandles, handles);
}

TEST_F(ContentRetrieval, BufferEdges) {
  HWORD* apple = word("apple");
  const uint32_t length = uint32_t(kAppleText.size());
  const Read oneShort = read(apple, kMain, length);
  EXPECT_EQ(oneShort.cause, Cause::kNoRoom);
  EXPECT_EQ(oneShort.at, kApple);
  EXPECT_EQ(read(apple, kMain, length + 1).text, kAppleText);
  // The marker needs room for its terminator.
  EXPECT_EQ(read(apple, kNotes, uint32_t(kAppleNote.size())).cause, Cause::kNoRoom);
  EXPECT_EQ(read(apple, kNotes, uint32_t(kAppleNote.size()) + 1).text, kAppleNote);

  EXPECT_EQ(dicGetContent(apple, kMain, nullptr, 64), 0u);
  char untouched[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(dicGetContent(apple, kMain, untouched, 0), 0u);
  EXPECT_EQ(untouched[0], '#');
  EXPECT_EQ(dicGetContent(nullptr, kMain, untouched, sizeof untouched), 0u);
  EXPECT_EQ(untouched[0], '\0');
  orvia::testing::ReadOnlyPage readOnly;
  ASSERT_NE(readOnly.get(), nullptr);
  EXPECT_EQ(dicGetContent(apple, kMain, static_cast<char*>(readOnly.get()), 64), 0u);

  HWORD noRecord{main_, nullptr};
  EXPECT_EQ(dicIsExistContent(&noRecord, kMain), 0);
  EXPECT_EQ(dicGetContentSize(&noRecord, kMain), 0u);
  EXPECT_EQ(dicIsExistContent(nullptr, kMain), 0);
}

TEST_F(ContentRetrieval, FailuresBeforeTheBodyGiveNoEndMarker) {
  HWORD* apple = word("apple");
  StoreDouble::instance().failGetDataFrom = 1;
  EXPECT_EQ(read(apple, kNotes).cause, Cause::kStoreFailed);
  StoreDouble::instance().failGetDataFrom = 0;
  // A name the store does not know for the note dictionary's content.
  StoreDouble::instance().contentNames[indexPath(kNotes)].clear();
  EXPECT_EQ(read(apple, kNotes).cause, Cause::kStoreFailed);
  std::remove(dir_.file("00010101.DAT").c_str());
  EXPECT_EQ(read(apple, kMain).cause, Cause::kReadFailed);
  EXPECT_EQ(dicIsExistContent(apple, kMain), 0);

  // A folder where the index name fits within the path limit and a longer content name
  // does not.
  const std::string folder = dir_.file(std::string(244 - dir_.path().size(), 'd'));
  ASSERT_EQ(folder.size(), 245u);
  writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n\"FF010101Path\"=\"" + folder + "\"\r\n");
  const std::string index = (std::filesystem::path(folder) / "FF010101.IDX").string();
  StoreDouble::instance().load(index, lang::getCompareKeysFn(1), {entry("apple", kNotes, 0)});
  nameContent(index, kNotes, "FF010101.NOTES");
  EXPECT_EQ(read(apple, kNotes).cause, Cause::kNotConfigured);
  EXPECT_EQ(dicIsExistContent(apple, kNotes), 1);
}

TEST_F(ContentRetrieval, ServerDataModeReadsDataFilesFromTheSharedFolder) {
  std::filesystem::create_directory(dir_.file("shared"));
  std::filesystem::rename(dir_.file("00010101.DAT"), dir_.file("shared/00010101.DAT"));
  writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n\"Type\"=dword:00000001\r\n" +
               "\"ServerDataPath\"=\"" + dir_.file("shared") + "\"\r\n");
  reload();
  EXPECT_EQ(read(word("apple"), kMain).text, kAppleText);
  // Companions keep their files in the dictionary's own folder.
  EXPECT_EQ(read(word("kiwi"), kRecords).text, kKiwiText);
}

TEST(KeyExistsIn, AClosedIndexHoldsNoKey) {
  HDICT closed{kMain, nullptr};
  EXPECT_EQ(keyExistsIn(&closed, "a"), 0);
}

}  // namespace
}  // namespace orvia::content
