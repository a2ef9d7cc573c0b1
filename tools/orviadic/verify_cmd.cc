// orviadic verify: checks a dictionary's index with the record store, then reads every
// entry's content as the library reads it, and names the first record that fails. Each
// content file, further files included, is opened once for the whole walk and each record
// read once for its size and its text, so the walk costs what its reads and decoding cost.
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli.h"
#include "compile/content/content_checksums.h"
#include "content/content_format.h"
#include "content/content_retrieval.h"
#include "content/data_file_set.h"
#include "content/file_access.h"
#include "dict/dict_id.h"
#include "dict/failure_text.h"
#include "dict/word_handle.h"
#include "lang/lang_ops.h"
#include "open_dictionary.h"
#include "orviadb.h"
#include "orviadic.h"
#include "terminal_text.h"

namespace orviadic {
namespace {

using orvia::content::FileHandle;
using orvia::dict::IndexRecordView;

const char* encodingName(uint32_t type) {
  switch (type) {
    case orvia::content::kStoredContent:
      return "stored";
    case orvia::content::kLzwContent:
      return "lzw";
    case orvia::content::kMaskedContent:
      return "masked";
    case orvia::content::kHuffmanContent:
      return "huffman";
    case orvia::content::kLzwSizedContent:
      return "lzw64";
    case orvia::content::kCompositeContent:
      return "composite";
  }
  return "unknown";
}

// Where one record's content lies: a data-file record (its offset and, once read, its
// header) or a user entry of a companion.
struct ContentPlace {
  std::string file;
  FileHandle handle = orvia::content::kInvalidFile;
  uint32_t offset = 0;
  bool userEntry = false;
  bool located = false;  // offset is the record's, its extended reference read
  bool headerRead = false;
  uint32_t header = 0;

  std::string describe() const {
    char text[160];
    if (userEntry)
      std::snprintf(text, sizeof text, "user entry at 0x%X of %s", offset, file.c_str());
    else if (headerRead)
      std::snprintf(text, sizeof text, "%s record of %u bytes at 0x%X of %s",
                    encodingName(header >> 24), header & 0xFFFFFF, offset, file.c_str());
    else
      std::snprintf(text, sizeof text, "record at 0x%X of %s (header unreadable)", offset,
                    file.c_str());
    return text;
  }
};

// The content files of one dictionary, each opened once for the whole walk.
class ContentFiles {
 public:
  explicit ContentFiles(HDICT* dict) : dict_(dict) {}

  uint32_t dictId() const { return dict_->dictId; }

  orvia::content::DataFileSet& set() { return set_; }

  ContentPlace locate(const IndexRecordView& view) {
    const File& file = fileOf(view.contentDictId);
    ContentPlace place;
    place.file = file.path.empty() ? "an unnamed content file" : file.path;
    place.handle = file.handle;
    place.userEntry = orvia::dict::isUserEntryId(view.contentDictId);
    place.offset = view.contentRef;
    if (place.userEntry) return place;
    place.offset &= 0xFFFFFF;
    place.located =
        place.offset != orvia::dict::kExtendedLocator || view.extendedRef(&place.offset);
    return place;
  }

  // The header of a located data-file record: after the record was read, without reading
  // it again.
  void readHeader(ContentPlace* place) {
    place->headerRead = place->located && !place->userEntry &&
                        set_.recordHeader(place->handle, place->offset, &place->header);
  }

 private:
  struct File {
    std::string path;
    FileHandle handle = orvia::content::kInvalidFile;
  };

  const File& fileOf(uint32_t contentDictId) {
    auto it = files_.find(contentDictId);
    if (it != files_.end()) return it->second;
    File& file = files_[contentDictId];
    char name[kDbContentNameSize] = {};
    uint32_t size = sizeof name;
    if (dbGetData(dict_->db, contentDictId, name, &size) != 0) {
      name[sizeof name - 1] = '\0';
      file.path = dictionaryFilePath(contentDictId, name);
      file.handle = set_.open(file.path.c_str());
    }
    return file;
  }

  HDICT* dict_;
  orvia::content::DataFileSet set_;  // declared before files_, whose handles it owns
  std::map<uint32_t, File> files_;
};

struct Tally {
  uint64_t records = 0, bytes = 0, userEntries = 0, checksummed = 0;
  std::map<std::string, uint64_t> encodings;
};

// The checksums the compile wrote, and what became of the file that holds them.
struct Checksums {
  enum class State { kChecked, kMissing, kDamaged } state = State::kMissing;
  std::map<uint32_t, uint32_t> byLocator;

  explicit Checksums(uint32_t dictId) {
    char name[16];
    orvia::dict::buildDictFileName(dictId, name, ".CRC");
    const std::string path = dictionaryFilePath(dictId, name);
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) return;
    std::optional<std::map<uint32_t, uint32_t>> read = orvia::compile::readContentChecksums(path);
    state = read ? State::kChecked : State::kDamaged;
    if (read) byLocator = std::move(*read);
  }

  const char* stateName() const {
    return state == State::kChecked ? "checked" : state == State::kMissing ? "missing" : "damaged";
  }
};

// The size and then the text of a record's content, as dicGetContentSize and
// dicGetContent read them; text is the walk's buffer, reused from entry to entry.
orvia::Status readEntry(const IndexRecordView& view, const ContentPlace& place,
                        orvia::content::DataFileSet& set, std::string* text, uint32_t* size,
                        uint32_t* length) {
  if (place.handle == orvia::content::kInvalidFile) return orvia::Status(orvia::Cause::kReadFailed);
  orvia::Status status = orvia::content::recordContentSize(place.handle, view, size, &set);
  if (!status.ok()) return status;
  if (text->size() <= *size) text->resize(size_t(*size) + 1);
  (*text)[0] = '\0';
  return orvia::content::recordContentText(place.handle, view, text->data(), *size + 1, length,
                                           &set);
}

// The first damage found in the entry, or an empty string.
std::string checkEntry(const IndexRecordView& view, ContentFiles& files, ContentPlace* place,
                       const Checksums& checksums, Tally* tally, std::string* buffer) {
  uint32_t size = 0, length = 0;
  const orvia::Status status = readEntry(view, *place, files.set(), buffer, &size, &length);
  files.readHeader(place);
  if (!status.ok()) return "its content does not decode: " + orvia::dict::describeCause(status);
  if (length != size) return "its content decodes to another length than its size";
  const std::string_view text(buffer->data(), length);
  if (place->userEntry) {
    ++tally->userEntries;
  } else {
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "~!") != 0)
      return "its content does not end with the end marker";
    ++tally->encodings[encodingName(place->header >> 24)];
    // Records the compile did not write (merged new words) have no checksum.
    const auto expected = checksums.byLocator.find(place->offset);
    if (view.contentDictId == files.dictId() && expected != checksums.byLocator.end()) {
      if (orvia::compile::textChecksum(text) != expected->second)
        return "checksum mismatch at offset " + std::to_string(place->offset) +
               ": its text is not the one compiled";
      ++tally->checksummed;
    }
  }
  tally->bytes += length;
  return std::string();
}

void report(const GlobalOptions& options, const std::string& index, const Tally& tally,
            const Checksums& checksums) {
  std::string mix;
  Json mixJson = Json::object();
  for (const auto& [name, count] : tally.encodings) {
    mix += (mix.empty() ? "" : ", ") + name + " " + std::to_string(count);
    mixJson[name] = count;
  }
  if (options.json) {
    printJson(jsonReply({{"index", index},
                         {"ok", true},
                         {"records", tally.records},
                         {"bytes", tally.bytes},
                         {"userEntries", tally.userEntries},
                         {"encodings", mixJson},
                         {"checksums", checksums.stateName()},
                         {"checksummed", tally.checksummed}}));
    return;
  }
  std::printf(
      "%s: ok, %llu records, %llu bytes of text; %s%s\n", index.c_str(),
      static_cast<unsigned long long>(tally.records), static_cast<unsigned long long>(tally.bytes),
      mix.empty() ? "no records" : mix.c_str(),
      tally.userEntries == 0 ? ""
                             : (", user entries " + std::to_string(tally.userEntries)).c_str());
  if (checksums.state == Checksums::State::kChecked)
    std::printf("  checksums: %llu texts as compiled\n",
                static_cast<unsigned long long>(tally.checksummed));
  else
    std::printf("  checksums: the checksum file is %s; texts were checked only for decoding\n",
                checksums.stateName());
}

void damaged(const GlobalOptions& options, const std::string& where, const std::string& what) {
  if (options.json) printJson(jsonReply({{"ok", false}, {"where", where}, {"damage", what}}));
  throw CommandFailure{kExitNotFound, where + ": " + what};
}

void verify(const GlobalOptions& options, const std::string& dictIdText) {
  const uint32_t dictId = resolveDictId(dictIdText);
  OpenDictionary dict(dictId);
  const std::string index = indexPathOf(dictId);
  char problem[256];
  if (dbVerify(index.c_str(), orvia::lang::getCompareKeysFn(orvia::lang::languageOf(dictId)),
               problem, sizeof problem) == 0)
    damaged(options, index, problem);

  Tally tally;
  const Checksums checksums(dictId);
  std::string buffer;
  ContentFiles files(dict.get());
  std::unique_ptr<HWORD, int32_t (*)(HWORD*)> word(dicSearchRecord(dict.get(), 0), dicFreeHWORD);
  const uint32_t count = dicGetWordCount(dict.get());
  for (uint32_t n = 0; word && n < count; ++n) {
    IndexRecordView view;
    if (n > 0 && dicNext(word.get(), 0) == 0) damaged(options, index, "the walk ends early");
    if (!orvia::dict::wordRecord(word.get(), &view))
      damaged(options, "record " + std::to_string(n), "the index record is damaged");
    ContentPlace place = files.locate(view);
    const std::string damage = checkEntry(view, files, &place, checksums, &tally, &buffer);
    if (!damage.empty())
      damaged(options, "record " + std::to_string(n) + " (" + toTerminal(dictId, view.word()) + ")",
              damage + "; " + place.describe());
    ++tally.records;
  }
  report(options, index, tally, checksums);
}

}  // namespace

void addVerifyCommand(CLI::App& app, const GlobalOptions& options) {
  auto dictId = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand(
      "verify", "Check a dictionary's index and every entry's content; exit 1 at the first damage");
  command->add_option("DICTID", *dictId, kDictHelp)->required();
  command->callback([&options, dictId] { verify(options, *dictId); });
}

}  // namespace orviadic
