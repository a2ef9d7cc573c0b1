// orviadic compile: builds a dictionary's index file from a dictd or TSV source.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "cli.h"
#include "compile/index/compile_entries.h"
#include "compile/index/dictd_source.h"
#include "compile/index/index_compiler.h"
#include "compile/index/index_writer.h"
#include "compile/index/tsv_source.h"
#include "dict/dict_id.h"
#include "lang/lang_ops.h"

namespace orviadic {
namespace {

using namespace orvia::compile;

struct Arguments {
  std::string from, source, dictId, out;
  bool listSkipped = false;
};

// A bar on stderr, drawn only where a person watches it.
class ProgressBar {
 public:
  explicit ProgressBar(bool shown) : shown_(shown) {}
  ~ProgressBar() { finish(); }

  void update(uint64_t done, uint64_t total) {
    if (!shown_ || total == 0) return;
    const int width = 40;
    int filled = int(done >= total ? width : done * width / total);
    int percent = int(done >= total ? 100 : done * 100 / total);
    if (filled == lastFilled_ && percent == lastPercent_) return;
    lastFilled_ = filled;
    lastPercent_ = percent;
    std::fprintf(stderr, "\rcompiling [%s%s] %3d%%", std::string(size_t(filled), '#').c_str(),
                 std::string(size_t(width - filled), ' ').c_str(), percent);
    std::fflush(stderr);
    drawn_ = true;
  }

  void finish() {
    if (drawn_) std::fprintf(stderr, "\r%*s\r", 60, "");
    drawn_ = false;
  }

 private:
  bool shown_;
  bool drawn_ = false;
  int lastFilled_ = -1, lastPercent_ = -1;
};

std::unique_ptr<EntrySource> openSource(const Arguments& args) {
  std::string problem;
  if (args.from == "dictd") {
    auto source = std::make_unique<DictdSource>();
    if (source->open(args.source, WithText::kNo)) return source;
    problem = source->problem();
  } else {
    auto source = std::make_unique<TsvSource>();
    if (source->open(args.source, WithText::kNo)) return source;
    problem = source->problem();
  }
  throw CommandFailure{kExitError, problem};
}

void printSummary(const CompiledIndex& index, uint64_t entries, const std::string& path,
                  double seconds, bool listSkipped) {
  std::printf("%s: %u records from %llu entries in %.2f s\n", bold(path).c_str(), index.recordCount,
              static_cast<unsigned long long>(entries), seconds);
  std::printf("  homographs: %u entries numbered, sharing %u keys\n", index.homographEntries,
              index.homographRuns);
  std::printf("  skipped: %zu\n", index.skipped.size());
  constexpr size_t kExamplesPerReason = 5;
  for (int r = 0; r < kSkipReasonCount; ++r) {
    const SkipReason reason = SkipReason(r);
    size_t count = 0;
    for (const SkippedEntry& s : index.skipped) count += s.reason == reason;
    if (count == 0) continue;
    std::printf("    %s: %zu\n", describeSkipReason(reason), count);
    size_t shown = 0;
    for (const SkippedEntry& s : index.skipped) {
      if (s.reason != reason) continue;
      if (!listSkipped && shown == kExamplesPerReason) {
        std::printf("      ... (--list-skipped shows all)\n");
        break;
      }
      std::printf("      \"%s\"\n", s.headword.c_str());
      ++shown;
    }
  }
}

std::string summaryJson(const CompiledIndex& index, uint64_t entries, const std::string& path,
                        double seconds) {
  std::map<std::string, uint64_t> counts;
  std::string list;
  for (const SkippedEntry& s : index.skipped) {
    ++counts[skipReasonName(s.reason)];
    if (!list.empty()) list += ", ";
    list += "{\"headword\": " + JsonObject::quote(s.headword) + ", \"reason\": \"" +
            skipReasonName(s.reason) + "\"}";
  }
  std::string byReason;
  for (const auto& [name, count] : counts)
    byReason +=
        (byReason.empty() ? "" : ", ") + JsonObject::quote(name) + ": " + std::to_string(count);
  return JsonObject()
      .text("index", path)
      .number("entries", entries)
      .number("records", index.recordCount)
      .number("homographEntries", index.homographEntries)
      .number("homographKeys", index.homographRuns)
      .number("milliseconds", uint64_t(seconds * 1000))
      .raw("skipped", "{" + byReason + "}")
      .raw("skippedEntries", "[" + list + "]")
      .str();
}

void runCompile(const Arguments& args, const GlobalOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  const uint32_t dictId = parseDictId(args.dictId);
  if (!orvia::dict::isValidDictId(dictId))
    throw CommandFailure{kExitError, "not a valid dictionary id: " + args.dictId};
  IndexCompiler compiler(dictId);
  if (!compiler.valid())
    throw CommandFailure{kExitError, "the language of " + formatDictId(dictId) +
                                         " has no code page to make keys in"};
  std::error_code error;
  std::filesystem::create_directories(args.out, error);
  if (!std::filesystem::is_directory(args.out))
    throw CommandFailure{kExitError, "cannot make the folder " + args.out};

  std::unique_ptr<EntrySource> source = openSource(args);
  ProgressBar bar(isatty(STDERR_FILENO) && !options.json);
  std::string problem;
  bool read = addAllEntries(
      *source, compiler, [&bar](uint64_t done, uint64_t total) { bar.update(done, total); },
      &problem);
  bar.finish();
  if (!read) throw CommandFailure{kExitError, problem};
  const uint64_t entries = compiler.entriesSeen();
  CompiledIndex index = compiler.finish();
  if (!writeIndexFile(args.out, dictId, index, &problem)) throw CommandFailure{kExitError, problem};

  const std::string path = indexFilePath(args.out, dictId);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (options.json)
    std::printf("%s\n", summaryJson(index, entries, path, seconds).c_str());
  else
    printSummary(index, entries, path, seconds, args.listSkipped);
}

}  // namespace

void addCompileCommand(CLI::App& app, const GlobalOptions& options) {
  // The parsed arguments live as long as the callback that reads them.
  auto args = std::make_shared<Arguments>();
  CLI::App* compile = app.add_subcommand("compile", "Build a dictionary's index file");
  compile->add_option("--from", args->from, "Source format")
      ->required()
      ->check(CLI::IsMember({"dictd", "tsv"}));
  compile
      ->add_option("SOURCE", args->source,
                   "The source: a .tsv file, or a dictd path without \".index\"")
      ->required();
  compile->add_option("--id", args->dictId, "Dictionary id, 0x00010101 or decimal")->required();
  compile->add_option("--out", args->out, "Folder for the index file")->required();
  compile->add_flag("--list-skipped", args->listSkipped, "List every skipped entry");
  compile->callback([&options, args] { runCompile(*args, options); });
}

}  // namespace orviadic
