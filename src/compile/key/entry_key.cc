#include "compile/key/entry_key.h"

#include <cstring>

#include "lang/single_byte.h"
#include "text/ascii_fold.h"

namespace orvia::compile {
namespace {

bool isWhiteSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isSingleByteLanguage(uint32_t code) {
  return code == 1 || (code >= 6 && code <= 9);
}

// Why makeSearchKey refused word, judged from the key it left.
SkipReason refusal(const std::string& word, const char* key) {
  size_t length = std::strlen(key);
  if (length >= lang::single_byte::kKeyLimit) return SkipReason::kKeyTooLong;
  if (length == 0 && collapseWhiteSpace(word).empty()) return SkipReason::kEmptyKey;
  return SkipReason::kUnusableKey;
}

}  // namespace

std::string collapseWhiteSpace(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  bool pendingSpace = false;
  for (char c : text) {
    if (isWhiteSpace(c)) {
      pendingSpace = !out.empty();
      continue;
    }
    if (pendingSpace) out += ' ';
    pendingSpace = false;
    out += c;
  }
  return out;
}

EntryKeyMaker::EntryKeyMaker(uint32_t languageCode)
    : makeSearchKey_(lang::getMakeSearchKeyFn(languageCode)),
      foldsToAscii_(isSingleByteLanguage(languageCode)) {
  if (const char* codePage = text::codePageName(languageCode)) {
    converterStorage_.emplace(codePage);
    converter_ = &*converterStorage_;
  }
}

std::optional<SkipReason> EntryKeyMaker::make(const SourceEntry& entry, EntryKey* out) {
  if (!valid()) return SkipReason::kNotInCodePage;
  if (!converter_->convert(entry.headword, &scratch_)) return SkipReason::kNotInCodePage;
  out->shown = collapseWhiteSpace(scratch_);
  if (!converter_->convert(entry.displayWord, &scratch_)) return SkipReason::kNotInCodePage;
  out->displayWord = collapseWhiteSpace(scratch_);
  if (out->displayWord == out->shown) out->displayWord.clear();

  std::string keyWord = out->shown;
  if (foldsToAscii_ && !text::foldToAscii(out->shown, &keyWord))
    return SkipReason::kNoAsciiSpelling;
  if (keyWord.find('@') != std::string::npos) return SkipReason::kHoldsAt;
  char key[lang::kKeyBufferSize];
  if (makeSearchKey_(keyWord.c_str(), key) == 0) return refusal(keyWord, key);
  out->searchKey = key;
  return std::nullopt;
}

}  // namespace orvia::compile
