// The hand-written Chinese and Korean word lists of data/cjk/, compiled and read through
// the exports: the compiler leaves out exactly the entries it cannot key and names why,
// the records stand in the collation's order, every headword lands on its own record or
// its homograph run, and homograph numbers 2 and 10 are ordered as numbers in Chinese
// and as digits in Korean. The ids give byte 1 values of their own: the code page is
// chosen by byte 0 alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "compile/dictionary_compiler.h"
#include "compile/source/tsv_source.h"
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

std::string listPath(const char* file) {
  const char* root = std::getenv("ORVIADIC_SOURCE_DIR");
  return std::string(root ? root : ".") + "/data/cjk/" + file;
}

compile::SourceOpener tsvOpener(const std::string& path) {
  return [path](compile::WithText withText,
                std::string* problem) -> std::unique_ptr<compile::EntrySource> {
    auto source = std::make_unique<compile::TsvSource>();
    if (source->open(path, withText)) return source;
    *problem = source->problem();
    return nullptr;
  };
}

using CjkWordLists = ExportsFixture;

TEST_F(CjkWordLists, CompileInOrderAndEveryHeadwordLands) {
  for (const WordList& list : kLists) {
    SCOPED_TRACE(list.file);
    const uint32_t code = lang::languageOf(list.dictId);
    compile::CompiledDictionary compiled;
    std::string problem;
    ASSERT_TRUE(
        compile::compileDictionary(tsvOpener(listPath(list.file)),
                                   {list.dictId, dir_.path(), compile::EntryEncoding::kStored, {}},
                                   nullptr, &compiled, &problem))
        << problem;
    std::map<std::string, size_t> skipped;
    for (const compile::SkippedEntry& s : compiled.index.skipped)
      ++skipped[compile::skipReasonName(s.reason)];
    const std::map<std::string, size_t> expected = {{"key-too-long", 1},
                                                    {"no-significant-character", list.asciiOnly},
                                                    {"not-in-code-page", list.notInCodePage}};
    EXPECT_EQ(skipped, expected);
    std::printf("%s: %u records of %llu entries; %zu not held by the code page\n", list.file,
                compiled.index.recordCount, static_cast<unsigned long long>(compiled.entries),
                skipped["not-in-code-page"]);

    const std::vector<std::string> keys = compiledKeys(compiled.index);
    ASSERT_EQ(keys.size(), compiled.index.recordCount);
    for (const std::string& b : orderBreaks(keys, code)) ADD_FAILURE() << "out of order: " << b;
    HDICT* dict = dicCreateHDICT(list.dictId);
    ASSERT_NE(dict, nullptr);
    const std::vector<std::string> exceptions = landingExceptions(dict, keys, code);
    dicFreeHDICT(dict);
    std::printf("%s: %zu of %zu headwords land elsewhere\n", list.file, exceptions.size(),
                keys.size());
    for (const std::string& e : exceptions) ADD_FAILURE() << e;

    std::string homograph;
    text::CodePageConverter(text::codePageName(code)).convert(list.homograph, &homograph);
    const auto place = [&](const char* number) {
      return std::find(keys.begin(), keys.end(), homograph + number) - keys.begin();
    };
    ASSERT_LT(size_t(place("@10")), keys.size());
    EXPECT_EQ(place("@2") < place("@10"), list.numbersAsNumbers);
  }
}

}  // namespace
}  // namespace orvia::testing
