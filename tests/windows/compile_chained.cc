// Compiles a TSV source the way the tool does, but into records of a few bytes whose
// continuations all lie in further data files, found through file-index entries that
// name the dictionary and a file. Reading it back on another system exercises that
// system's path resolution for every entry.
// Usage: compile_chained SOURCE.tsv DICTID FOLDER
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "compile/dictionary_compiler.h"
#include "compile/source/tsv_source.h"

int main(int argc, char** argv) {
  using namespace orvia::compile;
  if (argc != 4) return 2;
  const std::string sourcePath = argv[1];
  DictionaryCompileOptions options;
  options.dictId = uint32_t(std::strtoul(argv[2], nullptr, 0));
  options.folder = argv[3];
  options.encoding = EntryEncoding::kStored;  // no trees: every file's records start at 0x10007
  options.dataFile.maxPieceSize = 24;
  options.dataFile.continuationLimit = 0x10007 + 1024;
  auto open = [&sourcePath](WithText withText, std::string* why) -> std::unique_ptr<EntrySource> {
    auto source = std::make_unique<TsvSource>();
    if (source->open(sourcePath, withText)) return source;
    *why = source->problem();
    return nullptr;
  };
  CompiledDictionary result;
  std::string problem;
  if (compileDictionary(open, options, nullptr, &result, &problem)) return 0;
  std::fprintf(stderr, "compile_chained: %s\n", problem.c_str());
  return 1;
}
