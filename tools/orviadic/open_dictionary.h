// Opens a dictionary through the library, and says why when it cannot: the library
// gives no reasons, so the tool looks for them itself.
#pragma once

#include <cstdint>
#include <string>

#include "orviadic.h"

namespace orviadic {

class OpenDictionary {
 public:
  // Throws CommandFailure with the reason when the library cannot open the dictionary.
  explicit OpenDictionary(uint32_t dictId);
  ~OpenDictionary();
  OpenDictionary(const OpenDictionary&) = delete;
  OpenDictionary& operator=(const OpenDictionary&) = delete;

  HDICT* get() const { return dict_; }

 private:
  HDICT* dict_;
};

// The full path the library resolves for fileName of dictId, as the registry says now;
// empty when no registry value gives a folder.
std::string dictionaryFilePath(uint32_t dictId, const char* fileName);
std::string indexPathOf(uint32_t dictId);

// The key and the word of a found word, in the dictionary's code page.
std::string keyOf(HWORD* word);
std::string wordOf(HWORD* word);

}  // namespace orviadic
