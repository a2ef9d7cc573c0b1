#include "dict/dictionary.h"

#include "dict/config.h"
#include "dict/dict_id.h"
#include "lang/lang_ops.h"
#include "platform/platform.h"

namespace orvia::dict {

int openDictionary(HDICT* target, uint32_t id) {
  if (target == nullptr) return 0;
  target->dictId = id;
  if (!isValidDictId(id)) return 0;
  char fileName[kFileNameBufferSize];
  buildDictFileName(id, fileName, ".IDX");
  char path[kMaxPath];
  if (resolveDictFilePath(id, path, sizeof path, fileName) == 0) return 0;
  target->db = dbOpen(path, lang::getCompareKeysFn(lang::languageOf(id)));
  return target->db != nullptr ? 1 : 0;
}

int closeDictionary(HDICT* dict) {
  if (dict == nullptr) return 0;
  if (dict->db == nullptr) return 1;
  if (dbClose(dict->db) == 0) return 0;
  dict->db = nullptr;
  return 1;
}

HDICT* createDictionary(uint32_t id) {
  if (!isValidDictId(id)) return nullptr;
  platform::HeapHandle heap = platform::processHeap();
  auto* dict = static_cast<HDICT*>(platform::heapAlloc(heap, sizeof(HDICT)));
  if (dict == nullptr) return nullptr;
  if (openDictionary(dict, id) == 0) {
    platform::heapFree(heap, dict);
    return nullptr;
  }
  return dict;
}

int freeDictionary(HDICT* dict) {
  platform::HeapHandle heap = platform::processHeap();
  if (dict == nullptr || heap == nullptr) return 0;
  if (closeDictionary(dict) == 0) return 0;
  platform::heapFree(heap, dict);
  return 1;
}

}  // namespace orvia::dict
