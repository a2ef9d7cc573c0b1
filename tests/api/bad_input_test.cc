// Every export called with bad arguments: null handles, another dictionary's handle,
// null strings and strings ending just before a page that cannot be read, buffers too
// small or unwritable (placed against such a page, so that a write past their stated size
// faults), fixed-size outputs that reach into it, and selectors just out of range. The
// rows (tests/data/api/bad_input.txt, which says how they read) give each call's result
// and what it leaves in the caller's buffer. Every export the header declares has rows.
#include <functional>
#include <map>
#include <regex>

#include "bad_input_fixture.h"

namespace orvia::testing {
namespace {

uint64_t given(const void* handle) {
  return handle != nullptr ? 1 : 0;
}
uint64_t freed(HDICT* dict) {
  return dict != nullptr && dicFreeHDICT(dict) == 1;
}
uint64_t freed(HWORD* word) {
  return word != nullptr && dicFreeHWORD(word) == 1;
}
uint32_t* u32(char* p) {
  return reinterpret_cast<uint32_t*>(p);
}

using Export = std::function<uint64_t(const Args&)>;

// Each export called with the arguments of a row; handles it returns are freed, and a
// returned handle counts 1.
const std::map<std::string, Export>& exportsByName() {
  static const std::map<std::string, Export> table = {
      {"dicCreateHDICT", [](const Args& a) { return freed(dicCreateHDICT(a.id)); }},
      {"dicFreeHDICT", [](const Args& a) { return dicFreeHDICT(a.dict); }},
      {"dicSetRegKey",
       [](const Args& a) {
         return dicSetRegKey(reinterpret_cast<void*>(uintptr_t(testKeyRoot())), a.text);
       }},
      {"dicGetVersion",
       [](const Args&) { return given(reinterpret_cast<void*>(dicGetVersion())); }},
      {"dicSearchWord", [](const Args& a) { return freed(dicSearchWord(a.dict, a.text)); }},
      {"dicSearchRecord", [](const Args& a) { return freed(dicSearchRecord(a.dict, a.selector)); }},
      {"dicFreeHWORD", [](const Args& a) { return dicFreeHWORD(a.word); }},
      {"dicDuplicateHWORD", [](const Args& a) { return freed(dicDuplicateHWORD(a.word)); }},
      {"dicGetKeySize", [](const Args& a) { return dicGetKeySize(a.word); }},
      {"dicGetKey", [](const Args& a) { return dicGetKey(a.word, a.buffer, a.size); }},
      {"dicGetWordSize", [](const Args& a) { return dicGetWordSize(a.word); }},
      {"dicGetWord", [](const Args& a) { return dicGetWord(a.word, a.buffer, a.size); }},
      {"dicIsExistWord", [](const Args& a) { return dicIsExistWord(a.dict, a.text); }},
      {"dicGetWordCount", [](const Args& a) { return dicGetWordCount(a.dict); }},
      {"dicGetHandleInfo",
       [](const Args& a) { return dicGetHandleInfo(a.word, a.selector, u32(a.buffer)); }},
      {"dicPrev", [](const Args& a) { return dicPrev(a.word, a.selector); }},
      {"dicNext", [](const Args& a) { return dicNext(a.word, a.selector); }},
      {"dicGetKeyList",
       [](const Args& a) {
         return dicGetKeyList(a.dict, a.selector, 2, a.buffer, a.size, a.counter);
       }},
      {"dicGetWordList",
       [](const Args& a) {
         return dicGetWordList(a.dict, a.selector, 2, a.buffer, a.size, a.counter);
       }},
      {"dicGetKeyVcodeList",
       [](const Args& a) {
         return dicGetKeyVcodeList(a.dict, a.selector, 2, a.buffer, a.size, a.counter, a.counter2);
       }},
      {"dicIsExistContent", [](const Args& a) { return dicIsExistContent(a.word, a.id); }},
      {"dicGetContentSize", [](const Args& a) { return dicGetContentSize(a.word, a.id); }},
      {"dicGetContent",
       [](const Args& a) { return dicGetContent(a.word, a.id, a.buffer, a.size); }},
      {"dicAddMem", [](const Args& a) { return dicAddMem(a.word, a.text, a.length); }},
      {"dicDelMem", [](const Args& a) { return dicDelMem(a.word); }},
      {"dicAddRecord",
       [](const Args& a) { return dicAddRecord(a.dict, a.text, a.length, a.text2, 0); }},
      {"dicDelRecord", [](const Args& a) { return dicDelRecord(a.dict, a.selector); }},
      {"dicGetNewWordID", [](const Args& a) { return dicGetNewWordID(a.text, u32(a.buffer)); }},
      {"dicGetNewWordVersion",
       [](const Args& a) { return dicGetNewWordVersion(a.text, u32(a.buffer)); }},
      {"dicGetNewWordTime", [](const Args& a) { return dicGetNewWordTime(a.text, u32(a.buffer)); }},
      {"dicGetCurrentNewWordVersion",
       [](const Args& a) { return dicGetCurrentNewWordVersion(a.id, u32(a.buffer)); }},
      {"dicGetCurrentNewWordTime",
       [](const Args& a) { return dicGetCurrentNewWordTime(a.id, u32(a.buffer)); }},
      {"dicGetNewWordListPath",
       [](const Args& a) { return dicGetNewWordListPath(a.id, a.buffer, a.size); }},
      {"dicAddNewWordEx",
       [](const Args& a) { return dicAddNewWordEx(a.text, a.selector, a.buffer); }},
      {"dicAddNewWord", [](const Args& a) { return dicAddNewWord(a.text); }},
      {"dicExportOwnerWord",
       [](const Args& a) { return dicExportOwnerWord(a.id, const_cast<char*>(a.text)); }},
      {"dicGetImportOwnerWordCount",
       [](const Args& a) { return dicGetImportOwnerWordCount(a.id, a.text); }},
      {"dicImportOwnerWord",
       [](const Args& a) { return dicImportOwnerWord(a.id, a.text, nullptr); }},
  };
  return table;
}

using BadInput = BadInputFixture;

TEST_F(BadInput, EveryExportRefusesWhatItCannotUseAndKeepsTheCallersBytes) {
  for (const CaseRow& c : caseTable("api/bad_input.txt")) {
    SCOPED_TRACE(c.line);
    const auto found = exportsByName().find(c.fields.at(0));
    ASSERT_NE(found, exportsByName().end());
    const Outcome outcome = call(found->second, c);
    EXPECT_EQ(outcome.result, uint64_t(c.number(3)));
    if (c.fields.at(4) != "-") {
      EXPECT_EQ(outcome.bytes, *c.bytes(4));
    }
  }
}

TEST_F(BadInput, EveryDeclaredExportHasRows) {
  const std::string header = readFileBytes(sourceFile("include/orviadic.h"));
  std::map<std::string, int> rows;
  for (const CaseRow& c : caseTable("api/bad_input.txt")) ++rows[c.fields.at(0)];
  const std::regex declared("ORVIADIC_API (dic[A-Za-z]+)\\(");
  int exports = 0;
  for (std::sregex_iterator it(header.begin(), header.end(), declared), end; it != end; ++it) {
    ++exports;
    EXPECT_GT(rows[(*it)[1]], 0) << (*it)[1] << " has no rows";
    EXPECT_EQ(exportsByName().count((*it)[1]), 1u) << (*it)[1] << " cannot be called";
  }
  EXPECT_EQ(exports, 38);
}

}  // namespace
}  // namespace orvia::testing
