// New-word files as the writer makes them: an index image that is a whole store file, and
// a content image of records that read alone. The header and its checks are read back
// by the tool's round trip (tests/data/tools/newword_cli.txt).
#include <gtest/gtest.h>

#include "compile/newword_target.h"
#include "compile/newword_writer.h"
#include "compile/source/tsv_source.h"
#include "content/content_record.h"
#include "lang/lang_ops.h"
#include "support/case_table.h"
#include "support/compiled_dictionary.h"
#include "support/temp_dir.h"
#include "text/code_page.h"

namespace orvia::compile {
namespace {

using namespace orvia::testing;

constexpr uint32_t kTarget = 0x01010101;

class NewWordWriter : public ::testing::Test {
 protected:
  // Writes the TSV rows (after a header naming headword, text and level) as a new-word
  // file for target and version.
  bool write(const std::string& rows, uint32_t target, uint32_t version = 3,
             EntryEncoding encoding = EntryEncoding::kSmallest) {
    writeFileBytes(dir_.file("new.tsv"), "headword\ttext\tlevel\n" + rows);
    const NewWordFileOptions options{target, version, {}, dir_.file("new.bin"), encoding};
    std::string problem;
    const bool written = writeNewWordFile(sourceOpener<TsvSource>(dir_.file("new.tsv")), options,
                                          &written_, &problem);
    EXPECT_EQ(written, problem.empty()) << problem;
    return written;
  }
  TempDir dir_;
  WrittenNewWordFile written_;
};

TEST_F(NewWordWriter, RecordsStandAloneAndTheFilePassesTheChecks) {
  // Two entries of one text, which a dictionary's compile would share.
  ASSERT_TRUE(write("bank\tSame text\t5\nshore\tSame text\t0\nzebra\tStriped\t255\n", kTarget));
  // The index image, a whole store file, and the content image behind it.
  const std::string file = readFileBytes(dir_.file("new.bin"));
  writeFileBytes(dir_.file("index.img"), file.substr(40, written_.indexImageSize));
  const std::string image = file.substr(40 + written_.indexImageSize);
  const std::vector<CompiledRecord> got = readIndexRecordsAt(dir_.file("index.img"), 1);
  ASSERT_EQ(got.size(), 3u);
  const std::pair<std::string, uint32_t> want[] = {{"bank", 5}, {"shore", 0}, {"zebra", 255}};
  EXPECT_EQ(image[0], '\0');                                // no file-index entry
  EXPECT_EQ(image.substr(65537, 6), std::string(6, '\0'));  // no Huffman tree
  writeFileBytes(dir_.file("content.img"), image);
  content::FileHandle data = content::openFileRead(dir_.file("content.img").c_str());
  for (size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(got[i].key);
    EXPECT_EQ(std::pair(got[i].key, got[i].contentRef >> 24), want[i]);
    EXPECT_EQ(got[i].contentDictId, kTarget);
    EXPECT_FALSE(got[i].extended);
    ASSERT_LE(uint64_t(got[i].locator) + 8, image.size());
    const uint8_t* head = reinterpret_cast<const uint8_t*>(image.data()) + got[i].locator;
    EXPECT_EQ(loadU32Le(head + 4), 0xFFFFFFFFu);  // no continuation
    EXPECT_LE(uint64_t(got[i].locator) + (loadU32Le(head) & 0xFFFFFF), image.size());
    char text[256];
    uint32_t length = 0;
    EXPECT_TRUE(content::contentTextAt(data, got[i].locator, text, sizeof text, &length).ok());
  }
  content::closeFile(data);
  EXPECT_NE(got[0].locator, got[1].locator);
}

TEST_F(NewWordWriter, RefusalsLeaveTheFileAsItWas) {
  forEachCase("update/writer_refusals.txt", [&](const CaseRow& c) {
    writeFileBytes(dir_.file("new.bin"), "old");
    EXPECT_FALSE(write(*c.bytes(3), uint32_t(c.number(1)), uint32_t(c.number(2))));
    EXPECT_EQ(readFileBytes(dir_.file("new.bin")), "old");
  });
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
}

}  // namespace
}  // namespace orvia::compile
