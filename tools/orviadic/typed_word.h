// The word typed into the browser, composed from the bytes the terminal sends. A UTF-8
// character arrives a byte at a time; only whole characters join the word, so a
// half-typed character is never looked up.
#pragma once

#include <cstdint>
#include <string>

namespace orviadic {

class TypedWord {
 public:
  // Takes one byte from the terminal. True when the word changed: the byte completed a
  // character. A byte that cannot continue the character begun drops that character.
  bool add(uint8_t byte);
  // Drops the character being typed or, when there is none, the last whole character.
  // True when the word changed.
  bool dropLast();
  void clear();

  // The whole characters typed, in UTF-8.
  const std::string& text() const { return text_; }
  // True when nothing is typed, not even part of a character.
  bool empty() const { return text_.empty() && partial_.empty(); }

 private:
  std::string text_;
  std::string partial_;  // the first bytes of a character
  size_t length_ = 0;    // the bytes that character takes
};

}  // namespace orviadic
