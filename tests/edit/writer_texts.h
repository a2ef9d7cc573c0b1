// The words and texts the writer processes add, so that the tests know what to find.
#pragma once

#include <functional>
#include <string>

namespace orvia::testing {

inline std::string writtenWord(int writer, int i) {
  return "writer" + std::to_string(writer) + "word" + std::to_string(i);
}
// A length below modulo that differs from word to word, the same in every process.
inline size_t spread(const std::string& word, size_t modulo) {
  return std::hash<std::string>{}(word) % modulo;
}
// Texts of one to three blocks, so that appends of different lengths interleave.
inline std::string recordTextOf(const std::string& word) {
  return word + "\r\nrecord " + std::string(spread(word, 500), 'r');
}
inline std::string noteTextOf(const std::string& word) {
  return "note on " + word + std::string(spread(word, 700), 'n');
}

}  // namespace orvia::testing
