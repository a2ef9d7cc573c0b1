// orviadic compile: builds a dictionary's index and data files, and its companions' empty
// files, from a dictd or TSV source.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "cli.h"
#include "compile/content/content_compiler.h"
#include "compile/dictionary_compiler.h"
#include "compile/source/dictd_source.h"
#include "compile/source/tsv_source.h"
#include "compile_summary.h"
#include "dict/dict_id.h"
#include "progress_bar.h"

namespace orviadic {
namespace {

using namespace orvia::compile;

struct Arguments {
  std::string from, source, dictId, out, encoding = "auto";
  bool listSkipped = false;
};

std::unique_ptr<EntrySource> openSource(const Arguments& args, WithText withText,
                                        std::string* problem) {
  if (args.from == "dictd") {
    auto source = std::make_unique<DictdSource>();
    if (source->open(args.source, withText, DictdSource::Order::kBody)) return source;
    *problem = source->problem();
  } else {
    auto source = std::make_unique<TsvSource>();
    if (source->open(args.source, withText)) return source;
    *problem = source->problem();
  }
  return nullptr;
}

void runCompile(const Arguments& args, const GlobalOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  DictionaryCompileOptions compile;
  compile.dictId = parseDictId(args.dictId);
  compile.folder = args.out;
  if (!orvia::dict::isValidDictId(compile.dictId))
    throw CommandFailure{kExitError, "not a valid dictionary id: " + args.dictId};
  compile.encoding = *encodingNamed(args.encoding);
  std::error_code error;
  std::filesystem::create_directories(args.out, error);
  if (!std::filesystem::is_directory(args.out))
    throw CommandFailure{kExitError, "cannot make the folder " + args.out};

  ProgressBar bar(isatty(STDERR_FILENO) && !options.json);
  CompiledDictionary result;
  std::string problem;
  const bool compiled = compileDictionary(
      [&args](WithText withText, std::string* why) { return openSource(args, withText, why); },
      compile,
      [&bar](const char* pass, uint64_t done, uint64_t total) { bar.update(pass, done, total); },
      &result, &problem);
  bar.finish();
  if (!compiled) throw CommandFailure{kExitError, problem};

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (options.json)
    printJson(compileSummaryJson(result, seconds));
  else
    printCompileSummary(result, seconds, args.listSkipped);
}

}  // namespace

void addCompileCommand(CLI::App& app, const GlobalOptions& options) {
  // The parsed arguments live as long as the callback that reads them.
  auto args = std::make_shared<Arguments>();
  CLI::App* compile = app.add_subcommand("compile", "Build a dictionary's index and data files");
  compile->add_option("--from", args->from, "Source format")
      ->required()
      ->check(CLI::IsMember({"dictd", "tsv"}));
  compile
      ->add_option("SOURCE", args->source,
                   "The source: a .tsv file, or a dictd path without \".index\"")
      ->required();
  compile->add_option("--id", args->dictId, "Dictionary id, 0x00010101 or decimal")->required();
  compile->add_option("--out", args->out, "Folder for the dictionary's files")->required();
  compile
      ->add_option("--encoding", args->encoding,
                   "Content encoding; auto takes the smallest for each entry and writes "
                   "a text several entries share once")
      ->check(CLI::IsMember({"auto", "stored", "lzw", "lzw64", "masked", "huffman"}));
  compile->add_flag("--list-skipped", args->listSkipped, "List every skipped entry");
  compile->callback([&options, args] { runCompile(*args, options); });
}

}  // namespace orviadic
