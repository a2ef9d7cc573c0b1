// orviadic newword: new-word files made from a TSV of new entries, their headers read and
// checked, the version a dictionary reached with its list, and new-word targets made.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "cli.h"
#include "compile/newword_target.h"
#include "compile/newword_writer.h"
#include "compile/source/tsv_source.h"
#include "dict/config.h"
#include "dict/dict_id.h"
#include "lang/lang_ops.h"
#include "newword_time.h"
#include "open_dictionary.h"
#include "text/code_page.h"
#include "update/newword_file.h"

namespace orviadic {
namespace {

namespace fs = std::filesystem;
using namespace orvia;

struct NewWordArguments {
  std::string source, target, out, time, file;
  uint32_t version = 0;
};

uint32_t parseTarget(const std::string& text) {
  const uint32_t id = resolveDictId(text);
  if (!update::isNewWordTarget(id))
    throw CommandFailure{kExitError, "not a new-word target: " + text +
                                         " (every byte non-zero, kind neither 0x7F nor 0xFF)"};
  return id;
}

void runMake(const NewWordArguments& args, const GlobalOptions& options) {
  compile::NewWordFileOptions make;
  make.targetDictId = parseTarget(args.target);
  make.listVersion = args.version;
  make.path = args.out;
  std::optional<NewWordTime> time = currentNewWordTime();
  if (!args.time.empty() && !(time = parseNewWordTime(args.time)))
    throw CommandFailure{kExitError, "not a time: " + args.time + " (YYYY-MM-DDTHH:MM:SS[.mmm])"};
  timeToBytes(*time, make.listTime);
  compile::WrittenNewWordFile written;
  std::string problem;
  const auto open = [&args](std::string* why) {
    auto source = std::make_unique<compile::TsvSource>();
    if (source->open(args.source)) return source;
    *why = source->problem();
    return std::unique_ptr<compile::TsvSource>();
  };
  if (!compile::writeNewWordFile(open, make, &written, &problem))
    throw CommandFailure{kExitError, problem};
  const std::string target = formatDictId(make.targetDictId);
  if (options.json) {
    printJson(jsonReply({{"file", args.out},
                         {"target", target},
                         {"version", make.listVersion},
                         {"time", timeParts(*time)},
                         {"records", written.index.recordCount},
                         {"skipped", written.index.skipped.size()},
                         {"indexImageSize", written.indexImageSize},
                         {"contentImageSize", written.contentImageSize}}));
    return;
  }
  std::printf("%s: %u records for %s, version %u, %s\n", bold(args.out).c_str(),
              written.index.recordCount, target.c_str(), make.listVersion, timeText(*time).c_str());
  std::printf("  images: index %u bytes, content %u bytes; %zu entries skipped\n",
              written.indexImageSize, written.contentImageSize, written.index.skipped.size());
}

// The tool checks the rules itself, since the library only answers 0.
void runNewWordInfo(const std::string& path, const GlobalOptions& options) {
  content::FileHandle file = content::openFileRead(path.c_str());
  if (file == content::kInvalidFile)
    throw CommandFailure{kExitError, "cannot open " + path + ": " + std::strerror(errno)};
  const update::NewWordCheck check = update::checkNewWordFile(file);
  update::NewWordFileHeader header;
  const bool read = update::readNewWordHeader(file, &header) != 0;
  content::closeFile(file);
  const bool valid = check == update::NewWordCheck::kValid;
  const char* verdict = update::newWordCheckText(check);
  const NewWordTime time = timeFromBytes(header.listTime);
  if (options.json) {
    Json reply = jsonReply({{"file", path}, {"valid", valid}, {"verdict", verdict}});
    if (read) {
      reply["target"] = formatDictId(header.targetDictId);
      reply["version"] = header.listVersion;
      reply["time"] = timeParts(time);
      reply["indexImageSize"] = header.indexImageSize;
      reply["contentImageSize"] = header.contentImageSize;
    }
    printJson(reply);
  } else {
    if (read) {
      std::printf("%s  target %s  version %u\n", bold(path).c_str(),
                  formatDictId(header.targetDictId).c_str(), header.listVersion);
      std::printf("  time    %s\n", timeText(time).c_str());
      std::printf("  images  index %u bytes, content %u bytes\n", header.indexImageSize,
                  header.contentImageSize);
    }
    std::printf("%s\n", verdict);
  }
  if (!valid) throw CommandFailure{kExitNotFound, path + ": " + verdict};
}

// The list's lines, from the dictionary's code page into UTF-8.
Json listLinesJson(uint32_t id, const std::string& path, std::string* plain) {
  std::ifstream in(path, std::ios::binary);
  text::CodePageConverter toUtf8(text::codePageName(lang::languageOf(id)),
                                 text::CodePageConverter::Direction::kToUtf8);
  std::string line;
  Json json = Json::array();
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string utf8;
    if (!toUtf8.valid() || !toUtf8.convert(line, &utf8)) utf8 = line;
    *plain += "  " + utf8 + "\n";
    json.push_back(utf8);
  }
  return json;
}

void runStatus(const std::string& idText, const GlobalOptions& options) {
  const uint32_t id = resolveDictId(idText);
  if (!update::isFullDictId(id))
    throw CommandFailure{kExitError, "not a full dictionary id (every byte non-zero): " + idText};
  uint32_t version = 0;
  uint8_t timeBytes[16] = {};
  char listPath[dict::kMaxPath];
  const bool hasVersion = dicGetCurrentNewWordVersion(id, &version) != 0;
  const bool hasTime = dicGetCurrentNewWordTime(id, reinterpret_cast<uint32_t*>(timeBytes)) != 0;
  const bool hasList = dicGetNewWordListPath(id, listPath, sizeof listPath) != 0;
  std::string lines;
  const Json linesJson = hasList ? listLinesJson(id, listPath, &lines) : Json::array();
  const NewWordTime time = timeFromBytes(timeBytes);
  if (options.json) {
    Json reply = jsonReply({{"id", formatDictId(id)}});
    if (hasVersion) reply["version"] = version;
    if (hasTime) reply["time"] = timeParts(time);
    if (hasList) reply["list"] = listPath;
    reply["lines"] = linesJson;
    printJson(reply);
  } else {
    std::printf("%s  version %s\n", bold(formatDictId(id)).c_str(),
                hasVersion ? std::to_string(version).c_str() : "none");
    std::printf("  time    %s\n", hasTime ? timeText(time).c_str() : "none");
    std::printf("  list    %s\n%s", hasList ? listPath : "none", lines.c_str());
  }
  if (!hasVersion)
    throw CommandFailure{kExitNotFound, "no new words merged into " + formatDictId(id) + " yet"};
}

// A value of the target's own only where the registry does not already lead to folder.
void runTarget(const NewWordArguments& args, const GlobalOptions& options) {
  const uint32_t id = parseTarget(args.target);
  char digits[9];
  dict::formatDictIdHex(id, digits);
  const std::string resolved = dictionaryFilePath(id, (std::string(digits) + ".IDX").c_str());
  const fs::path found = resolved.empty() ? fs::path() : fs::path(resolved).parent_path();
  const fs::path folder = args.out.empty() ? found : fs::path(args.out);
  if (folder.empty())
    throw CommandFailure{kExitError,
                         "no registry value gives a folder for " + args.target + ": give --out"};
  std::error_code error;
  fs::create_directories(folder, error);
  const fs::path canonical = fs::weakly_canonical(folder, error);
  compile::CompiledDictionary compiled;
  std::string problem;
  if (!compile::createNewWordTarget(id, canonical.string(), &compiled, &problem))
    throw CommandFailure{kExitError, problem};
  const bool foundThere = !found.empty() && fs::weakly_canonical(found, error) == canonical;
  const std::string valueName = std::string(digits) + "Path";
  if (!foundThere) writePathValue(valueName, canonical.string());
  if (options.json) {
    printJson(jsonReply({{"target", formatDictId(id)},
                         {"index", compiled.indexPath},
                         {"data", compiled.dataPath},
                         {"registryValueWritten", !foundThere}}));
    return;
  }
  std::printf("%s  %s, %s\n", bold(formatDictId(id)).c_str(), compiled.indexPath.c_str(),
              compiled.dataPath.c_str());
  std::printf(foundThere ? "  the registry already leads here\n" : "  %s = %s\n", valueName.c_str(),
              canonical.string().c_str());
}

}  // namespace

void addNewWordCommands(CLI::App& app, const GlobalOptions& options) {
  CLI::App* newword = app.add_subcommand("newword", "Make, read and follow new-word files");
  newword->require_subcommand(1);
  // The parsed arguments live as long as the callbacks that read them.
  auto args = std::make_shared<NewWordArguments>();

  auto* make = newword->add_subcommand("make", "Write a new-word file from a TSV of new entries");
  make->add_option("SOURCE", args->source, "TSV of the new entries, as compile --from tsv reads")
      ->required();
  make->add_option("--for", args->target, "The target dictionary's id")->required();
  make->add_option("--version", args->version, "The file's version, 0 to 255")
      ->required()
      ->check(CLI::Range(0, 255));
  make->add_option("--time", args->time,
                   "Its time, YYYY-MM-DDTHH:MM:SS[.mmm] UTC; now when left out");
  make->add_option("--out", args->out, "The new-word file to write")->required();
  make->callback([&options, args] { runMake(*args, options); });

  auto* info = newword->add_subcommand("info", "Show a new-word file's header and check it");
  info->add_option("FILE", args->file, "The new-word file")->required();
  info->callback([&options, args] { runNewWordInfo(args->file, options); });

  auto* status = newword->add_subcommand(
      "status", "Show the new-word version and time a dictionary reached, and its list");
  status->add_option("DICTID", args->target, "Dictionary id, all four bytes non-zero")->required();
  status->callback([&options, args] { runStatus(args->target, options); });

  auto* target = newword->add_subcommand(
      "target", "Make a new-word target: a dictionary of one record that new words join");
  target->add_option("DICTID", args->target, "The target's id")->required();
  target->add_option("--out", args->out, "Its folder; by default where the registry leads");
  target->callback([&options, args] { runTarget(*args, options); });
}

}  // namespace orviadic
