// Turns a source entry's spellings into what its index record shows and the search key
// that places it, in the dictionary's code page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "compile/key/skip_reason.h"
#include "compile/source/source_entry.h"
#include "lang/lang_ops.h"
#include "text/code_page.h"

namespace orvia::compile {

// Usable keys are shorter than this in every language; a key that reaches it, homograph
// number included, is left out.
inline constexpr size_t kUsableKeyLimit = 244;

struct EntryKey {
  std::string searchKey;    // makeSearchKey's key, before any homograph number
  std::string shown;        // the headword as shown: code page, white space collapsed
  std::string displayWord;  // code page; empty when it equals shown
};

class EntryKeyMaker {
 public:
  explicit EntryKeyMaker(uint32_t languageCode);

  // False for a language without a code page, or one iconv does not know.
  bool valid() const { return converter_ != nullptr && converter_->valid(); }

  // The key of entry, or the reason it has none. Single-byte languages make the key from
  // the ASCII spelling of the headword; the others from its spelling in their code page.
  std::optional<SkipReason> make(const SourceEntry& entry, EntryKey* out);

 private:
  SkipReason refusal(const std::string& word, const char* key) const;

  std::optional<text::CodePageConverter> converterStorage_;
  text::CodePageConverter* converter_ = nullptr;
  uint32_t languageCode_;
  lang::MakeSearchKeyFn makeSearchKey_;
  const char* significantChar_;  // in the code page; null in the single-byte languages
  std::string scratch_;
};

}  // namespace orvia::compile
