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
#include "lang/lang_ops.h"
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
  std::unique_ptr<EntrySource> source = open(problem);
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
    *problem = "the compiler cannot key language " + std::to_string(lang::languageOf(dictId)) +
               " (byte 0 of the id): it keys 1 to 9 only";
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
  if (ok && options.refuseMostSkipped && out->index.skipped.size() * 2 > out->entries) {
    *problem = "skipped " + std::to_string(out->index.skipped.size()) + " of " +
               std::to_string(out->entries) + " entries, more than half";
    ok = false;
  }
  out->checksumPath = dictFilePath(options.folder, dictId, ".CRC");
  const std::string checksumPart = out->checksumPath + ".part";
  if (ok && !content.checksums().write(checksumPart)) {
    *problem = "cannot write " + checksumPart;
    ok = false;
  }
  ok = ok && writeIndexFile(options.folder, dictId, out->index, problem);
  if (!ok) {
    platform::removeFile(checksumPart.c_str());
    return false;
  }
  // Read before the new data file takes the old one's name.
  const std::vector<std::string> earlierFurther = furtherFilesNamedBy(out->dataPath, dictId);
  // The checksums describe the new data files, so they go in place with them, before
  // the index that makes those files the dictionary's.
  if (!content.commit() ||
      !platform::replaceFile(checksumPart.c_str(), out->checksumPath.c_str())) {
    platform::removeFile(checksumPart.c_str());
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
