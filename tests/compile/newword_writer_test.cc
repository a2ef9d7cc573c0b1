// New-word files as the writer makes them: a header the checks accept, an index image
// that is a whole store file, and a content image of records that read alone.
#include <gtest/gtest.h>

#include <memory>

#include "compile/newword_target.h"
#include "compile/newword_writer.h"
#include "compile/source/tsv_source.h"
#include "content/content_record.h"
#include "dict/index_record.h"
#include "lang/lang_ops.h"
#include "orviadb.h"
#include "support/temp_dir.h"
#include "text/code_page.h"
#include "update/newword_file.h"

namespace orvia::compile {
namespace {

using orvia::testing::readFileBytes;
using orvia::testing::writeFileBytes;

constexpr uint32_t kTarget = 0x01010101;

struct Record {
  std::string key;
  uint32_t level, offset;
  bool extended;
};

class NewWordWriter : public ::testing::Test {
 protected:
  // Writes the TSV rows (after a header naming headword, text and level) as a new-word file.
  bool write(const std::string& rows, NewWordFileOptions options, std::string* problem) {
    writeFileBytes(dir_.file("new.tsv"), "headword\ttext\tlevel\n" + rows);
    options.path = dir_.file("new.bin");
    const SourceOpener open = [this](WithText withText, std::string* why) {
      auto source = std::make_unique<TsvSource>();
      if (source->open(dir_.file("new.tsv"), withText)) return source;
      *why = source->problem();
      return std::unique_ptr<TsvSource>();
    };
    return writeNewWordFile(open, options, &written_, problem);
  }
  NewWordFileOptions forTarget(uint32_t target, uint32_t version = 3) const {
    NewWordFileOptions options;
    options.targetDictId = target;
    options.listVersion = version;
    for (uint8_t i = 0; i < 16; ++i) options.listTime[i] = uint8_t(0xF0 + i);
    return options;
  }
  // Splits the written file into its two images, as files of their own.
  void splitImages() {
    const std::string file = readFileBytes(dir_.file("new.bin"));
    writeFileBytes(dir_.file("index.img"), file.substr(40, written_.indexImageSize));
    writeFileBytes(dir_.file("content.img"), file.substr(40 + written_.indexImageSize));
  }
  // The index image's records in key order.
  std::vector<Record> records() const {
    std::vector<Record> out;
    DBHANDLE db =
        dbOpen(dir_.file("index.img").c_str(), lang::getCompareKeysFn(lang::languageOf(kTarget)));
    EXPECT_NE(db, nullptr);
    uint32_t count = 0;
    dbGetInfo(db, 2, &count);
    for (uint32_t n = 0; n < count && dbGoto(db, n) != 0; ++n) {
      uint8_t block[dict::kRecordBlockSize] = {};
      uint32_t size = dict::kMaxIndexRecordSize;
      dict::IndexRecordView view;
      EXPECT_NE(dbGetRecord(db, &size, block), 0);
      EXPECT_TRUE(dict::parseIndexRecord(block, sizeof block, &view));
      EXPECT_EQ(view.contentDictId, kTarget);
      Record r{view.key(), view.level(), view.contentRef & 0xFFFFFF, false};
      r.extended = r.offset == dict::kExtendedLocator && view.extendedRef(&r.offset);
      out.push_back(r);
    }
    dbClose(db);
    return out;
  }

  orvia::testing::TempDir dir_;
  WrittenNewWordFile written_;
};

TEST_F(NewWordWriter, RecordsStandAloneAndTheFilePassesTheChecks) {
  std::string problem;
  // Two entries of one text, which a dictionary's compile would share.
  ASSERT_TRUE(write("bank\tSame text\t5\nshore\tSame text\t0\nzebra\tStriped\t255\n",
                    forTarget(kTarget), &problem))
      << problem;
  content::FileHandle file = update::openNewWordFile(dir_.file("new.bin").c_str());
  ASSERT_NE(file, content::kInvalidFile);
  update::NewWordFileHeader header;
  ASSERT_EQ(update::readNewWordHeader(file, &header), 1u);
  update::closeNewWordFile(file);
  EXPECT_EQ(header.targetDictId, kTarget);
  EXPECT_EQ(header.listVersion, 3u);
  EXPECT_EQ(header.listTime[0], 0xF0);
  EXPECT_EQ(header.listTime[15], 0xFF);

  splitImages();
  const std::vector<Record> got = records();
  ASSERT_EQ(got.size(), 3u);
  const std::pair<const char*, uint32_t> want[] = {{"bank", 5}, {"shore", 0}, {"zebra", 255}};
  content::FileHandle data = content::openFileRead(dir_.file("content.img").c_str());
  const std::string image = readFileBytes(dir_.file("content.img"));
  EXPECT_EQ(image[0], '\0');                                // no file-index entry
  EXPECT_EQ(image.substr(65537, 6), std::string(6, '\0'));  // no Huffman tree
  for (size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(got[i].key);
    EXPECT_EQ(got[i].key, want[i].first);
    EXPECT_EQ(got[i].level, want[i].second);
    EXPECT_FALSE(got[i].extended);
    ASSERT_LE(uint64_t(got[i].offset) + 8, image.size());
    const uint8_t* head = reinterpret_cast<const uint8_t*>(image.data()) + got[i].offset;
    EXPECT_EQ(loadU32Le(head + 4), 0xFFFFFFFFu);  // no continuation
    EXPECT_LE(uint64_t(got[i].offset) + (loadU32Le(head) & 0xFFFFFF), image.size());
    char text[256];
    uint32_t length = 0;
    EXPECT_TRUE(content::contentTextAt(data, got[i].offset, text, sizeof text, &length).ok());
  }
  content::closeFile(data);
  EXPECT_NE(got[0].offset, got[1].offset);
}

TEST_F(NewWordWriter, RefusalsLeaveTheFileAsItWas) {
  struct Row {
    const char* what;
    uint32_t target, version;
    std::string tsv;
  };
  const Row rows[] = {
      {"record dictionary", 0x7F010101, 1, "a\tb\t0\n"},
      {"memory dictionary", 0xFF010101, 1, "a\tb\t0\n"},
      {"installed dictionary", 0x00010101, 1, "a\tb\t0\n"},
      {"version 256", kTarget, 256, "a\tb\t0\n"},
      {"no entry", kTarget, 1, ""},
      {"an entry longer than one record", kTarget, 1, "a\t" + std::string(1u << 20, 'a') + "\t0\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    writeFileBytes(dir_.file("new.bin"), "old");
    std::string problem;
    EXPECT_FALSE(write(row.tsv, forTarget(row.target, row.version), &problem));
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(readFileBytes(dir_.file("new.bin")), "old");
  }
}

// Offsets from 16 MiB on no longer fit the record's 24 bits and go behind its strings.
TEST_F(NewWordWriter, LocatorsAreExtendedFrom16MiB) {
  std::string rows;
  const std::string text((1u << 20) - 64, 'x');
  for (char c = 'a'; c <= 'r'; ++c) rows += std::string(1, c) + "\t" + text + "\t0\n";
  NewWordFileOptions options = forTarget(kTarget);
  options.encoding = EntryEncoding::kStored;
  std::string problem;
  ASSERT_TRUE(write(rows, options, &problem)) << problem;
  splitImages();
  uint32_t extended = 0;
  for (const Record& r : records()) {
    EXPECT_EQ(r.extended, r.offset >= dict::kExtendedLocator) << r.key;
    extended += r.extended;
  }
  EXPECT_GT(extended, 0u);
}

TEST_F(NewWordWriter, MinimalTargetHoldsOneRecordBeforeEveryWord) {
  CompiledDictionary compiled;
  std::string problem;
  ASSERT_TRUE(createNewWordTarget(kTarget, dir_.path(), &compiled, &problem)) << problem;
  EXPECT_EQ(compiled.index.recordCount, 1u);
  EXPECT_TRUE(compiled.companions.empty());
  // Keys as each language makes them from the headword and from words that sort early,
  // in the language's code page; words a code page lacks, or that make no key, are passed.
  for (uint32_t language : {1u, 2u, 3u, 5u, 6u, 9u}) {
    text::CodePageConverter toCodePage(text::codePageName(language));
    std::string word;
    char first[lang::kKeyBufferSize], other[lang::kKeyBufferSize];
    ASSERT_TRUE(toCodePage.convert(newWordTargetEntry(0x01010100 | language).headword, &word));
    ASSERT_NE(lang::getMakeSearchKeyFn(language)(word.c_str(), first), 0) << language;
    for (const char* utf8 : {"a", "A", "0", "\"", "#1", "!a", "!!", "\u3001\u3001", "\u3001a",
                             "\u4e00", "\uff0c\uff0c", "\uac00", "\u3000\u4e00"}) {
      if (!toCodePage.convert(utf8, &word) ||
          lang::getMakeSearchKeyFn(language)(word.c_str(), other) == 0)
        continue;
      EXPECT_LT(lang::getCompareKeysFn(language)(first, other), 0) << language << " " << utf8;
    }
  }
  EXPECT_FALSE(createNewWordTarget(0x7F010101, dir_.path(), &compiled, &problem));
  // A second one would throw away whatever was merged into the first.
  const std::string index = readFileBytes(dir_.file("01010101.IDX"));
  EXPECT_FALSE(createNewWordTarget(kTarget, dir_.path(), &compiled, &problem));
  EXPECT_EQ(readFileBytes(dir_.file("01010101.IDX")), index);
}

}  // namespace
}  // namespace orvia::compile
