// The driver: the same API lets tests and scenario scripts act as a user does, on the
// real widgets. Installing it switches to virtual time and records message boxes (text,
// title, flags, the answer given), answering them from a queue of prepared answers —
// the box's first button by default — so that nothing waits for a person.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace win {

class WDIAG;

struct RecordedMessage {
  std::string text, title;
  int flags = 0;
  int answer = 0;
  bool checked = false;  // consumed by an expectation
};

class Driver {
 public:
  static Driver& instance();
  static bool installed();
  // Recorded message boxes, the error window answered like a message box; virtual time
  // unless `realTime`.
  void install(bool realTime = false);

  void answer(int button);  // for the next message box (Win32 numbers)
  std::vector<RecordedMessage>& messages() { return messages_; }
  RecordedMessage* nextUnchecked();
  std::function<void(const RecordedMessage&)> onMessage;  // scripts print each one

  // The window a user would act on: the innermost modal dialog, else the progress or another
  // window of our own on top, else the active screen.
  WDIAG* active() const;
  std::string activeName() const;

  bool chooseMenu(int id);
  void setText(int id, const std::string& text);
  void type(int id, const std::string& text);  // keystroke by keystroke
  void key(int id, int qtKey);                 // one key (Backspace, Delete, Enter, ...)
  bool select(int id, const std::string& value);
  bool selectText(int id, const std::string& text);
  void check(int id, bool on);
  void press(int id);
  void rightClick(int id);
  bool clickTree(int id, const std::string& text);
  // Clicks the tab of the active window's tab pages with that caption (or 1-based number).
  bool tab(const std::string& page);
  // An entry of the tree's pop-up menu, chosen by caption, on the node selected.
  bool treeMenu(int id, const std::string& caption);
  std::string text(int id) const;
  bool checked(int id) const;
  bool enabled(int id) const;
  std::vector<std::string> items(int id) const;
  bool hasControl(int id) const;
  void advance(int64_t ms);
  void minimize(bool minimized);
  bool screenshot(const std::string& path) const;
  void closeActive();
  // "500", or @"LABEL": the control after the static text LABEL, or the button, check box or
  // radio button with that caption, in the window's template or its tab pages. -1 when
  // nothing matches.
  int resolve(const std::string& named) const;

  // Browse grids, found by control id on the active window (or on the screen under it while
  // a window of the grid, such as its search window, is on top). Rows are logical rows of
  // the scope (1-based); a column is its heading or its 1-based position as shown.
  std::vector<std::vector<std::string>> gridRows(int id) const;  // the rows on screen
  std::string gridCell(int id, int row, const std::string& column) const;
  // The background of a grid row as "RRGGBB" (hexadecimal), "none" for the window colours,
  // "" when there is no such grid or row.
  std::string gridRowColor(int id, int row) const;
  int gridCount(int id) const;  // -1 without a grid
  bool gridRow(int id, int row);
  bool gridSeek(int id, const std::string& key);  // as the quick search's Enter does
  bool gridType(int id, const std::string& text);
  bool gridHeader(int id, const std::string& column);
  bool gridMenu(int id, const std::string& caption);  // an entry of the context menu

  // Runs steps one after another from the event loop; a step that opens a modal dialog lets
  // the following steps act on it. Returns when all ran (or `stop` was called).
  void run(std::vector<std::function<void()>> steps);
  void stop();

  // Called by the layer when a modal dialog starts waiting for its user.
  void modalOpened();
  // The answer a message box gets (records it).
  int answerFor(const std::string& text, const std::string& title, int flags);

 private:
  QWidget* control(int id) const;
  void scheduleNext();
  void runNext();

  std::vector<RecordedMessage> messages_;
  std::vector<int> answers_;
  std::vector<std::function<void()>> steps_;
  size_t next_ = 0;
  bool scheduled_ = false;
  bool stopped_ = false;
  bool running_ = false;
  QWidget* typingIn_ = nullptr;  // the field the last keystrokes went to
};

}  // namespace win
