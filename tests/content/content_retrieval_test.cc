// Which record's content a caller gets for a dictionary id, why it gets none, and the
// buffer rules of the text read (cases in tests/data/content/retrieval.txt). Indexes live
// in the store double; the data file and the user-entry files are golden files
// (tests/data/content/retrieval/).
#include "content/content_retrieval.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "outcome_fields.h"
#include "support/case_table.h"
#include "support/content_files.h"
#include "support/dictionary_fixtures.h"
#include "support/temp_dir.h"

namespace orvia::content {
namespace {

using namespace orvia::testing;

constexpr uint32_t kMain = 0x00010101, kRecords = 0x7F010101, kNotes = 0xFF010101;

// A language-1 record: key, two empty strings, an optional extended reference, vcode.
StoredRecord entry(const std::string& key, uint32_t contentDictId, uint32_t contentRef,
                   const std::string& extended = "") {
  return {contentDictId, contentRef, key + '\0' + '\0' + '\0' + extended + '\xB8'};
}

struct Read {
  Status status;
  std::string text;  // empty after a failure
};

class ContentRetrieval : public MemoryDictionaryFixture {
 protected:
  void SetUp() override {
    MemoryDictionaryFixture::SetUp();
    writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n\"00010203Path\"=\"" + dir_.file("data") +
                 "\"\r\n");
    std::filesystem::create_directory(dir_.file("data"));
    writeFileBytes(dir_.file("data/OTHERXXX.DAT"), goldenDataFile("record/other.hex"));
    writeFileBytes(dir_.file("00010101.DAT"), goldenDataFile("retrieval/00010101.hex"));
    for (std::string name : {"7F010101", "FF010101", "0001FF01"})  // user-entry files
      writeFileBytes(dir_.file(name + ".DAT"), goldenBytes("content/retrieval/" + name + ".hex"));
    openMemoryDictionary(kNotes, {entry("apple", kNotes, 4), entry("kiwi", kNotes, 0x7777),
                                  entry("PLUM", kNotes, 4)});
    openMemoryDictionary(kRecords, {entry("kiwi", kRecords, 4)});
    openMemoryDictionary(0x0001FF01, {entry("fig", 0xFF01FF01, 4)});
    main_ = openMemoryDictionary(
        kMain, {entry("apple", kMain, 0x07010031), entry("fig", kMain, 0x1006E),
                entry("kiwi", kRecords, 4), entry("pear", kMain, 0x03FFFFFF, le32(0x1004C)),
                entry("plum", kMain, 0x10078)});
    nameContent("00010101.IDX", kMain, "00010101.DAT");
    nameContent("00010101.IDX", kRecords, "7F010101.DAT");
    nameContent("7F010101.IDX", kRecords, "7F010101.DAT");
    nameContent("FF010101.IDX", kNotes, "FF010101.DAT");
    nameContent("0001FF01.IDX", 0xFF01FF01, "0001FF01.DAT");
  }
  void TearDown() override {
    for (HWORD* word : words_) dicFreeHWORD(word);
    MemoryDictionaryFixture::TearDown();
  }

  // Makes the index at index (a path, or a name in the test's folder) name the file of
  // contentDictId's content.
  void nameContent(const std::string& index, uint32_t contentDictId, std::string name) {
    name.resize(dict::kFileNameBufferSize, '\0');
    const std::string path = std::filesystem::path(index).is_absolute() ? index : dir_.file(index);
    StoreDouble::instance().contentNames[path][contentDictId] = name;
  }
  HWORD* word(const std::string& key) {
    HWORD* found = dicSearchWord(main_, key.c_str());
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
    return {status, std::string(buffer.data(), status.ok() ? length : 0)};
  }

  HDICT* main_ = nullptr;
  std::vector<HWORD*> words_;
};

TEST_F(ContentRetrieval, RecordChoiceAndRoom) {
  const int handles = StoreDouble::instance().openHandles;
  forEachCase("content/retrieval.txt", [&](const CaseRow& c) {
    HWORD* w = word(c.fields[0]);
    const uint32_t dictId = uint32_t(c.number(1));
    const Read got = read(w, dictId, uint32_t(c.number(2)));
    EXPECT_EQ(got.status.cause(), outcomeCause(c.fields[3]));
    EXPECT_EQ(got.status.offset(), c.number(4));
    EXPECT_EQ(got.text, got.status.ok() ? *c.bytes(3) : "");
    EXPECT_EQ(dicIsExistContent(w, dictId),
              got.status.ok() || got.status.cause() == Cause::kNoRoom);
  });
  // Temporary dictionaries are closed on every path.
  EXPECT_EQ(StoreDouble::instance().openHandles, handles);
}

TEST_F(ContentRetrieval, FailuresBeforeTheBodyGiveNoEndMarker) {
  HWORD* apple = word("apple");
  StoreDouble::instance().failing = {"dbGetData"};
  EXPECT_EQ(read(apple, kNotes).status.cause(), Cause::kStoreFailed);
  StoreDouble::instance().failing.clear();
  // A name the store does not know for the note dictionary's content.
  StoreDouble::instance().contentNames[dir_.file("FF010101.IDX")].clear();
  EXPECT_EQ(read(apple, kNotes).status.cause(), Cause::kStoreFailed);
  std::remove(dir_.file("00010101.DAT").c_str());
  EXPECT_EQ(read(apple, kMain).status.cause(), Cause::kReadFailed);
  EXPECT_EQ(dicIsExistContent(apple, kMain), 0);

  // A folder where the index name fits within the path limit and a longer content name
  // does not.
  const std::string folder = dir_.file(std::string(244 - dir_.path().size(), 'd'));
  ASSERT_EQ(folder.size(), 245u);
  writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n\"FF010101Path\"=\"" + folder + "\"\r\n");
  const std::string index = (std::filesystem::path(folder) / "FF010101.IDX").string();
  StoreDouble::instance().load(index, lang::getCompareKeysFn(1), {entry("apple", kNotes, 0)});
  nameContent(index, kNotes, "FF010101.NOTES");
  EXPECT_EQ(read(apple, kNotes).status.cause(), Cause::kNotConfigured);
  EXPECT_EQ(dicIsExistContent(apple, kNotes), 1);
}

TEST_F(ContentRetrieval, ServerDataModeReadsDataFilesFromTheSharedFolder) {
  std::filesystem::create_directory(dir_.file("shared"));
  std::filesystem::rename(dir_.file("00010101.DAT"), dir_.file("shared/00010101.DAT"));
  writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n\"Type\"=dword:00000001\r\n" +
               "\"ServerDataPath\"=\"" + dir_.file("shared") + "\"\r\n");
  reload();
  EXPECT_EQ(read(word("apple"), kMain).text, "apple\r\nA fruit.\r\n~!");
  // Companions keep their files in the dictionary's own folder.
  EXPECT_EQ(read(word("kiwi"), kRecords).text, "kiwi\r\nA word of the user's.");
}

TEST(KeyExistsIn, AClosedIndexHoldsNoKey) {
  HDICT closed{kMain, nullptr};
  EXPECT_EQ(keyExistsIn(&closed, "a"), 0);
}

}  // namespace
}  // namespace orvia::content
