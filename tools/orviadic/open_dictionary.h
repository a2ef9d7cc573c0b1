// Opens a dictionary and looks words up through the library; when the library says no,
// the dictionary layer the tool links says why, in one line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/result.h"
#include "orviadic.h"

namespace orviadic {

using WordHandle = std::unique_ptr<HWORD, int32_t (*)(HWORD*)>;

class OpenDictionary {
 public:
  // Throws CommandFailure with the cause when the library cannot open the dictionary.
  explicit OpenDictionary(uint32_t dictId);
  ~OpenDictionary();
  OpenDictionary(const OpenDictionary&) = delete;
  OpenDictionary& operator=(const OpenDictionary&) = delete;

  HDICT* get() const { return dict_; }
  uint32_t id() const { return dictId_; }
  // The record word lands on; throws CommandFailure with the cause when there is none
  // (exit 1 for an empty dictionary).
  WordHandle search(const std::string& word) const;

 private:
  uint32_t dictId_;
  HDICT* dict_;
};

// The full path the library resolves for fileName of dictId, as the registry says now;
// empty when no registry value gives a folder.
std::string dictionaryFilePath(uint32_t dictId, const char* fileName);
std::string indexPathOf(uint32_t dictId);

// The word's content in dictId into *text, as the library hands it out; when there is
// none, the cause the library's static layer gives.
orvia::Status readContent(HWORD* word, uint32_t dictId, std::string* text);

// The key and the word of a found word, in the dictionary's code page.
std::string keyOf(HWORD* word);
std::string wordOf(HWORD* word);

}  // namespace orviadic
