#include "compile/newword_target.h"

#include "dict/dict_id.h"
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

}  // namespace

SourceEntry newWordTargetEntry(uint32_t target) {
  char digits[9];
  dict::formatDictIdHex(target, digits);
  SourceEntry entry;
  // The lowest printable byte, and no letter or digit: every collation puts it first.
  entry.headword = "!";
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
  DictionaryCompileOptions options;
  options.dictId = target;
  options.folder = folder;
  options.encoding = EntryEncoding::kStored;
  options.withCompanions = false;
  const SourceEntry entry = newWordTargetEntry(target);
  SourceOpener open = [&entry](WithText, std::string*) {
    return std::make_unique<OneEntrySource>(entry);
  };
  return compileDictionary(open, options, nullptr, out, problem);
}

}  // namespace orvia::compile
