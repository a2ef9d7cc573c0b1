#include "lang/lang_ops.h"

#include "lang/double_byte.h"
#include "lang/japanese.h"
#include "lang/single_byte.h"

namespace orvia::lang {
namespace {

// Code 0, "no language": every key is empty and every key equals every other.
int stubMakeSearchKey(const char*, char* key) {
  if (key != nullptr) key[0] = '\0';
  return 0;
}
uint32_t stubKeyCharOffset(const char*, uint32_t) {
  return 0;
}
int ORVIADB_API stubCompareKeys(const char*, const char*) {
  return 0;
}
uint32_t stubMatchLen(const char*, const char*) {
  return 0;
}

constexpr LanguageOps kStubOps = {stubMakeSearchKey, stubKeyCharOffset, stubCompareKeys,
                                  stubMatchLen,      stubMatchLen,      stubMatchLen,
                                  stubMatchLen};

constexpr LanguageOps kSingleByteOps = {
    single_byte::makeSearchKey,  single_byte::keyCharOffset,       single_byte::compareKeys,
    single_byte::matchLenFolded, single_byte::matchLenSignificant, single_byte::matchLenNoCase,
    single_byte::matchLenExact};

// Codes 2, 3 and 5 differ only in their character tests and in the Korean collation;
// these encodings fold nothing, so one match length is both folded and significant.
template <double_byte::Encoding E, CompareKeysFn Compare>
constexpr LanguageOps doubleByteOps() {
  return {double_byte::makeSearchKey<E>,
          double_byte::keyCharOffset<E>,
          Compare,
          double_byte::matchLenSignificant,
          double_byte::matchLenSignificant,
          double_byte::matchLenNoCase,
          double_byte::matchLenExact};
}

constexpr LanguageOps kGb2312Ops =
    doubleByteOps<double_byte::Encoding::kGb2312, double_byte::compareKeysChinese>();
constexpr LanguageOps kBig5Ops =
    doubleByteOps<double_byte::Encoding::kBig5, double_byte::compareKeysChinese>();
constexpr LanguageOps kKsX1001Ops =
    doubleByteOps<double_byte::Encoding::kKsX1001, double_byte::compareKeysKorean>();

constexpr LanguageOps kShiftJisOps = {japanese::makeSearchKey,       japanese::keyCharOffset,
                                      japanese::compareKeys,         japanese::matchLenFolded,
                                      japanese::matchLenSignificant, japanese::matchLenNoCase,
                                      japanese::matchLenExact};

// One column per language code.
constexpr LanguageOps kLangOpTable[10] = {
    kStubOps,    kSingleByteOps, kGb2312Ops,     kBig5Ops,       kShiftJisOps,
    kKsX1001Ops, kSingleByteOps, kSingleByteOps, kSingleByteOps, kSingleByteOps,
};

}  // namespace

const LanguageOps& languageOps(uint32_t code) {
  return code < 10 ? kLangOpTable[code] : kLangOpTable[0];
}

uint32_t languageOf(uint32_t dictId) {
  bool valid = (dictId & 0xFF) != 0 && (dictId & 0xFF00) != 0 && (dictId & 0xFF0000) != 0;
  return valid ? dictId & 0xFF : 0;
}

MakeSearchKeyFn getMakeSearchKeyFn(uint32_t code) {
  return languageOps(code).makeSearchKey;
}
KeyCharOffsetFn getKeyCharOffsetFn(uint32_t code) {
  return languageOps(code).keyCharOffset;
}
CompareKeysFn getCompareKeysFn(uint32_t code) {
  return languageOps(code).compareKeys;
}
MatchLenFn getMatchLenFoldedFn(uint32_t code) {
  return languageOps(code).matchLenFolded;
}
MatchLenFn getMatchLenSignificantFn(uint32_t code) {
  return languageOps(code).matchLenSignificant;
}
MatchLenFn getMatchLenNoCaseFn(uint32_t code) {
  return languageOps(code).matchLenNoCase;
}
MatchLenFn getMatchLenExactFn(uint32_t code) {
  return languageOps(code).matchLenExact;
}

}  // namespace orvia::lang
