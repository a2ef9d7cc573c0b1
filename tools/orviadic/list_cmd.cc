// orviadic list: windows of a dictionary's word list, as the list functions give them.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli.h"
#include "open_dictionary.h"
#include "orviadic.h"
#include "terminal_text.h"

namespace orviadic {
namespace {

struct ListArguments {
  std::string dictId, from;
  uint32_t at = 0, count = 20, level = 0;
  bool keys = false, words = false, vcodes = false;
};

struct ListEntry {
  uint32_t record;
  uint32_t kind;  // byte 3 of the content's dictionary id
  std::string text;
  int vcode = -1;
};

// One window from the list functions: the count it gave, and its bytes.
uint32_t fetchWindow(HDICT* dict, bool keys, bool vcodes, uint32_t first, uint32_t wanted,
                     std::vector<char>* buffer) {
  uint32_t entries = 0, bytes = 0, size = uint32_t(buffer->size());
  if (vcodes)
    return dicGetKeyVcodeList(dict, first, wanted, buffer->data(), size, &entries, &bytes);
  if (keys) return dicGetKeyList(dict, first, wanted, buffer->data(), size, &entries);
  return dicGetWordList(dict, first, wanted, buffer->data(), size, &entries);
}

// Entries from the list functions, window after window from start + the count returned.
// A vcode list has no separators: the key list of the same window says where each
// key ends.
std::vector<ListEntry> fromWindows(HDICT* dict, const ListArguments& args, uint32_t start) {
  std::vector<ListEntry> out;
  std::vector<char> buffer(64 * 1024), keys(64 * 1024);
  while (out.size() < args.count) {
    uint32_t first = start + uint32_t(out.size());
    uint32_t wanted = args.count - uint32_t(out.size());
    uint32_t entries = fetchWindow(dict, args.keys || args.vcodes, false, first, wanted, &keys);
    if (args.vcodes && entries != 0)
      entries = fetchWindow(dict, true, true, first, entries, &buffer);
    if (entries == 0) break;
    const char* key = keys.data();
    const char* vcode = buffer.data();
    for (uint32_t i = 0; i < entries; ++i) {
      ListEntry entry{first + i, static_cast<unsigned char>(*key++), key};
      key += entry.text.size() + 1;
      if (args.vcodes) {
        vcode += entry.text.size();
        entry.vcode = static_cast<unsigned char>(*vcode++);
      }
      out.push_back(std::move(entry));
    }
  }
  return out;
}

// Entries of one level, stepped to with the level filter the lists do not have.
std::vector<ListEntry> fromSteps(HDICT* dict, const ListArguments& args, uint32_t start) {
  std::vector<ListEntry> out;
  WordHandle word(dicSearchRecord(dict, start), dicFreeHWORD);
  if (!word) return out;
  uint32_t value = 0;
  bool onLevel = dicGetHandleInfo(word.get(), 4, &value) != 0 && value == args.level;
  while (out.size() < args.count && (onLevel || dicNext(word.get(), args.level) != 0)) {
    onLevel = false;
    ListEntry entry{0, 0, args.keys ? keyOf(word.get()) : wordOf(word.get())};
    dicGetHandleInfo(word.get(), 1, &entry.record);
    dicGetHandleInfo(word.get(), 3, &value);
    entry.kind = value == 0xFFFFFFFF ? 0 : value >> 24;
    out.push_back(std::move(entry));
  }
  return out;
}

void list(const GlobalOptions& options, const ListArguments& args) {
  if (args.level > 255) throw CommandFailure{kExitError, "--level takes 1 to 255"};
  if (args.level != 0 && args.vcodes)
    throw CommandFailure{kExitError, "--level does not combine with --vcodes"};
  uint32_t dictId = resolveDictId(args.dictId);
  OpenDictionary dict(dictId);
  uint32_t start = args.at;
  if (!args.from.empty()) {
    WordHandle found = dict.search(toDictionaryWord(dictId, args.from));
    dicGetHandleInfo(found.get(), 1, &start);
  }
  std::vector<ListEntry> entries =
      args.level != 0 ? fromSteps(dict.get(), args, start) : fromWindows(dict.get(), args, start);
  if (options.json) {
    Json items = Json::array();
    for (const ListEntry& e : entries) {
      Json item{{"record", e.record}, {"kind", e.kind}, {"text", toTerminal(dictId, e.text)}};
      if (e.vcode >= 0) item["vcode"] = uint32_t(e.vcode);
      items.push_back(item);
    }
    Json reply = jsonReply();
    reply["start"] = start;
    reply["entries"] = items;
    printJson(reply);
  } else {
    for (const ListEntry& e : entries) {
      std::printf("%8u  %s", e.record, toTerminal(dictId, e.text).c_str());
      if (e.kind != 0) std::printf("  [kind 0x%02X]", e.kind);
      if (e.vcode >= 0) std::printf("  [vcode 0x%02X]", unsigned(e.vcode));
      std::printf("\n");
    }
  }
  if (entries.empty()) throw CommandFailure{kExitNotFound, "no entries in that window"};
}

}  // namespace

void addListCommand(CLI::App& app, const GlobalOptions& options) {
  auto args = std::make_shared<ListArguments>();
  CLI::App* command = app.add_subcommand("list", "Print a window of the word list");
  command->add_option("DICTID", args->dictId, kDictHelp)->required();
  auto* from = command->add_option("--from", args->from, "Start at the entry this word lands on");
  command->add_option("--at", args->at, "Start at this record number")->excludes(from);
  command->add_option("--count", args->count, "How many entries (default 20)");
  auto* keys = command->add_flag("--keys", args->keys, "List keys");
  auto* words = command->add_flag("--words", args->words, "List words (the default)");
  auto* vcodes = command->add_flag("--vcodes", args->vcodes, "List keys with their vcode byte");
  keys->excludes(words)->excludes(vcodes);
  words->excludes(vcodes);
  command->add_option("--level", args->level, "Only entries of this level (1 to 255)");
  command->callback([&options, args] { list(options, *args); });
}

}  // namespace orviadic
