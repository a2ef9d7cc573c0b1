#include "dict/search.h"

#include <cstring>

#include "dict/heap_buffer.h"
#include "lang/lang_ops.h"
#include "platform/platform.h"

namespace orvia::dict {
namespace {

constexpr uint32_t kMaxUsableKeyLength = 244;

// The language operations of one dictionary.
struct KeyOps {
  explicit KeyOps(uint32_t dictId)
      : language(lang::languageOf(dictId)),
        makeSearchKey(lang::getMakeSearchKeyFn(language)),
        keyCharOffset(lang::getKeyCharOffsetFn(language)),
        compareKeys(lang::getCompareKeysFn(language)),
        matchLenFolded(lang::getMatchLenFoldedFn(language)),
        matchLenSignificant(lang::getMatchLenSignificantFn(language)),
        matchLenNoCase(lang::getMatchLenNoCaseFn(language)),
        matchLenExact(lang::getMatchLenExactFn(language)) {}

  uint32_t language;
  lang::MakeSearchKeyFn makeSearchKey;
  lang::KeyCharOffsetFn keyCharOffset;
  lang::CompareKeysFn compareKeys;
  lang::MatchLenFn matchLenFolded, matchLenSignificant, matchLenNoCase, matchLenExact;
};

// The best candidate of the walk back and its three match lengths against the prefix.
struct Candidate {
  uint32_t recordNumber;
  uint32_t folded, noCase, significant;
};

// Walks back from the current record while records still match the prefix as well as
// the best so far; ties go to the earlier record. False when a step fails.
bool walkBack(DBHANDLE db, const KeyOps& ops, const char* prefix, uint8_t* block,
              IndexRecordView current, Candidate* best) {
  while (current.recordNumber != 0) {
    if (dbPrev(db) == 0 || !readCurrentRecord(db, block, &current)) return false;
    const char* key = current.searchKey;
    uint32_t folded = ops.matchLenFolded(key, prefix);
    if (folded < best->folded) return true;
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
    if (fullTie && ops.matchLenExact(key, prefix) == lang::kMatchAll) return true;
  }
  return true;
}

// The record number the search settles on, or false.
bool nearestRecordNumber(HDICT* dict, const KeyOps& ops, const char* key, uint8_t* block,
                         char* prefix, uint32_t* answer) {
  DBHANDLE db = dict->db;
  IndexRecordView view;
  if (dbSeek(db, key) == 0 || !readCurrentRecord(db, block, &view)) return false;
  if (ops.matchLenExact(view.searchKey, key) == lang::kMatchAll) {
    *answer = view.recordNumber;
    return true;
  }
  // The seek may stop on either side of a missing key: look at the other side too.
  uint32_t matched = ops.matchLenFolded(view.searchKey, key);
  bool stepped = ops.compareKeys(view.searchKey, key) > 0 ? dbPrev(db) != 0 : dbNext(db) != 0;
  if (stepped) {
    if (!readCurrentRecord(db, block, &view)) return false;
    uint32_t neighbour = ops.matchLenFolded(view.searchKey, key);
    if (neighbour > matched) matched = neighbour;
  }
  uint32_t length = ops.keyCharOffset(key, matched);
  if (length == 0) return false;
  if (ops.language == 1 && key[length - 1] == ' ' && --length == 0) return false;
  if (length + 3 > lang::kKeyBufferSize) return false;
  std::memcpy(prefix, key, length);
  std::memset(prefix + length, 0, 3);

  if (dbSeek(db, prefix) == 0) return false;
  if (dbNext(db) == 0 && dbSeek(db, prefix) == 0) return false;
  if (!readCurrentRecord(db, block, &view)) return false;
  Candidate best{view.recordNumber, ops.matchLenFolded(view.searchKey, prefix),
                 ops.matchLenNoCase(view.searchKey, prefix),
                 ops.matchLenSignificant(view.searchKey, prefix)};
  if (!walkBack(db, ops, prefix, block, view, &best)) return false;
  *answer = best.recordNumber;
  return true;
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

int findNearestRecord(HDICT* dict, HWORD* target, const char* key) {
  target->dict = dict;
  if (key == nullptr || key[0] == '\0') return 0;
  HeapBuffer prefix(lang::kKeyBufferSize);
  HeapBuffer block(kMaxIndexRecordSize);
  if (prefix.data() == nullptr || block.data() == nullptr) return 0;
  KeyOps ops(dict->dictId);
  uint32_t answer = 0;
  if (!nearestRecordNumber(dict, ops, key, block.data(), prefix.text(), &answer)) return 0;
  IndexRecordView view;
  if (dbGoto(dict->db, answer) == 0 || !readCurrentRecord(dict->db, block.data(), &view)) return 0;
  target->record = block.take();
  return 1;
}

int wordExists(HDICT* dict, const char* word) {
  if (word == nullptr || strnlen(word, kMaxUsableKeyLength) >= kMaxUsableKeyLength) return 0;
  HeapBuffer key(lang::kKeyBufferSize);
  HeapBuffer block(kMaxIndexRecordSize);
  if (key.data() == nullptr || block.data() == nullptr) return 0;
  KeyOps ops(dict->dictId);
  if (ops.makeSearchKey(word, key.text()) == 0) return 0;
  IndexRecordView view;
  if (dbSeek(dict->db, key.text()) == 0 || !readCurrentRecord(dict->db, block.data(), &view))
    return 0;
  if (holdsKey(view.searchKey, key.text())) return 1;
  bool stepped = ops.compareKeys(key.text(), view.searchKey) < 0 ? dbPrev(dict->db) != 0
                                                                 : dbNext(dict->db) != 0;
  if (!stepped || !readCurrentRecord(dict->db, block.data(), &view)) return 0;
  return holdsKey(view.searchKey, key.text()) ? 1 : 0;
}

HWORD* searchWord(HDICT* dict, const char* word) {
  platform::HeapHandle heap = platform::processHeap();
  if (dict == nullptr || word == nullptr || heap == nullptr) return nullptr;
  auto* handle = static_cast<HWORD*>(platform::heapAlloc(heap, sizeof(HWORD)));
  HeapBuffer key(lang::kKeyBufferSize);
  if (handle == nullptr || key.data() == nullptr) {
    if (handle != nullptr) platform::heapFree(heap, handle);
    return nullptr;
  }
  KeyOps(dict->dictId).makeSearchKey(word, key.text());
  if (findNearestRecord(dict, handle, key.text()) == 0 && gotoRecord(dict, handle, 0) == 0) {
    platform::heapFree(heap, handle);
    return nullptr;
  }
  return handle;
}

HWORD* searchRecord(HDICT* dict, uint32_t n) {
  platform::HeapHandle heap = platform::processHeap();
  if (dict == nullptr || heap == nullptr) return nullptr;
  auto* handle = static_cast<HWORD*>(platform::heapAlloc(heap, sizeof(HWORD)));
  if (handle == nullptr) return nullptr;
  if (gotoRecord(dict, handle, n) == 0 && gotoRecord(dict, handle, 0) == 0) {
    platform::heapFree(heap, handle);
    return nullptr;
  }
  return handle;
}

}  // namespace orvia::dict
