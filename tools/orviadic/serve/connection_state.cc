#include "serve/connection_state.h"

#include <algorithm>

namespace orviadic::serve {

size_t ConnectionState::receivable() const {
  if (closing_ || inputEnded_ || pending().size() >= kOutputHighWater ||
      input_.size() >= kInputHighWater)
    return 0;
  return kInputHighWater - input_.size();
}

void ConnectionState::receive(std::string_view bytes) {
  input_.append(bytes);
}

bool ConnectionState::nextLine(InputLine* line) {
  if (closing_) return false;
  const size_t end = input_.find('\n');
  if (discarding_) {
    if (end == std::string::npos) {
      discarded_ += input_.size();
      input_.clear();
      if (discarded_ < kRunawayLineSize) return false;
      line->kind = LineKind::kRunaway;
      line->text.clear();
      close();
      return true;
    }
    input_.erase(0, end + 1);
    discarding_ = false;
    line->kind = LineKind::kTooLong;
    line->text.clear();
    return true;
  }
  if (end == std::string::npos) {
    if (input_.size() < kMaxLineSize) return false;
    // Too long already: what comes up to the line end is dropped as it arrives.
    discarding_ = true;
    discarded_ = 0;
    return nextLine(line);
  }
  if (end + 1 > kMaxLineSize) {
    input_.erase(0, end + 1);
    line->kind = LineKind::kTooLong;
    line->text.clear();
    return true;
  }
  // A bare LF ends a line as well as CR LF does: some clients send only that.
  const size_t textEnd = end > 0 && input_[end - 1] == '\r' ? end - 1 : end;
  line->text.assign(input_, 0, textEnd);
  input_.erase(0, end + 1);
  line->kind = line->text.find('\0') == std::string::npos ? LineKind::kCommand : LineKind::kNulByte;
  return true;
}

bool ConnectionState::hasLine() const {
  return !closing_ && (input_.size() >= kMaxLineSize || input_.find('\n') != std::string::npos);
}

void ConnectionState::send(std::string_view text) {
  // Bytes written are dropped once they are half of what is held, so that a
  // connection's output never grows with the number of responses it was given.
  if (sent_ > 0 && sent_ * 2 >= output_.size()) {
    output_.erase(0, sent_);
    sent_ = 0;
  }
  output_.append(text);
}

void ConnectionState::sent(size_t count) {
  sent_ += std::min(count, output_.size() - sent_);
  if (sent_ == output_.size()) {
    output_.clear();
    sent_ = 0;
  }
}

}  // namespace orviadic::serve
