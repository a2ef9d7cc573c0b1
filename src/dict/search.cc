#include "dict/search.h"

#include <cstring>

#include "dict/heap_buffer.h"
#include "lang/lang_ops.h"
#include "platform/platform.h"

namespace orvia::dict {
namespace {

constexpr uint32_t kMaxUsableKeyLength = 244;

using lang::LanguageOps;

// The best candidate of the walk back and its three match lengths against the prefix.
struct Candidate {
  uint32_t recordNumber;
  uint32_t folded, noCase, significant;
};

// Walks back from the current record while records still match the prefix as well as
// the best so far; ties go to the earlier record.
Status walkBack(DBHANDLE db, const LanguageOps& ops, const char* prefix, uint8_t* block,
                IndexRecordView current, Candidate* best) {
  while (current.recordNumber != 0) {
    if (dbPrev(db) == 0) return Cause::kStoreFailed;
    Status status = readCurrentRecord(db, block, &current);
    if (!status.ok()) return status;
    const char* key = current.searchKey;
    uint32_t folded = ops.matchLenFolded(key, prefix);
    if (folded < best->folded) return Status();
    if (folded > best->folded) {
      *best = {current.recordNumber, folded, ops.matchLenNoCase(key, prefix),
               ops.matchLenSignificant(key, prefix)};
      continue;
    }
    uint32_t noCase = ops.matchLenNoCase(key, prefix);
    if (noCase < best->noCase) continue;
    if (noCase > best->noCase) {
      *best = {current.recordNumber, folded, noCase, ops.matchLenSignificant(key, prefix)};
      continue;
    }
    uint32_t significant = ops.matchLenSignificant(key, prefix);
    if (significant < best->significant) continue;
    bool fullTie = significant == best->significant;
    best->recordNumber = current.recordNumber;
    best->significant = significant;
    // On a full tie the earlier record wins, and one equal to the prefix ends the walk.
    if (fullTie && ops.matchLenExact(key, prefix) == lang::kMatchAll) return Status();
  }
  return Status();
}

// The record number the search settles on.
Status nearestRecordNumber(HDICT* dict, const LanguageOps& ops, bool dropsTrailingSpace,
                           const char* key, uint8_t* block, char* prefix, uint32_t* answer) {
  DBHANDLE db = dict->db;
  IndexRecordView view;
  if (dbSeek(db, key) == 0) return Cause::kEmpty;
  Status status = readCurrentRecord(db, block, &view);
  if (!status.ok()) return status;
  if (ops.matchLenExact(view.searchKey, key) == lang::kMatchAll) {
    *answer = view.recordNumber;
    return Status();
  }
  // The seek may stop on either side of a missing key: look at the other side too.
  uint32_t matched = ops.matchLenFolded(view.searchKey, key);
  bool stepped = ops.compareKeys(view.searchKey, key) > 0 ? dbPrev(db) != 0 : dbNext(db) != 0;
  if (stepped) {
    status = readCurrentRecord(db, block, &view);
    if (!status.ok()) return status;
    uint32_t neighbour = ops.matchLenFolded(view.searchKey, key);
    if (neighbour > matched) matched = neighbour;
  }
  uint32_t length = ops.keyCharOffset(key, matched);
  if (length == 0) return Cause::kEmpty;
  if (dropsTrailingSpace && key[length - 1] == ' ' && --length == 0) return Cause::kEmpty;
  if (length + 3 > lang::kKeyBufferSize) return Cause::kNoRoom;
  std::memcpy(prefix, key, length);
  std::memset(prefix + length, 0, 3);

  if (dbSeek(db, prefix) == 0) return Cause::kStoreFailed;
  if (dbNext(db) == 0 && dbSeek(db, prefix) == 0) return Cause::kStoreFailed;
  status = readCurrentRecord(db, block, &view);
  if (!status.ok()) return status;
  Candidate best{view.recordNumber, ops.matchLenFolded(view.searchKey, prefix),
                 ops.matchLenNoCase(view.searchKey, prefix),
                 ops.matchLenSignificant(view.searchKey, prefix)};
  status = walkBack(db, ops, prefix, block, view, &best);
  if (status.ok()) *answer = best.recordNumber;
  return status;
}

// A stored key holds the sought key when it is the key itself, or the key followed by
// a homograph number.
bool holdsKey(const char* storedKey, const char* key) {
  size_t length = std::strlen(key);
  if (std::strncmp(storedKey, key, length) != 0) return false;
  const char* rest = storedKey + length;
  if (*rest == '\0') return true;
  if (*rest != '@') return false;
  for (++rest; *rest != '\0'; ++rest) {
    if (*rest < '0' || *rest > '9') return false;
  }
  return true;
}

}  // namespace

Status findNearestRecord(HDICT* dict, HWORD* target, const char* key) {
  target->dict = dict;
  if (key[0] == '\0') return Cause::kEmpty;
  HeapBuffer prefix(lang::kKeyBufferSize);
  HeapBuffer block(kRecordBlockSize);
  if (prefix.data() == nullptr || block.data() == nullptr) return Cause::kOutOfMemory;
  const uint32_t language = lang::languageOf(dict->dictId);
  uint32_t answer = 0;
  // Only the single-byte English keys end a prefix at a word boundary.
  Status status = nearestRecordNumber(dict, lang::languageOps(language), language == 1, key,
                                      block.data(), prefix.text(), &answer);
  if (!status.ok()) return status;
  if (dbGoto(dict->db, answer) == 0) return Cause::kStoreFailed;
  IndexRecordView view;
  status = readCurrentRecord(dict->db, block.data(), &view);
  if (status.ok()) target->record = block.take();
  return status;
}

bool wordExists(HDICT* dict, const char* word) {
  if (strnlen(word, kMaxUsableKeyLength) >= kMaxUsableKeyLength) return false;
  HeapBuffer key(lang::kKeyBufferSize);
  HeapBuffer block(kRecordBlockSize);
  if (key.data() == nullptr || block.data() == nullptr) return false;
  const LanguageOps& ops = lang::languageOps(lang::languageOf(dict->dictId));
  if (ops.makeSearchKey(word, key.text()) == 0) return false;
  IndexRecordView view;
  if (dbSeek(dict->db, key.text()) == 0 || !readCurrentRecord(dict->db, block.data(), &view).ok())
    return false;
  if (holdsKey(view.searchKey, key.text())) return true;
  bool stepped = ops.compareKeys(key.text(), view.searchKey) < 0 ? dbPrev(dict->db) != 0
                                                                 : dbNext(dict->db) != 0;
  return stepped && readCurrentRecord(dict->db, block.data(), &view).ok() &&
         holdsKey(view.searchKey, key.text());
}

Status searchWord(HDICT* dict, const char* word, HWORD** out) {
  platform::HeapHandle heap = platform::processHeap();
  if (heap == nullptr) return Cause::kOutOfMemory;
  auto* handle = static_cast<HWORD*>(platform::heapAlloc(heap, sizeof(HWORD)));
  HeapBuffer key(lang::kKeyBufferSize);
  if (handle == nullptr || key.data() == nullptr) {
    if (handle != nullptr) platform::heapFree(heap, handle);
    return Cause::kOutOfMemory;
  }
  lang::languageOps(lang::languageOf(dict->dictId)).makeSearchKey(word, key.text());
  if (findNearestRecord(dict, handle, key.text()).ok()) {
    *out = handle;
    return Status();
  }
  Status status = gotoRecord(dict, handle, 0);
  if (!status.ok()) {
    platform::heapFree(heap, handle);
    return status;
  }
  *out = handle;
  return status;
}

Status searchRecord(HDICT* dict, uint32_t n, HWORD** out) {
  platform::HeapHandle heap = platform::processHeap();
  if (heap == nullptr) return Cause::kOutOfMemory;
  auto* handle = static_cast<HWORD*>(platform::heapAlloc(heap, sizeof(HWORD)));
  if (handle == nullptr) return Cause::kOutOfMemory;
  Status status = gotoRecord(dict, handle, n);
  if (!status.ok()) status = gotoRecord(dict, handle, 0);
  if (!status.ok()) {
    platform::heapFree(heap, handle);
    return status;
  }
  *out = handle;
  return status;
}

}  // namespace orvia::dict
