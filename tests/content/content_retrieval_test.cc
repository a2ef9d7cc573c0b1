// Which record's content a caller gets for a dictionary id, and the buffer rules of the
// text read. Indexes live in the store double; data files and user-entry files are real
// files laid out by hand or written with the user-entry operations.
#include "content/content_retrieval.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "content/file_access.h"
#include "content/user_entry_file.h"
#include "dict/dict_id.h"
#include "dict/memory_dictionary_fixture.h"
#include "dict/search.h"
#include "lang/lang_ops.h"
#include "support/content_files.h"
#include "support/read_only_page.h"
#include "support/temp_dir.h"

namespace orvia::content {
namespace {

using orvia::testing::goldenDataFile;
using orvia::testing::le32;
using orvia::testing::StoreDouble;
using orvia::testing::StoredRecord;
using orvia::testing::writeFileBytes;

constexpr uint32_t kMain = 0x00010101;
constexpr uint32_t kRecords = 0x7F010101;
constexpr uint32_t kNotes = 0xFF010101;
constexpr uint32_t kOtherNumber = 0x00020101;  // dictionary number 2: never compatible
constexpr uint32_t kAnyContentLanguage = 0x0001FF01;

constexpr uint32_t kApple = 0x10031, kPear = 0x1004C, kDamaged = 0x1006E;  // retrieval.hex

const std::string kAppleText = "apple\r\nA fruit.\r\n~!";
const std::string kPearText = "pear\r\nFar in the file.\r\n~!";
const std::string kKiwiText = "kiwi\r\nA word of the user's.";
const std::string kAppleNote = "bYe, said the apple";
const std::string kWildNote = "fig note";

// A language-1 record: key, two empty strings, an optional extended reference, vcode.
StoredRecord entry(const std::string& key, uint32_t contentDictId, uint32_t contentRef,
                   const std::string& extended = "") {
  return {contentDictId, contentRef, key + '\0' + '\0' + '\0' + extended + '\xB8'};
}

class ContentRetrieval : public orvia::testing::MemoryDictionaryFixture {
 protected:
  void SetUp() override {
    MemoryDictionaryFixture::SetUp();
    writeFileBytes(dir_.file("00010101.DAT"), goldenDataFile("retrieval.hex"));
    const uint32_t kiwi = appendEntry("7F010101.DAT", "kiwi", kKiwiText);
    const uint32_t appleNote = appendEntry("FF010101.DAT", "apple", kAppleNote);
    const uint32_t figNote = appendEntry("0001FF01.DAT", "fig", kWildNote);

    loadIndex(kNotes, {entry("apple", kNotes, appleNote), entry("kiwi", kNotes, 0x7777),
                       entry("PLUM", kNotes, appleNote)});
    loadIndex(kRecords, {entry("kiwi", kRecords, kiwi)});
    loadIndex(kOtherNumber, {entry("apple", kOtherNumber, kApple)});
    loadIndex(kAnyContentLanguage, {entry("fig", 0xFF01FF01, figNote)});
    main_ = openMemoryDictionary(
        kMain, {entry("apple", kMain, kApple | 7u << 24), entry("fig", kMain, kApple),
                entry("kiwi", kRecords, kiwi), entry("pear", kMain, 0x03FFFFFF, le32(kPear)),
                entry("plum", kMain, kDamaged)});
    ASSERT_NE(main_, nullptr);
    for (uint32_t id : {kMain, kRecords, kNotes, kOtherNumber}) nameContent(id, id);
    nameContent(kMain, kRecords);
    nameContent(kAnyContentLanguage, 0xFF01FF01, "0001FF01.DAT");
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
  // Makes the index of id name the content of contentDictId.
  void nameContent(uint32_t id, uint32_t contentDictId, std::string name = "") {
    if (name.empty()) {
      char digits[dict::kFileNameBufferSize];
      dict::buildDictFileName(contentDictId, digits, ".DAT");
      name = digits;
    }
    name.resize(dict::kFileNameBufferSize, '\0');
    StoreDouble::instance().contentNames[indexPath(id)][contentDictId] = name;
  }
  // Appends a user entry to the user-entry file name, made empty first if missing.
  uint32_t appendEntry(const std::string& name, const std::string& key, const std::string& text) {
    FileHandle file = openFileReadWrite(dir_.file(name).c_str());
    if (file == kInvalidFile) {
      file = createFileReadWrite(dir_.file(name).c_str());
      writeU32At(file, 0, 0);
    }
    uint32_t head = appendUserEntry(file, key.c_str(), text.data(), uint32_t(text.size()));
    closeFile(file);
    return head;
  }
  HWORD* word(const char* key) {
    HWORD* found = dicSearchWord(main_, key);
    EXPECT_NE(found, nullptr);
    words_.push_back(found);
    return found;
  }
  // The text read of contentText, checked against the export's and for what it writes;
  // the cause of a failure in *cause, with the offset it names in *at.
  std::string text(HWORD* w, uint32_t dictId, uint32_t capacity = 256, Cause* cause = nullptr,
                   uint32_t* at = nullptr) {
    std::vector<char> buffer(capacity + 1, '#'), exported(capacity + 1, '#');
    buffer[0] = '\0';
    uint32_t length = 0;
    const Status status = contentText(w, dictId, buffer.data(), capacity, &length);
    EXPECT_EQ(buffer[capacity], '#') << "written past the capacity";
    EXPECT_EQ(dicGetContent(w, dictId, exported.data(), capacity), status.ok() ? length : 0u);
    if (cause != nullptr) *cause = status.cause();
    if (at != nullptr) *at = status.offset();
    if (!status.ok()) return "";
    EXPECT_EQ(std::strlen(buffer.data()), length);
    return std::string(buffer.data(), length);
  }
  // The cause of the text read, and that the size read fails for the same.
  Cause textCause(HWORD* w, uint32_t dictId, uint32_t capacity = 256) {
    Cause cause;
    EXPECT_EQ(text(w, dictId, capacity, &cause), "");
    uint32_t size = 0;
    EXPECT_EQ(capacity == 256 ? contentSize(w, dictId, &size).cause() : cause, cause);
    return cause;
  }

  HDICT* main_ = nullptr;
  std::vector<HWORD*> words_;
};

TEST_F(ContentRetrieval, RecordChoice) {
  struct Case {
    const char* word;
    uint32_t dictId;
    std::string expected;  // when cause is kOk
    Cause cause;
    uint32_t at;  // the offset a failure names
    const char* why;
  };
  const Case cases[] = {
      {"apple", kMain, kAppleText, Cause::kOk, 0,
       "own id; the level in the top byte is not the locator"},
      {"pear", kMain, kPearText, Cause::kOk, 0, "extended locator behind the strings"},
      {"kiwi", kMain, kKiwiText, Cause::kOk, 0,
       "own id reads the record even when it points elsewhere"},
      {"kiwi", kRecords, kKiwiText, Cause::kOk, 0, "the record's own content id, not memory form"},
      {"apple", kNotes, "bAe, said the apple~!", Cause::kOk, 0,
       "memory form looked up by key; Y becomes A"},
      {"kiwi", kNotes, "~!", Cause::kOk, 0, "an unreadable note still gets the end marker"},
      {"plum", kNotes, "", Cause::kEmpty, 0,
       "the memory dictionary holds the key only in another case"},
      {"pear", kNotes, "", Cause::kEmpty, 0, "no note on the word"},
      {"apple", kOtherNumber, "", Cause::kInvalidId, 0,
       "dictionary number differs: not compatible"},
      {"fig", kAnyContentLanguage, kWildNote + "~!", Cause::kOk, 0,
       "content language 0xFF matches any"},
      {"apple", 0x00010001, "", Cause::kInvalidId, 0, "a zero low byte is never compatible"},
      {"apple", 0x05010101, "", Cause::kFileMissing, 0, "compatible id, but no such dictionary"},
      {"plum", kMain, "", Cause::kTruncated, kDamaged, "a record cut short by the end of the file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    HWORD* w = word(c.word);
    Cause cause;
    uint32_t at = 0, size = 0;
    EXPECT_EQ(text(w, c.dictId, 256, &cause, &at), c.expected);
    EXPECT_EQ(cause, c.cause);
    EXPECT_EQ(at, c.at);
    const Status sized = contentSize(w, c.dictId, &size);
    EXPECT_EQ(sized.cause(), c.cause);
    EXPECT_EQ(size, c.expected.size());  // left 0 by a failure
    EXPECT_EQ(dicGetContentSize(w, c.dictId), sized.ok() ? size : 0u);
    EXPECT_EQ(dicIsExistContent(w, c.dictId), c.cause == Cause::kOk ? 1 : 0);
  }
}

TEST_F(ContentRetrieval, ExistenceElsewhereIsTheKeyAloneAndItselfIsANonZeroSize) {
  // The note of kiwi cannot be read, but the key is there.
  EXPECT_EQ(dicIsExistContent(word("kiwi"), kNotes), 1);
  EXPECT_EQ(dicIsExistContent(word("plum"), kMain), 0);
  EXPECT_EQ(dicIsExistContent(nullptr, kMain), 0);
  HWORD noRecord{main_, nullptr};
  EXPECT_EQ(dicIsExistContent(&noRecord, kMain), 0);
  EXPECT_EQ(dicGetContentSize(&noRecord, kMain), 0u);
}

TEST_F(ContentRetrieval, BufferEdges) {
  HWORD* apple = word("apple");
  const uint32_t length = uint32_t(kAppleText.size());
  uint32_t at = 0;
  Cause cause;
  EXPECT_EQ(text(apple, kMain, length, &cause, &at), "") << "one byte short";
  EXPECT_EQ(cause, Cause::kNoRoom);
  EXPECT_EQ(at, kApple);
  EXPECT_EQ(text(apple, kMain, length + 1), kAppleText);

  const uint32_t noted = uint32_t(kAppleNote.size()) + 2;
  EXPECT_EQ(textCause(apple, kNotes, noted), Cause::kNoRoom) << "the marker needs room for its NUL";
  EXPECT_EQ(text(apple, kNotes, noted + 1), "bAe, said the apple~!");

  EXPECT_EQ(dicGetContent(apple, kMain, nullptr, 64), 0u);
  char untouched[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(dicGetContent(apple, kMain, untouched, 0), 0u);
  EXPECT_EQ(untouched[0], '#');
  char failed[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(dicGetContent(nullptr, kMain, failed, sizeof failed), 0u);
  EXPECT_EQ(failed[0], '\0');

  orvia::testing::ReadOnlyPage readOnly;
  ASSERT_NE(readOnly.get(), nullptr);
  EXPECT_EQ(dicGetContent(apple, kMain, static_cast<char*>(readOnly.get()), 64), 0u);
}

TEST_F(ContentRetrieval, FailuresBeforeTheBodyGiveNoEndMarker) {
  HWORD* apple = word("apple");
  StoreDouble::instance().failGetDataFrom = 1;
  EXPECT_EQ(textCause(apple, kNotes), Cause::kStoreFailed);
  StoreDouble::instance().failGetDataFrom = 0;

  // A name the store does not know for the note dictionary's content.
  StoreDouble::instance().contentNames[indexPath(kNotes)].clear();
  EXPECT_EQ(textCause(apple, kNotes), Cause::kStoreFailed);

  // The data file is gone.
  std::remove(dir_.file("00010101.DAT").c_str());
  EXPECT_EQ(textCause(apple, kMain), Cause::kReadFailed);
  EXPECT_EQ(dicIsExistContent(apple, kMain), 0);
}

TEST_F(ContentRetrieval, APathThatCannotBeBuiltGivesNoEndMarker) {
  // A folder where the index name fits within the path limit and a longer content name
  // does not.
  const std::string folder = dir_.file(std::string(244 - dir_.path().size(), 'd'));
  ASSERT_EQ(folder.size(), 245u);
  writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n\"FF010101Path\"=\"" + folder + "\"\r\n");
  const std::string index = (std::filesystem::path(folder) / "FF010101.IDX").string();
  StoreDouble::instance().load(index, lang::getCompareKeysFn(1), {entry("apple", kNotes, 0)});
  StoreDouble::instance().contentNames[index][kNotes] = std::string("FF010101.NOTES") + '\0' + '\0';
  EXPECT_EQ(textCause(word("apple"), kNotes), Cause::kNotConfigured);
  EXPECT_EQ(dicIsExistContent(word("apple"), kNotes), 1);
}

TEST_F(ContentRetrieval, TemporaryDictionariesAreClosedOnEveryPath) {
  const int before = StoreDouble::instance().openHandles;
  HWORD* apple = word("apple");
  text(apple, kNotes);
  dicGetContentSize(word("plum"), kNotes);
  dicIsExistContent(word("pear"), kNotes);
  text(apple, 0x05010101);
  EXPECT_EQ(StoreDouble::instance().openHandles, before);
}

TEST_F(ContentRetrieval, ServerDataModeReadsDataFilesFromTheSharedFolder) {
  std::filesystem::create_directory(dir_.file("shared"));
  std::filesystem::rename(dir_.file("00010101.DAT"), dir_.file("shared/00010101.DAT"));
  writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n\"Type\"=dword:00000001\r\n" +
               "\"ServerDataPath\"=\"" + dir_.file("shared") + "\"\r\n");
  reload();
  EXPECT_EQ(text(word("apple"), kMain), kAppleText);
  // Companions keep their files in the dictionary's own folder.
  EXPECT_EQ(text(word("kiwi"), kRecords), kKiwiText);
}

TEST(KeyExistsIn, AClosedIndexHoldsNoKey) {
  HDICT closed{kMain, nullptr};
  EXPECT_EQ(keyExistsIn(&closed, "a"), 0);
}

}  // namespace
}  // namespace orvia::content
