#include "compile/dictionary_compiler.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "compile/compile_entries.h"
#include "compile/content/content_compiler.h"
#include "compile/content/further_files.h"
#include "compile/index/index_writer.h"
#include "dict/dict_id.h"
#include "platform/file.h"

namespace orvia::compile {
namespace {

namespace fs = std::filesystem;

ProgressFn passProgress(const PassProgressFn& progress, const char* pass) {
  if (!progress) return nullptr;
  return [progress, pass](uint64_t done, uint64_t total) { progress(pass, done, total); };
}

// Removes the further files an earlier compile wrote that this one did not: no reader
// that opens the new index can need them.
void removeFurtherFilesLeft(const std::string& folder, const std::vector<std::string>& earlier,
                            const std::vector<std::string>& written) {
  for (const std::string& name : earlier) {
    if (std::find(written.begin(), written.end(), name) == written.end())
      platform::removeFile((fs::path(folder) / name).string().c_str());
  }
}

bool runPass(const SourceOpener& open, const char* pass, const PassProgressFn& progress,
             std::string* problem,
             const std::function<bool(EntrySource&, const ProgressFn&, std::string*)>& body) {
  std::unique_ptr<EntrySource> source = open(WithText::kYes, problem);
  return source != nullptr && body(*source, passProgress(progress, pass), problem);
}

}  // namespace

bool compileDictionary(const SourceOpener& open, const DictionaryCompileOptions& options,
                       const PassProgressFn& progress, CompiledDictionary* out,
                       std::string* problem) {
  const uint32_t dictId = options.dictId;
  if (!dict::isValidDictId(dictId) || dict::isUserEntryId(dictId)) {
    *problem = "not the id of a dictionary with its own content";
    return false;
  }
  IndexCompiler compiler(dictId);
  ContentCompiler content(dictId, options.encoding, options.dataFile);
  if (!compiler.valid() || !content.valid()) {
    *problem = "the dictionary's language has no code page";
    return false;
  }
  out->countedFirst = content.needsStatistics();
  if (out->countedFirst &&
      !runPass(open, "counting", progress, problem,
               [&](EntrySource& source, const ProgressFn& report, std::string* why) {
                 return countAllTexts(source, content, report, why);
               }))
    return false;

  out->indexPath = indexFilePath(options.folder, dictId);
  out->dataPath = dictFilePath(options.folder, dictId, ".DAT");
  if (!content.create(out->dataPath)) {
    *problem = "cannot create " + out->dataPath + ".part: " + std::strerror(errno);
    return false;
  }
  bool ok = runPass(open, "compiling", progress, problem,
                    [&](EntrySource& source, const ProgressFn& report, std::string* why) {
                      return addAllEntries(source, compiler, content, report, why);
                    });
  if (!content.finish() && ok) {
    *problem = "cannot complete " + out->dataPath + ".part";
    ok = false;
  }
  out->entries = compiler.entriesSeen();
  out->index = compiler.finish();
  out->data = content.tally();
  out->furtherDataFiles = content.furtherFileNames();
  out->textBytes = content.textBytes();
  out->sharingEntries = content.sharingEntries();
  ok = ok && writeIndexFile(options.folder, dictId, out->index, problem);
  if (!ok) return false;
  // Read before the new data file takes the old one's name.
  const std::vector<std::string> earlierFurther = furtherFilesNamedBy(out->dataPath, dictId);
  if (!content.commit()) {
    discardIndexFile(options.folder, dictId);
    *problem = "cannot replace " + out->dataPath;
    return false;
  }
  if (!installIndexFile(options.folder, dictId, problem)) return false;
  removeFurtherFilesLeft(options.folder, earlierFurther, out->furtherDataFiles);
  if (!options.withCompanions) return true;
  out->companions = createCompanionFiles(options.folder, dictId);
  for (const CompanionFile& file : out->companions) {
    if (file.state == CompanionFile::State::kFailed) {
      *problem = "cannot create " + (fs::path(options.folder) / file.name).string();
      return false;
    }
  }
  return true;
}

}  // namespace orvia::compile
