// orviadic merge: a new-word file merged into the dictionary it names, through the
// library's merge with a progress procedure, then the counts of merged and skipped words.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli.h"
#include "orviadic.h"
#include "progress_bar.h"
#include "update/newword_file.h"

namespace orviadic {
namespace {

using namespace orvia;

// What the progress procedure learns; the merge calls it on this thread only.
struct MergeTally {
  uint32_t total = 0, merged = 0, skipped = 0;
  ProgressBar* bar = nullptr;
};
MergeTally* tally = nullptr;

void ORVIADIC_API onProgress(uint32_t stage, intptr_t value) {
  if (stage == kNewWordStageTotal) tally->total = uint32_t(value);
  if (stage == kNewWordStageMerged) ++tally->merged;
  if (stage == kNewWordStageSkipped) ++tally->skipped;
  tally->bar->update("merging", tally->merged + tally->skipped, tally->total);
}

// Whether T can take new words: its index opens and holds a word. The library never
// makes T, so the tool says where one comes from.
void requireTarget(uint32_t target) {
  HDICT* dict = dicCreateHDICT(target);
  const bool usable = dict != nullptr && dicGetWordCount(dict) != 0;
  if (dict != nullptr) dicFreeHDICT(dict);
  if (!usable)
    throw CommandFailure{kExitError, "the target " + formatDictId(target) +
                                         " is missing or empty: make it with `orviadic newword "
                                         "target " +
                                         formatDictId(target) + "`"};
}

void runMerge(const std::string& path, const GlobalOptions& options) {
  update::NewWordFileHeader header;
  if (!update::readNewWordFileHeader(path.c_str(), &header).ok())
    throw CommandFailure{kExitError,
                         path + ": not a valid new-word file (see orviadic newword info)"};
  requireTarget(header.targetDictId);
  ProgressBar bar(isatty(STDERR_FILENO) && !options.json);
  MergeTally counts;
  counts.bar = &bar;
  tally = &counts;
  const int32_t merged =
      dicAddNewWordEx(path.c_str(), kNewWordNotifyProc, reinterpret_cast<void*>(&onProgress));
  tally = nullptr;
  bar.finish();
  const std::string target = formatDictId(header.targetDictId);
  if (options.json)
    printJson(jsonReply({{"file", path},
                         {"target", target},
                         {"complete", merged != 0},
                         {"records", counts.total},
                         {"merged", counts.merged},
                         {"skipped", counts.skipped}}));
  else
    std::printf("%s into %s: %u merged, %u skipped of %u\n", bold(path).c_str(), target.c_str(),
                counts.merged, counts.skipped, counts.total);
  if (merged == 0)
    throw CommandFailure{kExitError, "the merge stopped after " +
                                         std::to_string(counts.merged + counts.skipped) +
                                         " records; those stay merged"};
}

}  // namespace

void addMergeCommand(CLI::App& app, const GlobalOptions& options) {
  auto* merge = app.add_subcommand("merge", "Merge a new-word file into the dictionary it names");
  auto file = std::make_shared<std::string>();
  merge->add_option("FILE", *file, "The new-word file")->required();
  merge->callback([&options, file] { runMerge(*file, options); });
}

}  // namespace orviadic
