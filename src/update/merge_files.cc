#include "update/merge_files.h"

#include "dict/config.h"
#include "dict/dict_id.h"

namespace orvia::update {
namespace {

// The full path of id's file with extension, from the registry.
Status pathOf(uint32_t id, const char* extension, char (&path)[dict::kMaxPath]) {
  char name[dict::kFileNameBufferSize];
  dict::buildDictFileName(id, name, extension);
  return dict::resolveDictFilePath(id, path, sizeof path, name) != 0
             ? Status()
             : Status(Cause::kNotConfigured);
}

using FileOpener = content::FileHandle (*)(const char*);

Status openFile(uint32_t id, const char* extension, FileOpener open, ScopedFile* file) {
  char path[dict::kMaxPath];
  Status status = pathOf(id, extension, path);
  if (!status.ok()) return status;
  file->reset(open(path));
  return file->get() != content::kInvalidFile ? Status() : Status(Cause::kFileMissing);
}

Status openIndex(uint32_t id, lang::CompareKeysFn compare, ScopedIndex* index) {
  char path[dict::kMaxPath];
  Status status = pathOf(id, ".IDX", path);
  if (!status.ok()) return status;
  index->reset(dbOpen(path, compare));
  return index->get() != nullptr ? Status() : Status(Cause::kNotAnIndex);
}

Status openSharedIndex(uint32_t id, lang::CompareKeysFn compare, ScopedIndex* index) {
  char name[dict::kFileNameBufferSize];
  char path[dict::kMaxPath];
  dict::buildDictFileName(id, name, ".IDX");
  if (dict::resolveSharedDataPath(id, path, sizeof path, name) == 0) return Cause::kNotConfigured;
  index->reset(dbCommand(path, kDbCommandOpenShared, compare));
  return index->get() != nullptr ? Status() : Status(Cause::kNotAnIndex);
}

Status openUserSide(uint32_t target, lang::CompareKeysFn compare, MergeFiles* files) {
  const uint32_t installed = dict::withKind(target, dict::kInstalledKind);
  const uint32_t record = dict::recordDictId(target), memory = dict::memDictId(target);
  Status status = openIndex(installed, compare, &files->installed);
  if (status.ok())
    status = openFile(record, ".DAT", content::openFileReadWrite, &files->recordData);
  if (status.ok()) status = openIndex(record, compare, &files->recordIndex);
  if (status.ok())
    status = openFile(memory, ".DAT", content::openFileReadWrite, &files->memoryData);
  if (status.ok()) status = openIndex(memory, compare, &files->memoryIndex);
  return status;
}

}  // namespace

Status openMergeFiles(uint32_t target, lang::CompareKeysFn compare, uint32_t serverDataMode,
                      MergeFiles* files) {
  const uint32_t companion = dict::newWordDictId(target);
  Status status = openFile(companion, ".DAT", content::openFileRead, &files->newWordData);
  if (status.ok()) status = openIndex(companion, compare, &files->newWordIndex);
  if (status.ok()) status = openFile(target, ".NEW", content::createFileReadWrite, &files->list);
  if (status.ok())
    status = serverDataMode != 0
                 ? openSharedIndex(target, compare, &files->shared)
                 : openFile(target, ".DAT", content::openFileReadWrite, &files->targetData);
  if (status.ok()) status = openIndex(target, compare, &files->target);
  if (!status.ok()) return status;
  uint32_t records = 0;
  if (dbGetInfo(files->target.get(), kDbInfoRecordCount, &records) == 0) return Cause::kStoreFailed;
  if (records == 0) return Cause::kEmpty;
  return feedsInstalledDictionary(target) ? openUserSide(target, compare, files) : Status();
}

}  // namespace orvia::update
