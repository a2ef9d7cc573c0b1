#include "user_text.h"

#include <iostream>
#include <iterator>

#include "content/user_marker.h"
#include "conventions.h"
#include "platform/platform.h"
#include "terminal_text.h"

namespace orviadic {
namespace {

uint32_t markerCodeOf(uint32_t dictId) {
  return (dictId >> 8) & 0xFF;
}

std::string withCrLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

}  // namespace

std::string readTextArgument(const std::string& text) {
  if (text != "-") return text;
  std::string input{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
  // A text piped in ends with the line end of its last line, which is not part of it.
  while (!input.empty() && (input.back() == '\n' || input.back() == '\r')) input.pop_back();
  return input;
}

std::string toDictionaryText(uint32_t dictId, const std::string& utf8) {
  return withCrLf(toCodePage(dictId, utf8, "text"));
}

bool hasUserMarker(uint32_t dictId) {
  const uint32_t code = markerCodeOf(dictId);
  return code >= 1 && code <= 5;
}

std::string recordContent(uint32_t dictId, const std::string& word, const std::string& text) {
  std::string content = word + "\r\n" + text;
  if (!hasUserMarker(dictId)) return content;
  // The marker operation grows a process-heap block, as the library's merge hands it one.
  using namespace orvia::platform;
  uint32_t capacity = uint32_t(content.size()) + 1;
  char* block = static_cast<char*>(heapAlloc(processHeap(), capacity));
  if (block == nullptr) throw CommandFailure{kExitError, "out of memory"};
  content.copy(block, content.size());
  const uint32_t length = orvia::content::insertUserMarker(&block, uint32_t(content.size()),
                                                           markerCodeOf(dictId), &capacity);
  if (length != 0) content.assign(block, length);
  heapFree(processHeap(), block);
  if (length == 0) throw CommandFailure{kExitError, "out of memory"};
  return content;
}

}  // namespace orviadic
