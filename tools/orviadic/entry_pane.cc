#include "entry_pane.h"

#include <algorithm>

#include "dict/failure_text.h"
#include "open_dictionary.h"
#include "terminal_text.h"

namespace orviadic {
namespace {

// Curses keeps a pad's size in a short.
constexpr size_t kMaxPadLines = 32000;

// The text as lookup shows it, or why there is none.
std::string paneText(uint32_t dictId, HWORD* word) {
  std::string content;
  const orvia::Status status = readContent(word, dictId, &content);
  if (!status.ok()) return "no readable content: " + orvia::dict::describeCause(status) + "\n";
  return readableEntry(dictId, content, false);
}

}  // namespace

EntryPane::~EntryPane() {
  if (pad_ != nullptr) delwin(pad_);
}

void EntryPane::show(uint32_t dictId, HWORD* word, uint32_t record, int width, int rows) {
  visible_ = std::max(1, rows);
  width = std::max(1, width);
  if (pad_ == nullptr || record != record_ || width != width_) {
    record_ = record;
    width_ = width;
    first_ = 0;
    fill(paneText(dictId, word), width);
  }
  scrollBy(0);
}

// A line of n bytes wraps to at most n / width + 1 rows: no UTF-8 character takes more
// columns than bytes.
void EntryPane::fill(const std::string& text, int width) {
  if (pad_ != nullptr) delwin(pad_);
  const size_t rows = std::count(text.begin(), text.end(), '\n') + text.size() / width + 2;
  pad_ = newpad(int(std::min(rows, kMaxPadLines)), width);
  lines_ = 0;
  if (pad_ == nullptr) return;
  waddstr(pad_, text.c_str());  // stops at the pad's end when the text is longer
  lines_ = getcury(pad_) + (getcurx(pad_) > 0 ? 1 : 0);
}

void EntryPane::scrollBy(int lines) {
  first_ = std::max(0, std::min(first_ + lines, lines_ - visible_));
}

void EntryPane::draw(int top, int left) const {
  if (pad_ != nullptr)
    pnoutrefresh(pad_, first_, 0, top, left, top + visible_ - 1, left + width_ - 1);
}

std::string EntryPane::position() const {
  const int last = std::min(first_ + visible_, lines_);
  return "lines " + std::to_string(lines_ == 0 ? 0 : first_ + 1) + "-" + std::to_string(last) +
         " of " + std::to_string(lines_);
}

}  // namespace orviadic
