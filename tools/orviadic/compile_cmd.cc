// orviadic compile: builds a dictionary's index and data files, and its companions' empty
// files, from a dictd or TSV source, and keeps its name beside them.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cli.h"
#include "compile/content/content_compiler.h"
#include "compile/dictionary_compiler.h"
#include "compile/source/dictd_short_name.h"
#include "compile/source/dictd_source.h"
#include "compile/source/tsv_source.h"
#include "compile_summary.h"
#include "dict/dict_id.h"
#include "dictionary_name_file.h"
#include "folder_lock.h"
#include "id_languages.h"
#include "installed_dictionaries.h"
#include "interrupt_flag.h"
#include "progress_bar.h"

namespace orviadic {
namespace {

namespace fs = std::filesystem;
using namespace orvia::compile;

struct CompileArguments {
  std::string from, source, dictId, keys, content = "en", name, out, encoding = "auto";
  bool listSkipped = false, allowSkips = false;
};

// A dictd source may be named by its index or body file as well as by their common stem.
std::string dictdStem(const std::string& source) {
  for (const char* suffix : {".index", ".dict.dz", ".dict"}) {
    const std::string ending(suffix);
    if (source.size() > ending.size() &&
        source.compare(source.size() - ending.size(), ending.size(), ending) == 0)
      return source.substr(0, source.size() - ending.size());
  }
  return source;
}

std::unique_ptr<EntrySource> openSource(const CompileArguments& args, std::string* problem) {
  if (args.from == "dictd") {
    auto source = std::make_unique<DictdSource>();
    if (source->open(args.source, DictdSource::Order::kBody)) return source;
    *problem = source->problem();
  } else {
    auto source = std::make_unique<TsvSource>();
    if (source->open(args.source)) return source;
    *problem = source->problem();
  }
  return nullptr;
}

uint8_t languageCode(const std::string& name, const char* option) {
  if (std::optional<uint8_t> code = languageCodeNamed(name)) return *code;
  throw CommandFailure{kExitError, std::string("the compiler cannot key ") + option + " " + name +
                                       ": no language code for it (en, zh-cn, zh-tw, ja, ko; "
                                       "de, fr, es or other for other Windows-1252 languages)"};
}

uint32_t chosenDictId(const CompileArguments& args) {
  if (!args.dictId.empty()) {
    const uint32_t id = parseDictId(args.dictId);
    if (!orvia::dict::isValidDictId(id))
      throw CommandFailure{kExitError, "not a valid dictionary id: " + args.dictId};
    return id;
  }
  if (args.keys.empty()) throw CommandFailure{kExitError, "give --id or --keys"};
  const uint8_t keys = languageCode(args.keys, "--keys"),
                content = languageCode(args.content, "--content");
  if (std::optional<uint32_t> id = freeDictId(keys, content, args.out)) return *id;
  throw CommandFailure{kExitError, "every dictionary number of these languages is taken"};
}

std::string chosenName(const CompileArguments& args) {
  std::optional<std::string> name;
  if (!args.name.empty())
    name = args.name;
  else if (args.from == "dictd")
    name = readDictdShortName(args.source);
  if (!name || !isUsableName(*name)) {
    const fs::path source(args.source);  // a dictd source's is its stem already
    name = (args.from == "dictd" ? source.filename() : source.stem()).string();
  }
  if (!isUsableName(*name))
    throw CommandFailure{kExitError, "a name is 1 to " + std::to_string(kMaxDictionaryName) +
                                         " bytes without control characters"};
  return *name;
}

// Removes an output folder this compile made when the compile fails: what it holds then
// is the lock file alone, every file written beside its name having been removed.
class CreatedFolder {
 public:
  explicit CreatedFolder(const std::string& path) : path_(path) {
    std::error_code error;
    created_ = fs::create_directories(path, error);
    if (!fs::is_directory(path, error))
      throw CommandFailure{kExitError, "cannot make the folder " + path};
  }
  ~CreatedFolder() {
    if (!created_ || kept_) return;
    std::error_code error;
    fs::remove(fs::path(path_) / FolderLock::kFileName, error);
    fs::remove(path_, error);
  }
  void keep() { kept_ = true; }

 private:
  std::string path_;
  bool created_ = false, kept_ = false;
};

void runCompile(CompileArguments args, const GlobalOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  const InterruptFlag interrupt;
  if (args.from == "dictd") args.source = dictdStem(args.source);
  DictionaryCompileOptions compile;
  compile.dictId = chosenDictId(args);
  compile.folder = args.out;
  compile.encoding = *encodingNamed(args.encoding);
  compile.refuseMostSkipped = !args.allowSkips;
  const std::string name = chosenName(args);

  CreatedFolder folder(args.out);
  CompiledDictionary result;
  {
    const FolderLock lock(args.out);
    ProgressBar bar(isatty(STDERR_FILENO) && !options.json);
    std::string problem;
    const bool compiled =
        compileDictionary([&args](std::string* why) { return openSource(args, why); }, compile,
                          [&bar, &interrupt](const char* pass, uint64_t done, uint64_t total) {
                            interrupt.throwIfRaised();
                            bar.update(pass, done, total);
                          },
                          &result, &problem);
    bar.finish();
    if (!compiled) {
      if (!args.allowSkips && result.index.skipped.size() * 2 > result.entries)
        problem += "; --allow-skips compiles it all the same";
      throw CommandFailure{kExitError, problem};
    }
    folder.keep();
    // The name goes with the dictionary that is now in place; a name file that cannot be
    // written leaves the dictionary listed without one.
    if (!writeDictionaryName(args.out, compile.dictId, name))
      std::fprintf(stderr, "orviadic: cannot write %s\n",
                   nameFilePath(args.out, compile.dictId).c_str());
  }

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (options.json)
    printJson(compileSummaryJson(result, compile.dictId, name, seconds));
  else
    printCompileSummary(result, compile.dictId, name, seconds, args.listSkipped);
}

}  // namespace

void addCompileCommand(CLI::App& app, const GlobalOptions& options) {
  // The parsed arguments live as long as the callback that reads them.
  auto args = std::make_shared<CompileArguments>();
  CLI::App* compile = app.add_subcommand("compile", "Build a dictionary's index and data files");
  compile->add_option("--from", args->from, "Source format")
      ->required()
      ->check(CLI::IsMember({"dictd", "tsv"}));
  compile
      ->add_option("SOURCE", args->source,
                   "The source: a .tsv file, or a dictd path with or without \".index\"")
      ->required();
  CLI::Option* id =
      compile->add_option("--id", args->dictId, "Dictionary id, 0x00010101, 00010101 or decimal");
  compile
      ->add_option("--keys", args->keys,
                   "Instead of --id: the keys' language (en, zh-cn, zh-tw, ja, ko, de, fr, es, "
                   "other); the dictionary gets a free number")
      ->excludes(id);
  compile->add_option("--content", args->content, "With --keys: the content's language (en)");
  compile->add_option("--name", args->name,
                      "The dictionary's name (the dictd short name, else the source's file name)");
  compile->add_option("--out", args->out, "Folder for the dictionary's files")->required();
  compile
      ->add_option("--encoding", args->encoding,
                   "Content encoding; auto takes the smallest for each entry and writes "
                   "a text several entries share once")
      ->check(CLI::IsMember({"auto", "stored", "lzw", "lzw64", "masked", "huffman"}));
  compile->add_flag("--allow-skips", args->allowSkips,
                    "Compile even when more than half the entries are skipped");
  compile->add_flag("--list-skipped", args->listSkipped, "List every skipped entry");
  compile->callback([&options, args] { runCompile(*args, options); });
}

}  // namespace orviadic
