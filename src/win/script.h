// Scenario scripts: steps a user would take, one per line, run through the driver.
//
//   login USER PASSWORD [BUSINESS]   menu ID            window NAME       set ID TEXT
//   type ID TEXT                     select ID VALUE    select-text ID TEXT
//   check ID on|off                  press ID           tree ID TEXT
//   answer ok|cancel|yes|no|retry|ignore|abort          expect-message TEXT [TITLE]
//   expect-no-message                expect-text ID TEXT                expect-window NAME
//   expect-error TEXT                the error window, its message containing TEXT
//   expect-menu ID enabled|greyed|missing              advance MILLISECONDS
//   screenshot FILE                  close              quit
//   key ID backspace|delete|enter|escape|tab|f2|f3|f12|pageup|pagedown     minimize on|off   right-click ID
//   grid ID row N                    grid ID key TEXT   grid-key ID TEXT  grid-header ID COLUMN
//   grid-menu ID CAPTION             expect-grid ID ROW COLUMN TEXT       expect-grid-count ID N
//   expect-grid-color ID ROW RRGGBB|none   the background of a grid row
//   right-click-menu ID              request CODE [MARKER]                expect-exit
//   expect-checked ID on|off         expect-items ID "TEXT|TEXT|..."   tree-menu ID CAPTION
//   write-file NAME TEXT             remove-file NAME   (in the program folder, as another
//                                                        workstation would)
//   tab CAPTION|N                    expect-enabled ID on|off
//   on-progress N STEP...            the STEP is taken during the next run, once a progress
//                                    window has shown N texts (press 2 there cancels the run);
//                                    several wait in turn, each N counted from the one before
//
// "advance" moves the virtual clock; a script run on the real clock (configura --script
// --real-time) waits that long instead, the program's timers running meanwhile.
// expect-checked takes menu:ID for the check mark of a menu entry. A menu entry is named by
// its id or, as @"CAPTION", by its caption.
// '#' starts a comment line; arguments with blanks go in double quotes (\" \n \r inside).
// Wherever an ID is expected, @"LABEL" names the control that follows the static text LABEL,
// or the button, check box or radio button with that caption (tab pages included); "tab"
// clicks the tab of that caption or number. "select" in a list of several choices adds the
// entry to those chosen. Grid rows are the logical rows
// of the grid's scope (1-based); a COLUMN is its heading or its position as shown. "grid ID
// key TEXT" positions as the quick search does, "grid-key" types into the grid as a user
// (the search window takes the keys once it opens). The first unmet expectation
// reports its line and what was found, and the script stops with status 1.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace win {

struct ScriptLine {
  int number = 0;
  std::vector<std::string> words;
};

// Splits a script into its lines of words; a malformed line throws std::runtime_error
// naming its number.
std::vector<ScriptLine> parseScript(const std::string& text);

struct ScriptHooks {
  // Run before the first line (the main window's initialisation, with its login dialog).
  std::function<void()> start;
  // The login step; returns false and a message when it cannot log in.
  std::function<bool(const std::string& user, const std::string& password, const std::string& business,
                     std::string* problem)>
      login;
  std::function<void()> quit;
  // Whether the program has ended (expect-exit).
  std::function<bool()> ended;
  // A right-click on the menu entry ID; a request sent to the main window.
  std::function<void(int id)> menuRightClick;
  std::function<void(int code, int marker)> request;
};

// Runs the script; prints every message box as it appears and the first failure to `out`.
// Returns the exit status: 0 when it ran through, 1 at the first unmet expectation.
int runScript(const std::vector<ScriptLine>& lines, std::ostream& out, const ScriptHooks& hooks = {});

}  // namespace win
