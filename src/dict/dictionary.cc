#include "dict/dictionary.h"

#include "dict/config.h"
#include "dict/dict_id.h"
#include "lang/lang_ops.h"
#include "platform/file.h"
#include "platform/platform.h"

namespace orvia::dict {

int resolveIndexPath(uint32_t id, char* out) {
  char fileName[kFileNameBufferSize];
  buildDictFileName(id, fileName, ".IDX");
  return resolveDictFilePath(id, out, kMaxPath, fileName);
}

Status openDictionary(HDICT* target, uint32_t id) {
  target->dictId = id;
  if (!isValidDictId(id)) return Cause::kInvalidId;
  char path[kMaxPath];
  if (resolveIndexPath(id, path) == 0) return Cause::kNotConfigured;
  target->db = dbOpen(path, lang::languageOps(lang::languageOf(id)).compareKeys);
  if (target->db != nullptr) return Status();
  // The store gives no reason; only a missing file is told apart here, on the failure path.
  return platform::fileExists(path) ? Cause::kNotAnIndex : Cause::kFileMissing;
}

Status closeDictionary(HDICT* dict) {
  if (dict->db == nullptr) return Status();
  if (dbClose(dict->db) == 0) return Cause::kStoreFailed;
  dict->db = nullptr;
  return Status();
}

Status createDictionary(uint32_t id, HDICT** out) {
  platform::HeapHandle heap = platform::processHeap();
  auto* dict = static_cast<HDICT*>(platform::heapAlloc(heap, sizeof(HDICT)));
  if (dict == nullptr) return Cause::kOutOfMemory;
  Status status = openDictionary(dict, id);
  if (!status.ok()) {
    platform::heapFree(heap, dict);
    return status;
  }
  *out = dict;
  return status;
}

Status freeDictionary(HDICT* dict) {
  platform::HeapHandle heap = platform::processHeap();
  if (heap == nullptr) return Cause::kOutOfMemory;
  Status status = closeDictionary(dict);
  if (!status.ok()) return status;
  platform::heapFree(heap, dict);
  return status;
}

}  // namespace orvia::dict
