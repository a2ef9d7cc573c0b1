#include "compile/newword_target.h"

#include <cstring>

#include "compile/index/index_writer.h"
#include "dict/dict_id.h"
#include "lang/lang_ops.h"
#include "platform/file.h"
#include "text/code_page.h"
#include "update/newword_format.h"

namespace orvia::compile {
namespace {

// A source of the one entry.
class OneEntrySource : public EntrySource {
 public:
  explicit OneEntrySource(SourceEntry entry) : entry_(std::move(entry)) {}
  ReadResult next(SourceEntry* entry) override {
    if (given_) return ReadResult::kEnd;
    given_ = true;
    *entry = entry_;
    return ReadResult::kEntry;
  }
  const std::string& problem() const override { return problem_; }
  uint64_t bytesRead() const override { return given_ ? 1 : 0; }
  uint64_t totalBytes() const override { return 1; }

 private:
  SourceEntry entry_;
  bool given_ = false;
  std::string problem_;
};

// The one-character word whose key the language's collation puts first, in UTF-8: every
// printable ASCII character and every two-byte character is tried, so no family's rules
// need restating here. "!" where no character makes a key.
std::string firstKeyHeadword(uint32_t language) {
  const char* codePage = text::codePageName(language);
  if (codePage == nullptr) return "!";
  const lang::MakeSearchKeyFn makeKey = lang::getMakeSearchKeyFn(language);
  const lang::CompareKeysFn compare = lang::getCompareKeysFn(language);
  text::CodePageConverter toUtf8(codePage, text::CodePageConverter::Direction::kToUtf8);
  std::string best, bestUtf8;
  char bestKey[lang::kKeyBufferSize] = {}, key[lang::kKeyBufferSize];
  auto consider = [&](const std::string& word) {
    std::string utf8;
    if (makeKey(word.c_str(), key) == 0 || !toUtf8.convert(word, &utf8)) return;
    if (best.empty() || compare(key, bestKey) < 0) {
      best = word;
      bestUtf8 = utf8;
      std::memcpy(bestKey, key, sizeof key);
    }
  };
  // "@" would start a homograph number.
  for (int c = 0x21; c < 0x7F; ++c)
    if (c != '@') consider(std::string(1, char(c)));
  for (int lead = 0x81; lead <= 0xFE; ++lead)
    for (int trail = 0x40; trail <= 0xFE; ++trail) consider({char(lead), char(trail)});
  return best.empty() ? "!" : bestUtf8;
}

}  // namespace

SourceEntry newWordTargetEntry(uint32_t target) {
  char digits[9];
  dict::formatDictIdHex(target, digits);
  SourceEntry entry;
  entry.headword = firstKeyHeadword(lang::languageOf(target));
  entry.displayWord = std::string("New words of ") + digits;
  entry.text = std::string("Dictionary ") + digits + ": the new words merged into " +
               "its family's dictionaries.";
  return entry;
}

bool createNewWordTarget(uint32_t target, const std::string& folder, CompiledDictionary* out,
                         std::string* problem) {
  if (!update::isNewWordTarget(target)) {
    *problem = "not a new-word target: every byte non-zero, kind neither 0x7F nor 0xFF";
    return false;
  }
  // New words may have been merged into a target already there: it is never replaced.
  const std::string index = indexFilePath(folder, target);
  if (platform::fileExists(index.c_str())) {
    *problem = index + " is already there";
    return false;
  }
  DictionaryCompileOptions options;
  options.dictId = target;
  options.folder = folder;
  options.encoding = EntryEncoding::kStored;
  options.withCompanions = false;
  const SourceEntry entry = newWordTargetEntry(target);
  SourceOpener open = [&entry](std::string*) { return std::make_unique<OneEntrySource>(entry); };
  return compileDictionary(open, options, nullptr, out, problem);
}

}  // namespace orvia::compile
