// Reading content, from the bytes up: the decoders, on LZW code streams and Huffman trees
// worked out by hand (cases in tests/data/content/streams.txt; the usual trees are those
// of head.hex, and every failure rule of the trees has its row) and a full LZW table; the
// content records, read from golden data files (tests/data/content/record/, cases in
// records.txt): every type, the room rules, composites, continuations through the same
// file and the file-index table, and damage, each failure with its cause and the record
// where it was found; then which record's content a caller gets for a dictionary id, why
// it gets none, and the buffer rules of the text read (cases in
// tests/data/content/retrieval.txt), with indexes in the store double and the data file
// and the user-entry files golden files (tests/data/content/retrieval/). A case's
// outcome is the text or size it yields, or else the name of its cause ("NoRoom" for
// Cause::kNoRoom).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "base/bytes.h"
#include "compile/content/code_stream_writer.h"
#include "content/content_record.h"
#include "content/content_retrieval.h"
#include "content/huffman_decoder.h"
#include "content/lzw_decoder.h"
#include "support/case_table.h"
#include "support/content_files.h"
#include "support/dictionary_fixtures.h"
#include "support/folder_resolver.h"
#include "support/golden.h"
#include "support/heap_failures.h"
#include "support/temp_dir.h"

namespace orvia::content {
namespace {

using namespace orvia::testing;

const auto u8 = [](const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); };

// The cause a field names; kOk for any other field.
inline Cause outcomeCause(const std::string& field) {
  const char* const kNames[] = {"Ok",         "InvalidId", "NotConfigured", "FileMissing",
                                "NotAnIndex", "Empty",     "StoreFailed",   "ReadFailed",
                                "Damaged",    "Truncated", "NoRoom",        "OutOfMemory"};
  const auto named = std::find(std::begin(kNames), std::end(kNames), field);
  return named == std::end(kNames) ? Cause::kOk : Cause(named - std::begin(kNames));
}

TEST(ContentCodec, GoldenStreams) {
  forEachCase("content/streams.txt", [&](const CaseRow& c) {
    const std::string& codec = c.fields[0];
    const std::string body = goldenBytes("content/" + codec + "/" + c.fields[1] + ".hex");
    const uint32_t size = uint32_t(body.size()), capacity = uint32_t(c.number(2));
    const bool refused = c.fields[3] == "refused";
    const std::string text = refused ? "" : *c.bytes(3);
    std::string out(capacity + 8, '\x7F');
    uint8_t* o = reinterpret_cast<uint8_t*>(out.data());
    uint32_t got = 0, textSize = uint32_t(text.size());
    if (codec == "lzw1") {
      got = lzwType1Decode(u8(body), size, o, capacity);
      textSize = lzwType1Size(u8(body), size);
    } else if (codec == "lzw64") {
      got = lzwType64Decode(u8(body), size, o, capacity);
    } else {
      // Trees laid out as a data file holds them from 0x10001: three u16 sizes, then the trees.
      const std::string trees = c.fields[4] == "head"
                                    ? goldenBytes("content/head.hex").substr(0x10001)
                                    : goldenBytes("content/huffman/" + c.fields[4] + ".hex");
      HuffmanTrees view;
      for (uint32_t t = 0, at = 6; t < 3 && trees.size() >= 6; at += view.size[t++]) {
        view.tree[t] = u8(trees) + at;
        view.size[t] = loadU16Le(u8(trees) + 2 * t);
      }
      HuffmanDecoder decoder;
      ASSERT_EQ(decoder.load(view), !refused);
      got = refused ? 0 : decoder.decode(u8(body), size, o, capacity);
      textSize = refused ? 0 : decoder.textSize(u8(body), size);
    }
    EXPECT_EQ(got, text.size());
    EXPECT_EQ(out.substr(capacity), std::string(8, '\x7F')) << "wrote past the capacity";
    EXPECT_TRUE(got == 0 || out.substr(0, got + 1) == text + '\0') << out;
    EXPECT_TRUE(capacity != 16 || textSize == text.size()) << "size pass: " << textSize;
  });
}

// Literals a..z at width 9, filling entries 257..32767, the width raised to 15 by code
// 256, then tail; packed by the encoders' writer, whose packing the hand-worked streams
// above and the round trips show.
std::string fullTableStream(const std::vector<std::pair<uint32_t, uint32_t>>& tail) {
  std::vector<uint8_t> codes;
  compile::CodeStreamWriter out(&codes);
  for (uint32_t i = 0; i <= 32511; ++i) out.put('a' + i % 26, 9);
  for (uint32_t width = 9; width < 15; ++width) out.put(256, width);
  for (const auto& [code, width] : tail) out.put(code, width);
  out.finish();
  return std::string(codes.begin(), codes.end());
}

// Once the table is full no entry is made, old entries still decode, and the code one
// past the last entry repeats the previous string plus its first byte; two past it names
// nothing.
TEST(ContentCodec, LzwFullTableKeepsDecoding) {
  std::string literals;
  for (uint32_t i = 0; i <= 32511; ++i) literals += char('a' + i % 26);
  // Entry 32767 was made by code 32511: the literals 32510 and 32511.
  const std::string pair = literals.substr(32510, 2), expected = literals + pair + pair + pair[0];
  const std::string good = fullTableStream({{32767, 15}, {256, 15}, {32768, 16}, {0, 16}});
  std::string out(expected.size() + 1, '\0');
  auto decode = [&](const std::string& body) {
    return lzwType1Decode(u8(body), uint32_t(body.size()), reinterpret_cast<uint8_t*>(out.data()),
                          uint32_t(out.size()));
  };
  EXPECT_EQ(decode(good), expected.size());
  EXPECT_TRUE(out.compare(0, expected.size(), expected) == 0);
  EXPECT_EQ(lzwType1Size(u8(good), uint32_t(good.size())), expected.size());
  EXPECT_EQ(decode(fullTableStream({{256, 15}, {32769, 16}, {0, 16}})), 0u);
}

constexpr uint32_t kAt = kFirstRecordOffset;  // where every case's record lies

// A data file of the test's folder, whose entry 0 names the further file OTHERXXX.DAT
// (record/other.hex) by its full path and entry 1 by dictionary id 0x00010203.
class ContentRecordTest : public ::testing::Test {
 protected:
  ContentRecordTest() {
    resolveIn(dir_.path(), 0x00010203);
    writeFileBytes(other_, goldenDataFile("record/other.hex"));
  }
  ~ContentRecordTest() override { closeFile(file_); }

  void open(std::string bytes) {
    bytes.replace(1, other_.size(), other_);
    writeFileBytes(dir_.file("main.dat"), bytes);
    closeFile(file_);
    file_ = openFileRead(dir_.file("main.dat").c_str());
    ASSERT_NE(file_, kInvalidFile);
  }

  TempDir dir_;
  const std::string other_ = dir_.file("OTHERXXX.DAT");
  FileHandle file_ = kInvalidFile;
};

TEST_F(ContentRecordTest, GoldenRecords) {
  forEachCase("content/records.txt", [&](const CaseRow& c) {
    open(goldenDataFile("record/" + c.fields[0] + ".hex"));
    const uint32_t capacity = uint32_t(c.number(1));
    std::string out(capacity + 8, '\x7F');
    uint32_t length = 0, size = 0;
    const Status text = contentTextAt(file_, kAt, out.data(), capacity, &resolveInFolder, &length);
    const Status sized = contentSizeAt(file_, kAt, &resolveInFolder, &size);
    EXPECT_EQ(out.substr(capacity), std::string(8, '\x7F')) << "wrote past the capacity";
    EXPECT_EQ(text.cause(), outcomeCause(c.fields[2]));
    EXPECT_EQ(sized.cause(), outcomeCause(c.fields[3]));
    EXPECT_EQ(text.offset(), text.ok() ? 0 : c.number(4));
    EXPECT_EQ(sized.offset(), sized.ok() ? 0 : c.number(4));
    EXPECT_EQ(size, sized.ok() ? c.number(3) : 0);  // left 0 by a failure
    EXPECT_TRUE(!text.ok() || out.substr(0, length + 1) == *c.bytes(2) + '\0') << out;
  });
}

TEST_F(ContentRecordTest, LongChainsAreWalkedWithoutRecursionOrFailForWantOfMemory) {
  const uint32_t kLinks = 20000;
  std::string bytes = goldenBytes("content/head.hex");
  for (uint32_t i = 0; i < kLinks; ++i) {
    const uint32_t next = i + 1 < kLinks ? 0xFF000000 | uint32_t(bytes.size() + 9) : 0xFFFFFFFF;
    // A stored record of 9 bytes: one letter.
    bytes += le32(9) + le32(next) + char('a' + i % 26);
  }
  open(bytes);
  uint32_t size = 0;
  EXPECT_TRUE(contentSizeAt(file_, kAt, &resolveInFolder, &size).ok());
  EXPECT_EQ(size, kLinks);
  // A walk whose allocation fails says so.
  injectAllocationFailure(1);
  EXPECT_EQ(contentSizeAt(file_, kAt, &resolveInFolder, &size).cause(), Cause::kOutOfMemory);
  injectAllocationFailure(0);
}

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
  // A closed index holds no key.
  HDICT closed{kMain, nullptr};
  EXPECT_EQ(keyExistsIn(&closed, "a"), 0);

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

}  // namespace
}  // namespace orvia::content
