// What one connection has received and has still to send, apart from its socket: the
// bytes are cut into command lines, and both directions are bounded, so that no client
// can make the server hold more than a few pages for it whatever it sends or fails to
// read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orviadic::serve {

// A command line holds at most this many bytes with its line end.
inline constexpr size_t kMaxLineSize = 1024;
// A line still without an end after this many bytes ends the connection: the client is
// not speaking the protocol.
inline constexpr size_t kRunawayLineSize = size_t(1) << 20;
// No more input is taken while this much output waits for the client, nor while this
// much input waits for the commands before it to be answered.
inline constexpr size_t kOutputHighWater = 64 * 1024;
inline constexpr size_t kInputHighWater = 16 * 1024;

enum class LineKind {
  kCommand,  // text holds the line, without its CR LF or bare LF
  kTooLong,  // a line over kMaxLineSize, now discarded to its end
  kNulByte,  // a line holding a NUL byte
  kRunaway,  // kRunawayLineSize bytes without a line end; nothing follows
};

struct InputLine {
  LineKind kind = LineKind::kCommand;
  std::string text;
};

class ConnectionState {
 public:
  // How many bytes the connection takes now: 0 while output or earlier commands wait,
  // after the end of input, or once it is closing.
  size_t receivable() const;
  // REQUIRES: bytes.size() <= receivable().
  void receive(std::string_view bytes);
  // The next line received, false when no line is complete. After kRunaway the
  // connection is closing and no line follows.
  bool nextLine(InputLine* line);
  // Whether nextLine may have a line to give: the bytes received hold a line end or are
  // too many for a line.
  bool hasLine() const;

  // Queues text for the client.
  void send(std::string_view text);
  std::string_view pending() const { return std::string_view(output_).substr(sent_); }
  // The first count pending bytes went out.
  void sent(size_t count);

  // The client sends no more: the lines complete so far are still to be answered.
  void endInput() { inputEnded_ = true; }
  bool inputEnded() const { return inputEnded_; }
  // No line is answered any more; the connection ends once its output is out.
  void close() { closing_ = true; }
  bool finished() const { return closing_ && pending().empty(); }

 private:
  std::string input_;
  bool discarding_ = false;  // inside a line that was too long
  size_t discarded_ = 0;     // bytes of it dropped so far
  std::string output_;
  size_t sent_ = 0;  // bytes of output_ already written
  bool inputEnded_ = false;
  bool closing_ = false;
};

}  // namespace orviadic::serve
