// Property: whatever bytes a client sends, in whatever pieces, a connection holds at most
// its bounds, gives command lines that fit the protocol (no NUL, no line end, at most
// 1,024 bytes with CR LF) and nothing after a runaway line; every word parsed from a line
// comes back unchanged from its quoted form; and a response made of the line, as status
// and as text, has only CR LF lines of at most 1,024 bytes: the status one line, the text
// ending at the one line that holds only ".". Output held stays within its mark and a line.
// Input: u8 piece size, u8 output taken per piece, then the bytes the client sends.
#include <cstdint>
#include <string>
#include <string_view>

#include "serve/command_parser.h"
#include "serve/connection_state.h"
#include "serve/response.h"

namespace {

using namespace orviadic::serve;

void check(bool holds) {
  if (!holds) __builtin_trap();
}

// The lines of bytes, each ending in CR LF and fitting; the number of lines holding only ".".
size_t checkLines(const std::string& bytes) {
  size_t dotLines = 0;
  for (size_t at = 0; at < bytes.size();) {
    const size_t end = bytes.find("\r\n", at);
    check(end != std::string::npos && end + 2 - at <= kMaxLineSize);
    const std::string_view line(bytes.data() + at, end - at);
    check(line.find('\n') == std::string_view::npos);
    dotLines += line == "." ? 1 : 0;
    at = end + 2;
  }
  return dotLines;
}

void checkLine(const InputLine& line, bool mime) {
  check(line.text.size() < kMaxLineSize && line.text.find('\n') == std::string::npos);
  if (line.kind != LineKind::kCommand) return;
  check(line.text.find('\0') == std::string::npos);
  const ParsedCommand parsed = parseCommand(line.text);
  for (const std::string& word : parsed.words) {
    const ParsedCommand again = parseCommand(quotedWord(word));
    check(!again.unbalanced && again.words.size() == 1 && again.words[0] == word);
  }
  Response status(mime);
  status.status(151, line.text);
  check(checkLines(status.bytes()) == 0 &&
        status.bytes().find("\r\n") + 2 == status.bytes().size());
  Response text(mime);
  text.text(line.text);
  const std::string& bytes = text.bytes();
  check(checkLines(bytes) == 1 && bytes.compare(bytes.size() - 3, 3, ".\r\n") == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t piece = size_t(data[0]) * 64 + 1, taken = size_t(data[1]) * 256;
  std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
  ConnectionState state;
  InputLine line;
  bool runaway = false;
  while (!rest.empty() && state.receivable() > 0) {
    const std::string_view bytes = rest.substr(0, std::min(piece, state.receivable()));
    state.receive(bytes);
    rest.remove_prefix(bytes.size());
    // As a worker does: no line is answered while the output is over its mark.
    while (state.pending().size() < kOutputHighWater && state.nextLine(&line)) {
      check(!runaway);
      runaway = line.kind == LineKind::kRunaway;
      checkLine(line, (data[0] & 1) != 0);
      state.send(line.text);
    }
    state.sent(taken);
    check(state.pending().size() < kOutputHighWater + kMaxLineSize);
  }
  return 0;
}
