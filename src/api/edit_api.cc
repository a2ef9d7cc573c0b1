#include "api/guard.h"
#include "dict/dict_id.h"
#include "edit/memory_notes.h"
#include "edit/user_records.h"

using orvia::api::guarded;
using orvia::api::readableTextLength;

namespace {

// A word whose record and dictionary can be read, of a dictionary with a usable id.
bool isEditableWord(const HWORD* word) {
  return orvia::api::hasRecord(word) && word->dict != nullptr &&
         orvia::dict::isValidDictId(word->dict->dictId);
}

// An installed dictionary's handle: only those have record companions.
bool isInstalledDictionary(const HDICT* dict) {
  return dict != nullptr && orvia::dict::isValidDictId(dict->dictId) &&
         orvia::dict::companionKindOf(dict->dictId) == orvia::dict::kInstalledKind;
}

// A length of 0 stands for the text's terminated length; false when no terminator can
// be read.
bool measureText(const char* text, uint32_t* length) {
  return *length != 0 || readableTextLength(text, length);
}

}  // namespace

extern "C" {

int32_t ORVIADIC_API dicAddMem(HWORD* word, const char* text, uint32_t length) {
  return guarded(0, [&] {
    if (!orvia::api::hasRecord(word) || text == nullptr) return 0;
    if (!measureText(text, &length) || length == 0) return 0;
    if (!orvia::platform::isReadable(text, length) || !isEditableWord(word)) return 0;
    return orvia::edit::addMemoryNote(word, text, length).ok() ? 1 : 0;
  });
}

int32_t ORVIADIC_API dicDelMem(HWORD* word) {
  return guarded(
      0, [&] { return isEditableWord(word) && orvia::edit::deleteMemoryNote(word).ok() ? 1 : 0; });
}

int32_t ORVIADIC_API dicAddRecord(HDICT* dict, const char* word, uint32_t wordLength,
                                  const char* content, uint32_t contentLength) {
  return guarded(0, [&] {
    if (dict == nullptr || word == nullptr || content == nullptr) return 0;
    if (!measureText(word, &wordLength) || !measureText(content, &contentLength)) return 0;
    if (wordLength == 0 || contentLength == 0 || wordLength > orvia::edit::kMaxRecordWordLength)
      return 0;
    if (!orvia::platform::isReadable(word, wordLength) ||
        !orvia::platform::isReadable(content, contentLength) || !isInstalledDictionary(dict))
      return 0;
    return orvia::edit::addUserRecord(dict, word, wordLength, content, contentLength).ok() ? 1 : 0;
  });
}

int32_t ORVIADIC_API dicDelRecord(HDICT* dict, uint32_t recordNumber) {
  return guarded(0, [&] {
    return isInstalledDictionary(dict) && orvia::edit::deleteUserRecord(dict, recordNumber).ok()
               ? 1
               : 0;
  });
}

}  // extern "C"
