// orviadic export / import / exchange info: a dictionary's user words written to an
// exchange file, read back into the same or another install, and the file described.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "cli.h"
#include "dict/dict_id.h"
#include "exchange_file.h"
#include "lang/lang_ops.h"
#include "open_dictionary.h"
#include "orviadic.h"
#include "progress_bar.h"

namespace orviadic {
namespace {

using orvia::dict::memDictId;
using orvia::dict::recordDictId;

struct ExchangeArguments {
  std::string dictId, file;
  bool count = false;
};

// The companions' entry counts, read through the library.
struct CompanionCounts {
  uint32_t records = 0, notes = 0;
  explicit CompanionCounts(uint32_t dictId)
      : records(dicGetWordCount(OpenDictionary(recordDictId(dictId)).get())),
        notes(dicGetWordCount(OpenDictionary(memDictId(dictId)).get())) {}
};

uint32_t installedId(const std::string& text) {
  const uint32_t id = resolveDictId(text);
  if (!orvia::dict::isValidDictId(id) || orvia::dict::companionKindOf(id) != 0)
    throw CommandFailure{kExitError, "not an installed dictionary id (top byte 00): " + text};
  return id;
}

// The problem the tool sees in the file, for when the library answers 0.
std::string whyRefused(const std::string& path, uint32_t dictId) {
  const ExchangeFileReport report = checkExchangeFile(path);
  if (!report.problem.empty()) return path + ": " + report.problem;
  for (const auto& section : report.sections)
    if (section.dictId == orvia::update::exchangeDictId(dictId)) return "";
  return path + " has no section for " + formatDictId(dictId);
}

void runExport(const ExchangeArguments& args, const GlobalOptions& options) {
  const uint32_t id = installedId(args.dictId);
  {  // a companion that cannot be opened is named here, with its cause
    OpenDictionary records(recordDictId(id)), notes(memDictId(id));
  }
  // The library leaves a failed export's partial file behind: it never gets the user's name.
  const std::string partial = args.file + ".partial";
  std::error_code error, ignored;
  if (dicExportOwnerWord(id, const_cast<char*>(partial.c_str())) == 0) {
    std::filesystem::remove(partial, ignored);
    throw CommandFailure{kExitError, "cannot write " + args.file};
  }
  std::filesystem::rename(partial, args.file, error);
  if (error) {
    std::filesystem::remove(partial, ignored);
    throw CommandFailure{kExitError, "cannot rename to " + args.file + ": " + error.message()};
  }
  const ExchangeFileReport report = checkExchangeFile(args.file);
  const auto& section = report.sections.at(0);
  if (options.json)
    printJson(jsonReply({{"file", args.file},
                         {"dictionary", formatDictId(id)},
                         {"records", section.recordCount},
                         {"notes", section.memoryCount},
                         {"bytes", report.header.totalSize}}));
  else
    std::printf("exported %u records and %u notes of %s to %s\n", section.recordCount,
                section.memoryCount, formatDictId(id).c_str(), bold(args.file).c_str());
}

// The import's callback: counts the items and draws the bar; Ctrl-C makes it answer 0.
volatile std::sig_atomic_t interrupted = 0;
uint32_t calls = 0, items = 0;
ProgressBar* bar = nullptr;

uint32_t ORVIADIC_API onItem() {
  ++calls;
  if (bar != nullptr) bar->update("import", calls, items);
  return interrupted ? 0 : 1;
}

void runImport(const ExchangeArguments& args, const GlobalOptions& options) {
  uint32_t id = 0;
  if (args.dictId.empty()) {
    const ExchangeFileReport report = checkExchangeFile(args.file);
    if (report.sections.empty())
      throw CommandFailure{kExitError, args.file + ": " + report.problem};
    id = report.sections[0].dictId;
  } else {
    id = installedId(args.dictId);
  }
  items = dicGetImportOwnerWordCount(id, args.file.c_str());
  const std::string problem = items == 0 ? whyRefused(args.file, id) : "";
  if (!problem.empty()) throw CommandFailure{kExitError, problem};
  if (args.count) {
    if (options.json)
      printJson(
          jsonReply({{"file", args.file}, {"dictionary", formatDictId(id)}, {"items", items}}));
    else
      std::printf("%u items for %s\n", items, formatDictId(id).c_str());
    if (items == 0) throw CommandFailure{kExitNotFound, "no items for " + formatDictId(id)};
    return;
  }
  const CompanionCounts before(id);
  ProgressBar shown(isatty(STDERR_FILENO) && !options.json);
  bar = &shown;
  auto previous = std::signal(SIGINT, [](int) { interrupted = 1; });
  const bool imported = dicImportOwnerWord(id, args.file.c_str(), onItem) != 0;
  static_cast<void>(std::signal(SIGINT, previous));  // the old handler back, as it was
  shown.finish();
  bar = nullptr;
  const CompanionCounts after(id);
  const uint32_t records = after.records - before.records, notes = after.notes - before.notes;
  const uint32_t done = calls < items ? calls : items;
  const uint32_t skipped = imported ? items - records - notes : done - records - notes;
  if (options.json)
    printJson(jsonReply({{"dictionary", formatDictId(id)},
                         {"complete", imported},
                         {"records", records},
                         {"notes", notes},
                         {"skipped", skipped}}));
  else
    std::printf("%s: %u added as records, %u as notes, %u skipped\n", formatDictId(id).c_str(),
                records, notes, skipped);
  const uint32_t language = (id >> 8) & 0xFF;
  if (!options.json && (language < 1 || language > 5))
    std::printf("content language %u has no marker line: notes imported as records carry none\n",
                language);
  if (interrupted) throw CommandFailure{kExitError, "stopped; the items before were kept"};
  if (!imported) {
    const std::string flaw = whyRefused(args.file, id);
    throw CommandFailure{kExitError, "stopped at item " + std::to_string(done) + " (" +
                                         (flaw.empty() ? "the library refused it" : flaw) +
                                         "); the items before were kept"};
  }
}

void runExchangeInfo(const std::string& path, const GlobalOptions& options) {
  const ExchangeFileReport report = checkExchangeFile(path);
  const char* verdict = report.problem.empty() ? "valid" : report.problem.c_str();
  Json sections = Json::array();
  for (const auto& s : report.sections) {
    if (options.json) {
      sections.push_back(Json{{"dictionary", formatDictId(s.dictId)},
                              {"records", s.recordCount},
                              {"notes", s.memoryCount},
                              {"bytes", s.length}});
    } else {
      std::printf("%s  %u records, %u notes, %u bytes\n", bold(formatDictId(s.dictId)).c_str(),
                  s.recordCount, s.memoryCount, s.length);
    }
  }
  if (options.json)
    printJson(jsonReply({{"file", path},
                         {"valid", report.problem.empty()},
                         {"verdict", verdict},
                         {"sections", sections}}));
  else
    std::printf("%s\n", verdict);
  if (!report.problem.empty()) throw CommandFailure{kExitNotFound, path + ": " + verdict};
}

}  // namespace

void addExchangeCommands(CLI::App& app, const GlobalOptions& options) {
  auto args = std::make_shared<ExchangeArguments>();
  CLI::App* exportCmd = app.add_subcommand("export", "Write a dictionary's user words to a file");
  exportCmd->add_option("DICTID", args->dictId, "Installed dictionary id")->required();
  exportCmd->add_option("FILE", args->file, "Exchange file to write")->required();
  exportCmd->callback([&options, args] { runExport(*args, options); });

  CLI::App* importCmd = app.add_subcommand(
      "import", "Read user words from an exchange file; Ctrl-C stops, keeping what is in");
  importCmd->add_flag("--count", args->count, "Only count the dictionary's items");
  importCmd->add_option("FILE", args->file, "Exchange file")->required();
  importCmd->add_option("DICTID", args->dictId, "Dictionary id (default: the first section's)");
  importCmd->callback([&options, args] { runImport(*args, options); });

  CLI::App* exchange = app.add_subcommand("exchange", "Exchange files");
  exchange->require_subcommand(1);
  CLI::App* info = exchange->add_subcommand("info", "The sections of a file, and its first flaw");
  info->add_option("FILE", args->file, "Exchange file")->required();
  info->callback([&options, args] { runExchangeInfo(args->file, options); });
}

}  // namespace orviadic
