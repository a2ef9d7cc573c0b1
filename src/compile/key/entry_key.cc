#include "compile/key/entry_key.h"

#include <cstring>

#include "text/key_fold.h"

namespace orvia::compile {
namespace {

// One character that the double-byte languages' keys count, written in the language's
// code page: 啊, 一, あ and 가. Put before a refused word it tells a word that merely
// lacks such a character from one that holds bytes the language refuses.
const char* significantCharOf(uint32_t code) {
  switch (code) {
    case 2:
      return "\xB0\xA1";
    case 3:
      return "\xA4\x40";
    case 4:
      return "\x82\xA0";
    case 5:
      return "\xB0\xA1";
    default:
      return nullptr;
  }
}

// Whether word, in the language's code page, holds "@" as a character of its own. The
// trail byte of a Big5 or Shift-JIS character can be 0x40, the byte of "@", and is no
// "@"; Shift-JIS writes half-width katakana in one byte of 0xA6 or more.
bool holdsAtSign(uint32_t code, const std::string& word) {
  for (size_t i = 0; i < word.size(); ++i) {
    const uint8_t byte = uint8_t(word[i]);
    if (byte == '@') return true;
    const bool halfWidthKatakana = code == 4 && byte >= 0xA6 && byte <= 0xDF;
    if (byte >= 0x80 && !text::keysFoldToAscii(code) && !halfWidthKatakana) ++i;
  }
  return false;
}

}  // namespace

EntryKeyMaker::EntryKeyMaker(uint32_t languageCode)
    : languageCode_(languageCode),
      makeSearchKey_(lang::getMakeSearchKeyFn(languageCode)),
      significantChar_(significantCharOf(languageCode)) {
  if (const char* codePage = text::codePageName(languageCode)) {
    converterStorage_.emplace(codePage);
    converter_ = &*converterStorage_;
  }
}

// Why makeSearchKey refused word, judged from the key it left. A double-byte key stops
// at 244 bytes or, when a two-byte character crosses that mark, at 245. In the Chinese
// and Korean codes a word without a two-byte character leaves an empty key, in Japanese
// its other characters; either way the word with one significant character more is
// usable unless it holds a byte the language refuses or fills the key.
SkipReason EntryKeyMaker::refusal(const std::string& word, const char* key) const {
  if (std::strlen(key) >= kUsableKeyLimit) return SkipReason::kKeyTooLong;
  if (text::collapseWhiteSpace(word).empty()) return SkipReason::kEmptyKey;
  if (significantChar_ == nullptr) return SkipReason::kUnusableKey;
  char probe[lang::kKeyBufferSize];
  if (makeSearchKey_((significantChar_ + word).c_str(), probe) != 0)
    return SkipReason::kNoSignificantChar;
  return std::strlen(probe) >= kUsableKeyLimit ? SkipReason::kKeyTooLong
                                               : SkipReason::kNotInCodePage;
}

std::optional<SkipReason> EntryKeyMaker::make(const SourceEntry& entry, EntryKey* out) {
  if (!valid()) return SkipReason::kNotInCodePage;
  if (!converter_->convert(entry.headword, &scratch_)) return SkipReason::kNotInCodePage;
  out->shown = text::collapseWhiteSpace(scratch_);
  if (!converter_->convert(entry.displayWord, &scratch_)) return SkipReason::kNotInCodePage;
  out->displayWord = text::collapseWhiteSpace(scratch_);
  if (out->displayWord == out->shown) out->displayWord.clear();

  std::string keyWord;
  if (!text::keyWord(languageCode_, out->shown, &keyWord)) return SkipReason::kNoAsciiSpelling;
  if (holdsAtSign(languageCode_, keyWord)) return SkipReason::kHoldsAt;
  char key[lang::kKeyBufferSize];
  if (makeSearchKey_(keyWord.c_str(), key) == 0) return refusal(keyWord, key);
  out->searchKey = key;
  return std::nullopt;
}

}  // namespace orvia::compile
