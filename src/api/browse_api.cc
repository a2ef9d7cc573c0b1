#include "api/guard.h"
#include "dict/browse.h"
#include "dict/dict_id.h"
#include "dict/word_list.h"
#include "lang/lang_ops.h"

using orvia::api::guarded;
using orvia::api::hasRecord;
using orvia::dict::ListKind;

namespace {

constexpr uint32_t kNoWindow = 0xFFFFFFFFu;
constexpr uint32_t kMaxLevel = 255;

int32_t step(HWORD* word, uint32_t level, bool forward) {
  if (!hasRecord(word) || word->dict == nullptr || level > kMaxLevel) return 0;
  return orvia::dict::stepWord(word, level, forward).ok();
}

// The three list exports: counters first, then the buffer, then the window.
uint32_t fetchList(ListKind kind, HDICT* dict, uint32_t start, uint32_t count, char* buffer,
                   uint32_t size, uint32_t* entries, uint32_t* bytes) {
  using orvia::platform::isWritable;
  const bool withBytes = kind == ListKind::kKeyVcodes;
  // Each counter is cleared where it can be written, whatever the other arguments are.
  const bool entriesOk = isWritable(entries, 4);
  const bool bytesOk = !withBytes || isWritable(bytes, 4);
  const bool bufferOk = size > 0 && isWritable(buffer, size);
  if (bufferOk) buffer[0] = '\0';
  if (entriesOk) *entries = 0;
  if (withBytes && bytesOk) *bytes = 0;
  if (!entriesOk || !bytesOk || !bufferOk || size < orvia::dict::kMinListSize) return 0;
  bool usable = start != kNoWindow && count != 0 && dict != nullptr && dict->db != nullptr;
  // Only installed English dictionaries keep a vcode behind every key.
  if (withBytes)
    usable = usable && orvia::dict::companionKindOf(dict->dictId) == orvia::dict::kInstalledKind &&
             orvia::lang::languageOf(dict->dictId) == 1;
  if (!usable) return 0;
  const orvia::dict::ListWindow window =
      orvia::dict::fetchWordList(kind, dict->db, start, count, buffer, size);
  *entries = window.entries;
  if (withBytes) *bytes = window.bytes;
  return window.entries;
}

}  // namespace

extern "C" {

uint32_t ORVIADIC_API dicGetWordCount(HDICT* dict) {
  return guarded(0u, [&] {
    uint32_t count = 0;
    return dict != nullptr && orvia::dict::wordCount(dict, &count).ok() ? count : 0u;
  });
}

int32_t ORVIADIC_API dicGetHandleInfo(HWORD* word, uint32_t what, uint32_t* out) {
  return guarded(0, [&] {
    if (!orvia::platform::isWritable(out, 4)) return 0;
    *out = 0;
    if (!hasRecord(word) || what < 1 || what > 4) return 0;
    uint32_t answer = 0;
    if (!orvia::dict::handleInfo(word, what, &answer).ok()) return 0;
    *out = answer;
    return 1;
  });
}

int32_t ORVIADIC_API dicPrev(HWORD* word, uint32_t level) {
  return guarded(0, [&] { return step(word, level, false); });
}

int32_t ORVIADIC_API dicNext(HWORD* word, uint32_t level) {
  return guarded(0, [&] { return step(word, level, true); });
}

uint32_t ORVIADIC_API dicGetKeyList(HDICT* dict, uint32_t start, uint32_t count, char* buffer,
                                    uint32_t size, uint32_t* entries) {
  return guarded(0u, [&] {
    return fetchList(ListKind::kKeys, dict, start, count, buffer, size, entries, nullptr);
  });
}

uint32_t ORVIADIC_API dicGetWordList(HDICT* dict, uint32_t start, uint32_t count, char* buffer,
                                     uint32_t size, uint32_t* entries) {
  return guarded(0u, [&] {
    return fetchList(ListKind::kWords, dict, start, count, buffer, size, entries, nullptr);
  });
}

uint32_t ORVIADIC_API dicGetKeyVcodeList(HDICT* dict, uint32_t start, uint32_t count, char* buffer,
                                         uint32_t size, uint32_t* entries, uint32_t* bytes) {
  return guarded(0u, [&] {
    return fetchList(ListKind::kKeyVcodes, dict, start, count, buffer, size, entries, bytes);
  });
}

}  // extern "C"
