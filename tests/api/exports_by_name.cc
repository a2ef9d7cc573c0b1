// Every export called with the arguments of a row (tests/api/bad_input_fixture.h).
#include "bad_input_fixture.h"

namespace orvia::testing {
namespace {

uint64_t freed(HDICT* dict) {
  return dict != nullptr && dicFreeHDICT(dict) == 1;
}
uint64_t freed(HWORD* word) {
  return word != nullptr && dicFreeHWORD(word) == 1;
}
uint32_t* u32(char* p) {
  return reinterpret_cast<uint32_t*>(p);
}

}  // namespace

const std::map<std::string, Export>& exportsByName() {
  static const std::map<std::string, Export> table = {
      {"dicCreateHDICT", [](const Args& a) { return freed(dicCreateHDICT(a.id)); }},
      {"dicFreeHDICT", [](const Args& a) { return dicFreeHDICT(a.dict); }},
      {"dicSetRegKey",
       [](const Args& a) {
         return dicSetRegKey(reinterpret_cast<void*>(uintptr_t(testKeyRoot())), a.text);
       }},
      {"dicGetVersion", [](const Args&) { return dicGetVersion(); }},
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

}  // namespace orvia::testing
