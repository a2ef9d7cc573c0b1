// The browser's content pane: the selected entry's text in UTF-8 as orviadic lookup shows
// it, wrapped to the pane's width by curses and scrolled line by line.
#pragma once

#include <curses.h>

#include <cstdint>
#include <string>

#include "orviadic.h"

namespace orviadic {

class EntryPane {
 public:
  EntryPane() = default;
  ~EntryPane();
  EntryPane(const EntryPane&) = delete;
  EntryPane& operator=(const EntryPane&) = delete;

  // Shows the text of word, record number record of dictId, wrapped to width columns,
  // rows at a time, from its first line; the text and the scroll stay when that record
  // and width are shown already. An entry without readable content shows why.
  void show(uint32_t dictId, HWORD* word, uint32_t record, int width, int rows);
  // Scrolls by lines (negative: back), stopping at either end of the text.
  void scrollBy(int lines);
  // Which lines are shown: "lines 3-12 of 40".
  std::string position() const;
  // Queues the rows shown for the next doupdate, from row top and column left of the
  // screen on: after the screen's own wnoutrefresh, which would cover them.
  void draw(int top, int left) const;

 private:
  void fill(const std::string& text, int width);

  WINDOW* pad_ = nullptr;
  uint32_t record_ = 0;
  int width_ = 0;
  int lines_ = 0;    // wrapped lines of the text
  int first_ = 0;    // the first line shown
  int visible_ = 1;  // rows shown at a time
};

}  // namespace orviadic
