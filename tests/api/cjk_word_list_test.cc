// The hand-written word lists of data/cjk/, compiled and read through the exports: the
// compiler leaves out exactly the entries it cannot key or keep in order and names why,
// the records stand in the collation's order, every headword lands on its own record or
// its homograph run, and homograph numbers 2 and 10 are ordered as numbers in Chinese and
// as digits in Korean. The ids give byte 1 values of their own: the code page is chosen by
// byte 0 alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/compiled_index_checks.h"
#include "support/dictionary_fixtures.h"

namespace orvia::testing {
namespace {

struct WordList {
  const char* file;
  uint32_t dictId;
  const char* skipped;     // entries left out, by reason
  const char* outOfOrder;  // the headwords left out for breaking the order
  const char* homograph;   // UTF-8; the list holds eleven entries of it
  bool numbersAsNumbers;   // homograph 2 before homograph 10
};
constexpr WordList kLists[] = {
    {"zh_simplified.tsv", 0x00010102,
     "key-too-long 1, no-significant-character 3, not-in-code-page 3, ", "", "行", true},
    {"zh_traditional.tsv", 0x00030103,
     "key-too-long 1, no-significant-character 3, not-in-code-page 5, ", "", "行", true},
    {"korean.tsv", 0x00050105,  // "TV" has no Korean character
     "key-too-long 1, no-significant-character 4, not-in-code-page 3, ", "", "배", false},
    // -か < かー < か-ー < -か, a cycle of one bound and one free long-vowel mark; ｶﾀｶﾅ
    // (half-width) has no significant character
    {"japanese_cycle.tsv", 0x00010304, "no-significant-character 1, out-of-order 3, ",
     "か-ー -か かー ", nullptr, false},
};

using CjkWordLists = ExportsFixture;

TEST_F(CjkWordLists, CompileInOrderAndEveryHeadwordLands) {
  for (const WordList& list : kLists) {
    SCOPED_TRACE(list.file);
    const compile::CompiledDictionary compiled =
        compileWordList(list.file, list.dictId, dir_.path());
    std::string skipped, outOfOrder;
    for (const auto& [reason, count] : skippedByReason(compiled.index))
      skipped += reason + " " + std::to_string(count) + ", ";
    for (const compile::SkippedEntry& s : compiled.index.skipped)
      if (s.reason == compile::SkipReason::kOutOfOrder) outOfOrder += s.headword + " ";
    EXPECT_EQ(skipped, list.skipped);
    EXPECT_EQ(outOfOrder, list.outOfOrder);
    const std::vector<std::string> keys = compiledKeys(compiled.index);
    ASSERT_EQ(keys.size(), compiled.index.recordCount);
    expectOrderedAndFound(list.dictId, keys);
    if (list.homograph == nullptr) continue;

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
