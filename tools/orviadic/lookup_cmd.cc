// orviadic lookup: every entry a word names, with its text.
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cli.h"
#include "dict/dict_id.h"
#include "dict/failure_text.h"
#include "did_you_mean.h"
#include "open_dictionary.h"
#include "orviadic.h"
#include "terminal_text.h"
#include "word_argument.h"
#include "word_run.h"

namespace orviadic {
namespace {

struct LookupArguments {
  std::string dictId, word;
  bool raw = false, caseExact = false, first = false, nearest = false;
  int64_t record = -1;
};

// One entry as shown: where it is, how it matches and its texts in UTF-8.
struct ShownEntry {
  uint32_t record;
  std::string key, word;
  const char* match;
  std::string text, note;
  std::string raw;  // the content as the library hands it out
};

// The word's content in its own dictionary; when there is none, the cause.
std::string contentOf(HWORD* word, uint32_t dictId) {
  std::string text;
  const orvia::Status status = readContent(word, dictId, &text);
  if (!status.ok())
    throw CommandFailure{
        kExitError, "the entry " + toTerminal(dictId, wordOf(word)) + " has no readable content: " +
                        orvia::dict::describeCause(status) + " (see 'orviadic verify')"};
  return text;
}

// The user's note on the entry, from the dictionary's memory companion; empty when there
// is none (or no memory dictionary at all).
std::string noteOf(HWORD* word, uint32_t dictId) {
  std::string text;
  const uint32_t memId = orvia::dict::memDictId(dictId);
  if (dicIsExistContent(word, memId) == 0 || !readContent(word, memId, &text).ok()) return {};
  return text;
}

ShownEntry showEntry(HWORD* word, uint32_t dictId, const char* match, bool emphasis) {
  ShownEntry shown{0,  toTerminal(dictId, keyOf(word)), toTerminal(dictId, wordOf(word)), match, {},
                   {}, contentOf(word, dictId)};
  dicGetHandleInfo(word, 1, &shown.record);
  shown.text = readableEntry(dictId, shown.raw, emphasis);
  const std::string note = noteOf(word, dictId);
  if (!note.empty()) shown.note = readableEntry(dictId, note, false);
  return shown;
}

WordHandle recordHandle(const OpenDictionary& dict, uint32_t record) {
  WordHandle word(dicSearchRecord(dict.get(), record), dicFreeHWORD);
  uint32_t number = 0;
  if (!word || dicGetHandleInfo(word.get(), 1, &number) == 0 || number != record)
    throw CommandFailure{kExitNotFound,
                         "no record " + std::to_string(record) + ": the dictionary has " +
                             std::to_string(dicGetWordCount(dict.get())) + " records, from 0"};
  return word;
}

Json entryJson(const ShownEntry& e) {
  return Json{{"record", e.record},
              {"key", e.key},
              {"word", e.word},
              {"match", e.match},
              {"exact", std::string(e.match) == "exact"},
              {"text", e.text},
              {"note", e.note}};
}

void printEntries(const GlobalOptions& options, const std::string& query,
                  const std::vector<ShownEntry>& entries, bool found, bool raw) {
  if (raw) {
    for (const ShownEntry& e : entries)
      if (std::fwrite(e.raw.data(), 1, e.raw.size(), stdout) != e.raw.size())
        throw CommandFailure{kExitError, "the entry could not be written out"};
    return;
  }
  if (options.json) {
    Json reply = jsonReply({}, 2);
    reply["query"] = query;
    reply["found"] = found;
    reply["entries"] = Json::array();
    for (const ShownEntry& e : entries) reply["entries"].push_back(entryJson(e));
    printJson(reply);
    return;
  }
  const bool numbered = entries.size() > 1;
  if (numbered) std::printf("%zu entries for %s\n", entries.size(), printable(query).c_str());
  for (size_t i = 0; i < entries.size(); ++i) {
    const ShownEntry& e = entries[i];
    if (numbered) std::printf("\n%zu. ", i + 1);
    if (!found || std::string(e.match) == "accent") std::printf("(near match) ");
    std::fputs(e.text.c_str(), stdout);
    if (!e.note.empty()) std::printf("%s\n%s", bold("Note:").c_str(), e.note.c_str());
  }
}

// At most most entries of the run as shown, best first, only those in the word's own case
// when caseExact. Records that share one text (a source entry under several headwords,
// or one listed twice, whatever the case of each headword) are shown once.
std::vector<ShownEntry> showRun(const OpenDictionary& dict, const WordRun& run, bool caseExact,
                                size_t most) {
  std::vector<ShownEntry> shown;
  std::set<std::string> texts;
  for (const RunEntry& e : run.entries) {
    if (shown.size() == most) break;
    if (caseExact && e.match != Match::kExact) continue;
    ShownEntry entry =
        showEntry(recordHandle(dict, e.record).get(), dict.id(), matchName(e.match), useColour());
    if (texts.insert(sharedText(entry.raw, e.headword)).second) shown.push_back(std::move(entry));
  }
  return shown;
}

// The word names no entry: say so, and show the entries that differ from it in accents
// only; without such entries, the words near it, or with --nearest the entry it lands on.
void reportNotFound(const GlobalOptions& options, const LookupArguments& args,
                    const OpenDictionary& dict, const WordRun& run) {
  std::vector<ShownEntry> near = showRun(dict, run, false, run.entries.size());
  if (near.empty()) {
    if (!args.nearest)
      reportMissingWord(dict, args.word, toDictionaryWord(dict.id(), args.word), options);
    near.push_back(showEntry(run.landed.get(), dict.id(), "nearest", useColour()));
  }
  if (!options.json && !args.raw)
    std::fprintf(stderr, "orviadic: \"%s\" is not in the dictionary; %s:\n",
                 printable(args.word).c_str(),
                 run.entries.empty() ? "the nearest entry" : "entries that differ in accents");
  printEntries(options, args.word, near, false, args.raw);
  throw CommandFailure{kExitNotFound, options.json || args.raw
                                          ? "not in the dictionary: " + printable(args.word)
                                          : ""};
}

void lookupRecord(const GlobalOptions& options, const LookupArguments& args,
                  const OpenDictionary& dict) {
  WordHandle word = recordHandle(dict, uint32_t(args.record));
  printEntries(options, args.word, {showEntry(word.get(), dict.id(), "record", useColour())}, true,
               args.raw);
}

void lookup(const GlobalOptions& options, const LookupArguments& args) {
  const uint32_t dictId = resolveDictId(args.dictId);
  if (args.record < 0) checkedWord(args.word);
  OpenDictionary dict(dictId);
  if (args.record >= 0) return lookupRecord(options, args, dict);
  const WordRun run = findRun(dict, args.word);
  if (!runHolds(run, args.caseExact)) return reportNotFound(options, args, dict, run);
  printEntries(options, args.word,
               showRun(dict, run, args.caseExact, args.first ? 1 : run.entries.size()), true,
               args.raw);
}

}  // namespace

void addLookupCommand(CLI::App& app, const GlobalOptions& options) {
  auto args = std::make_shared<LookupArguments>();
  CLI::App* command = app.add_subcommand("lookup",
                                         "Show every entry of a word: homographs, case and accent "
                                         "variants, the best match first");
  command->add_option("DICTID", args->dictId, kDictHelp)->required();
  command->add_option("WORD", args->word, "The word, in UTF-8");
  command->add_flag("--case", args->caseExact, "Only entries spelled with the word's own case");
  command->add_flag("--first", args->first, "Only the best entry");
  command->add_option("--record", args->record, "The entry of this record number instead")
      ->check(CLI::Range(int64_t(0), int64_t(0xFFFFFFFE)));
  command->add_flag("--raw", args->raw, "Print the text's bytes as the library returns them");
  command->add_flag("--nearest", args->nearest,
                    "When the word is missing, show the entry it lands on instead of the words "
                    "near it");
  command->callback([&options, args] { lookup(options, *args); });
}

}  // namespace orviadic
