// orviadic note / add / remove: a user's notes on entries and a user's own words.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "cli.h"
#include "dict/dict_id.h"
#include "open_dictionary.h"
#include "orviadic.h"
#include "terminal_text.h"
#include "user_text.h"

namespace orviadic {
namespace {

using orvia::dict::memDictId;
using orvia::dict::recordDictId;

struct EditArguments {
  std::string dictId, word, text;
  bool remove = false, exact = false, raw = false;
};

// The library answers a write with 0 alone; the usual cause is a companion dictionary
// whose files were never made.
std::string writeFailure(uint32_t companionId, const std::string& what) {
  char name[16];
  orvia::dict::buildDictFileName(companionId, name, ".IDX");
  const std::string index = dictionaryFilePath(companionId, name);
  if (index.empty() || !std::filesystem::exists(index))
    return what + ": the companion dictionary " + formatDictId(companionId) +
           " has no files; 'orviadic install FOLDER' creates them";
  return what + ": the library refused the change";
}

void printResult(const GlobalOptions& options, const std::string& action, uint32_t dictId,
                 const std::string& word) {
  if (options.json)
    printJson(jsonReply({{"action", action},
                         {"dictionary", formatDictId(dictId)},
                         {"word", toTerminal(dictId, word)}}));
  else
    std::printf("%s %s\n", action.c_str(), bold(toTerminal(dictId, word)).c_str());
}

void note(const GlobalOptions& options, const EditArguments& args) {
  const uint32_t dictId = resolveDictId(args.dictId);
  OpenDictionary dict(dictId);
  const std::string word = toDictionaryWord(dictId, args.word);
  if (args.exact && dicIsExistWord(dict.get(), word.c_str()) == 0)
    throw CommandFailure{kExitNotFound, "not in the dictionary: " + args.word};
  WordHandle found = dict.search(word);
  const std::string entry = wordOf(found.get());
  const uint32_t memId = memDictId(dictId);
  const bool hadNote = dicIsExistContent(found.get(), memId) != 0;
  if (args.remove) {
    if (!hadNote)
      throw CommandFailure{kExitNotFound,
                           "the entry " + toTerminal(dictId, entry) + " has no note"};
    if (dicDelMem(found.get()) == 0)
      throw CommandFailure{kExitError, writeFailure(memId, "not deleted")};
    printResult(options, "note deleted from", dictId, entry);
    return;
  }
  const std::string text = toDictionaryText(dictId, readTextArgument(args.text));
  if (text.empty()) throw CommandFailure{kExitError, "an empty note"};
  if (dicAddMem(found.get(), text.c_str(), uint32_t(text.size())) == 0)
    throw CommandFailure{kExitError, writeFailure(memId, "no note written")};
  printResult(options, hadNote ? "note replaced on" : "note added to", dictId, entry);
}

void add(const GlobalOptions& options, const EditArguments& args) {
  const uint32_t dictId = resolveDictId(args.dictId);
  if (orvia::dict::companionKindOf(dictId) != orvia::dict::kInstalledKind)
    throw CommandFailure{kExitError, "words are added to an installed dictionary (top byte 00)"};
  OpenDictionary dict(dictId);
  // The key is folded as the compiler folds headwords, so that lookups find the word as
  // they find the dictionary's own; the text keeps the word as typed.
  const std::string key = toDictionaryWord(dictId, args.word);
  const std::string word = toDictionaryText(dictId, args.word);
  if (dicIsExistWord(dict.get(), key.c_str()) != 0)
    throw CommandFailure{kExitError, args.word + " is already in the dictionary"};
  const std::string text = toDictionaryText(dictId, readTextArgument(args.text));
  if (text.empty()) throw CommandFailure{kExitError, "an empty text"};
  if (!args.raw && !hasUserMarker(dictId))
    std::fprintf(stderr, "orviadic: content language %u has no user marker; none written\n",
                 (dictId >> 8) & 0xFF);
  const std::string content = args.raw ? text : recordContent(dictId, word, text);
  if (dicAddRecord(dict.get(), key.c_str(), uint32_t(key.size()), content.c_str(),
                   uint32_t(content.size())) == 0)
    throw CommandFailure{kExitError, writeFailure(recordDictId(dictId), "not added")};
  printResult(options, "added", dictId, word);
}

void remove(const GlobalOptions& options, const EditArguments& args) {
  const uint32_t dictId = resolveDictId(args.dictId);
  OpenDictionary dict(dictId);
  const std::string word = toDictionaryWord(dictId, args.word);
  if (dicIsExistWord(dict.get(), word.c_str()) == 0)
    throw CommandFailure{kExitNotFound, "not in the dictionary: " + args.word};
  WordHandle found = dict.search(word);
  uint32_t number = 0, home = 0;
  dicGetHandleInfo(found.get(), 1, &number);
  dicGetHandleInfo(found.get(), 3, &home);
  if (home >> 24 != orvia::dict::kRecordKind)
    throw CommandFailure{kExitError, args.word +
                                         " is one of the dictionary's own words; only words "
                                         "added with 'orviadic add' can be removed"};
  if (dicDelRecord(dict.get(), number) == 0)
    throw CommandFailure{kExitError, writeFailure(recordDictId(dictId), "not removed")};
  printResult(options, "removed", dictId, keyOf(found.get()));
}

void addDictionaryAndWord(CLI::App* command, EditArguments* args) {
  command->add_option("DICTID", args->dictId, kDictHelp)->required();
  command->add_option("WORD", args->word, "The word, in UTF-8")->required();
}

}  // namespace

void addEditCommands(CLI::App& app, const GlobalOptions& options) {
  auto noteArgs = std::make_shared<EditArguments>();
  CLI::App* noteCommand =
      app.add_subcommand("note", "Add, replace or delete the note on the entry a word lands on");
  addDictionaryAndWord(noteCommand, noteArgs.get());
  CLI::Option* text =
      noteCommand->add_option("TEXT", noteArgs->text, "The note in UTF-8; - reads standard input");
  noteCommand->add_flag("--delete", noteArgs->remove, "Delete the entry's note")->excludes(text);
  noteCommand->add_flag("--exact", noteArgs->exact, "Refuse a word that is not in the dictionary");
  noteCommand->callback([&options, noteArgs] {
    if (!noteArgs->remove && noteArgs->text.empty())
      throw CommandFailure{kExitError, "a note needs TEXT (or --delete)"};
    note(options, *noteArgs);
  });

  auto addArgs = std::make_shared<EditArguments>();
  CLI::App* addCommand = app.add_subcommand("add", "Add a word of the user's own, with its text");
  addDictionaryAndWord(addCommand, addArgs.get());
  addCommand->add_option("TEXT", addArgs->text, "The text in UTF-8; - reads standard input")
      ->required();
  addCommand->add_flag("--raw", addArgs->raw,
                       "Store TEXT alone, without the word line and the user marker");
  addCommand->callback([&options, addArgs] { add(options, *addArgs); });

  auto removeArgs = std::make_shared<EditArguments>();
  CLI::App* removeCommand =
      app.add_subcommand("remove", "Remove a word that was added with 'orviadic add'");
  addDictionaryAndWord(removeCommand, removeArgs.get());
  removeCommand->callback([&options, removeArgs] { remove(options, *removeArgs); });
}

}  // namespace orviadic
