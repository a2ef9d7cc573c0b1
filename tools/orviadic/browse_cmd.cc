// orviadic browse: an interactive word list that follows the nearest match as the user
// types, with the selected entry and its text shown beside it.
//   typing      look the word up; the list jumps to where it lands (UTF-8: each
//               character once it is whole)
//   arrows      one entry; PgUp/PgDn one page; Home/End the ends of the list
//   Ctrl-E/Ctrl-Y (or Shift-Down/Shift-Up) scroll the text a line; Ctrl-F/Ctrl-B a page
//   Backspace   drop the last character; Esc clears the word, or quits when it is empty
//   Ctrl-C      quit at any time
// Every printable key goes to the word being typed, "q" as any other, so the text
// scrolls on control keys. The selected entry stays mid-list, its neighbours on both
// sides, except near the list's ends.
#include <curses.h>
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "cli.h"
#include "entry_pane.h"
#include "open_dictionary.h"
#include "orviadic.h"
#include "screen_columns.h"
#include "terminal_text.h"
#include "typed_word.h"

namespace orviadic {
namespace {

constexpr int kListWidth = 36;
constexpr int kEscape = 27;
constexpr int kTextTop = 9;  // the first row of the entry's text
constexpr int kControlB = 2, kControlE = 5, kControlF = 6, kControlY = 25;

// The terminal goes back to normal however the browser ends: return, exception or signal.
class Screen {
 public:
  Screen() {
    // So that curses writes UTF-8 text as characters; without it, as bytes, still usable.
    static_cast<void>(std::setlocale(LC_CTYPE, ""));
    initscr();
    cbreak();
    noecho();
    keypad(stdscr, TRUE);
    set_escdelay(25);
    curs_set(0);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
      static_cast<void>(std::signal(signal, restoreAndDie));
  }
  ~Screen() { endwin(); }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

 private:
  static void restoreAndDie(int signal) {
    endwin();
    // Dying by the same signal is all that is left to do; a failure has no one to tell.
    static_cast<void>(std::signal(signal, SIG_DFL));
    static_cast<void>(std::raise(signal));
  }
};

class Browser {
 public:
  Browser(uint32_t dictId, HDICT* dict)
      : dictId_(dictId), dict_(dict), count_(dicGetWordCount(dict)) {}

  void run() {
    Screen screen;
    for (;;) {
      draw();
      const int key = getch();
      // ERR: the terminal is gone, and every further read would fail at once.
      if (key == ERR || key == 3 || (key == kEscape && typed_.empty())) return;
      handle(key);
    }
  }

 private:
  void handle(int key) {
    int page = LINES - 3 > 1 ? LINES - 3 : 1;
    switch (key) {
      case kControlE:
      case KEY_SF:
        return pane_.scrollBy(1);
      case kControlY:
      case KEY_SR:
        return pane_.scrollBy(-1);
      case kControlF:
        return pane_.scrollBy(textRows());
      case kControlB:
        return pane_.scrollBy(-textRows());
      case KEY_UP:
        return moveBy(-1);
      case KEY_DOWN:
        return moveBy(1);
      case KEY_PPAGE:
        return moveBy(-page);
      case KEY_NPAGE:
        return moveBy(page);
      case KEY_HOME:
        return moveTo(0);
      case KEY_END:
        return moveTo(count_ == 0 ? 0 : count_ - 1);
      case kEscape:
        typed_.clear();
        return;
      case KEY_BACKSPACE:
      case 127:
      case 8:
        if (typed_.dropLast()) lookUp();
        return;
      default:
        if (key >= 32 && key < 256 && typed_.add(uint8_t(key))) lookUp();
    }
  }

  void lookUp() {
    if (typed_.text().empty()) return;
    std::string word;
    try {
      word = toDictionaryWord(dictId_, typed_.text());
    } catch (const CommandFailure&) {
      return;  // a character the dictionary's code page lacks
    }
    WordHandle found(dicSearchWord(dict_, word.c_str()), dicFreeHWORD);
    if (found) dicGetHandleInfo(found.get(), 1, &selected_);
  }

  static int textRows() { return LINES - 1 - kTextTop > 1 ? LINES - 1 - kTextTop : 1; }

  void moveBy(int delta) {
    int64_t target = int64_t(selected_) + delta;
    moveTo(target < 0 ? 0 : uint32_t(target));
  }
  void moveTo(uint32_t record) {
    selected_ = count_ == 0 ? 0 : (record < count_ ? record : count_ - 1);
  }

  // The words of the list pane, from record first on.
  std::vector<std::string> window(uint32_t first, uint32_t rows) {
    std::vector<std::string> words;
    std::vector<char> buffer(32 * 1024);
    uint32_t entries = 0;
    dicGetWordList(dict_, first, rows, buffer.data(), uint32_t(buffer.size()), &entries);
    for (const char* at = buffer.data(); words.size() < entries;) {
      words.emplace_back(at + 1);
      at += words.back().size() + 2;
    }
    return words;
  }

  void draw() {
    erase();
    uint32_t rows = LINES > 3 ? uint32_t(LINES - 3) : 1;
    const uint32_t lastTop = count_ > rows ? count_ - rows : 0;
    uint32_t top = selected_ > rows / 2 ? selected_ - rows / 2 : 0;
    if (top > lastTop) top = lastTop;
    mvprintw(0, 0, "Look up: %s", typed_.text().c_str());
    mvprintw(LINES - 1, 0,
             "arrows/PgUp/PgDn move, type to look up, Esc clears (on nothing: quits), "
             "^E/^Y/^F/^B scroll text");
    std::vector<std::string> words = window(top, rows);
    for (uint32_t i = 0; i < words.size(); ++i) {
      if (top + i == selected_) attron(A_REVERSE);
      mvaddstr(int(i) + 2, 0, fitColumns(toTerminal(dictId_, words[i]), kListWidth - 2).c_str());
      if (top + i == selected_) attroff(A_REVERSE);
    }
    const bool entryShown = drawEntry();
    wnoutrefresh(stdscr);
    if (entryShown) pane_.draw(kTextTop, kListWidth);
    doupdate();
  }

  // The selected entry; false when there is none.
  bool drawEntry() {
    WordHandle word(dicSearchRecord(dict_, selected_), dicFreeHWORD);
    if (!word) return false;
    uint32_t level = 0, home = 0;
    dicGetHandleInfo(word.get(), 4, &level);
    dicGetHandleInfo(word.get(), 3, &home);
    int x = kListWidth;
    attron(A_BOLD);
    mvaddstr(2, x, fitColumns(toTerminal(dictId_, wordOf(word.get())), COLS - x).c_str());
    attroff(A_BOLD);
    mvaddstr(4, x,
             fitColumns("key      " + toTerminal(dictId_, keyOf(word.get())), COLS - x).c_str());
    mvprintw(5, x, "record   %u of %u", selected_, count_);
    mvprintw(6, x, "level    %u", level);
    if (home == 0xFFFFFFFF) {
      mvprintw(7, x, "content  not found");
    } else {
      mvprintw(7, x, "content  record %u of dictionary kind 0x%02X", home & 0xFFFFFF, home >> 24);
    }
    pane_.show(dictId_, word.get(), selected_, COLS - kListWidth, textRows());
    mvprintw(8, x, "text     %s", pane_.position().c_str());
    return true;
  }

  uint32_t dictId_;
  HDICT* dict_;
  uint32_t count_;
  uint32_t selected_ = 0;
  TypedWord typed_;
  EntryPane pane_;
};

}  // namespace

void addBrowseCommand(CLI::App& app, const GlobalOptions&) {
  auto dictIdText = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand("browse", "Browse a dictionary's word list interactively");
  command->add_option("DICTID", *dictIdText, kDictHelp)->required();
  command->callback([dictIdText] {
    // Without a terminal every key read fails at once: say so instead of spinning.
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO))
      throw CommandFailure{kExitError,
                           "browse needs a terminal: its standard input and output must be one"};
    uint32_t dictId = resolveDictId(*dictIdText);
    OpenDictionary dict(dictId);
    Browser(dictId, dict.get()).run();
  });
}

}  // namespace orviadic
