// The hand-written Chinese and Korean word lists of data/cjk/, compiled and read through
// the exports: the compiler leaves out exactly the entries it cannot key and names why,
// the records stand in the collation's order, every headword lands on its own record or
// its homograph run, and homograph numbers 2 and 10 are ordered as numbers in Chinese
// and as digits in Korean. The ids give byte 1 values of their own: the code page is
// chosen by byte 0 alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/compiled_index_checks.h"
#include "support/dictionary_fixtures.h"

namespace orvia::testing {
namespace {

struct WordList {
  const char* file;
  uint32_t dictId;
  const char* homograph;  // UTF-8; the list holds eleven entries of it
  size_t notInCodePage;   // entries written with characters the code page lacks
  size_t asciiOnly;       // entries without a two-byte character
  bool numbersAsNumbers;  // homograph 2 before homograph 10
};
constexpr WordList kLists[] = {
    {"zh_simplified.tsv", 0x00010102, "行", 3, 3, true},
    {"zh_traditional.tsv", 0x00030103, "行", 5, 3, true},
    {"korean.tsv", 0x00050105, "배", 3, 4, false},  // "TV" too
};

using CjkWordLists = ExportsFixture;

TEST_F(CjkWordLists, CompileInOrderAndEveryHeadwordLands) {
  for (const WordList& list : kLists) {
    SCOPED_TRACE(list.file);
    const compile::CompiledDictionary compiled =
        compileWordList(list.file, list.dictId, dir_.path());
    const std::map<std::string, size_t> expected = {{"key-too-long", 1},
                                                    {"no-significant-character", list.asciiOnly},
                                                    {"not-in-code-page", list.notInCodePage}};
    EXPECT_EQ(skippedByReason(compiled.index), expected);
    const std::vector<std::string> keys = compiledKeys(compiled.index);
    ASSERT_EQ(keys.size(), compiled.index.recordCount);
    expectOrderedAndFound(list.dictId, keys);

    std::string homograph;
    text::CodePageConverter(text::codePageName(lang::languageOf(list.dictId)))
        .convert(list.homograph, &homograph);
    const auto place = [&](const char* number) {
      return std::find(keys.begin(), keys.end(), homograph + number) - keys.begin();
    };
    ASSERT_LT(size_t(place("@10")), keys.size());
    EXPECT_EQ(place("@2") < place("@10"), list.numbersAsNumbers);
  }
}

}  // namespace
}  // namespace orvia::testing
