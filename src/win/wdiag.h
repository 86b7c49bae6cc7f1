// The program's dialog base. Every screen derives from WDIAG: a modeless child window of
// the main window's multiple-document area, built from the dialog template named by the
// screen, with its controls registered by id and their commands routed to callbacks.
//
// Lifecycle: Init builds the window (Executing_Init set meanwhile), CREATE shows it and
// posts the first activation, so that SHOW_MENU runs once the screen exists; while it is
// the active child the screen owns the main window's "Editar" menu. ENDDIALOG (every
// Terminar) closes it with Cancel semantics; the close then runs, in order: HIDE_MENU
// (unless the main window is rebuilding its menu), release of the controls, activation of
// the next child in z-order (whose SHOW_MENU runs), and last OnNCDESTROY, which screens use
// for CerrarBases. Screens handed over with adoptScreen are deleted by the layer afterwards.
//
// Commands: while Executing_Init, Executing_CloseIt or Executing_Eval is set they are
// swallowed; a registered control runs its callback unless that callback is still running
// (a double click never re-enters an operation); otherwise id 1 closes the screen and ids 2
// and 3 close it unless lNoCancel.
#pragma once

#include <any>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "win/dialog_template.h"

class QWidget;
class QMdiSubWindow;

namespace win {

class DialogWindow;
class WCONTROL;
class WDIAG;

using CommandCallback = std::function<int(WDIAG& dialog, WCONTROL& control, int notification)>;
using CheckCallback = std::function<bool(WDIAG& dialog, WCONTROL& control)>;

class WDIAG {
 public:
  WDIAG();
  virtual ~WDIAG();
  WDIAG(const WDIAG&) = delete;
  WDIAG& operator=(const WDIAG&) = delete;

  // Logs the opening, loads the template `dialogName` and creates the window. False (and
  // no window) when the template is missing or the window cannot be created.
  virtual bool Init(WDIAG* parent, const std::string& dialogName, bool resizable = false, bool hidden = false);
  // Registers a control and its callbacks (command, validation, enabling).
  void ADD(WCONTROL* control, CommandCallback onCommand = {}, CheckCallback valid = {}, CheckCallback when = {});
  // The same for a control the screen hands over: it lives as long as the screen.
  template <typename T>
  T* ADD(std::unique_ptr<T> control, CommandCallback onCommand = {}, CheckCallback valid = {},
         CheckCallback when = {}) {
    T* raw = control.get();
    owned_.push_back(std::move(control));
    ADD(static_cast<WCONTROL*>(raw), std::move(onCommand), std::move(valid), std::move(when));
    return raw;
  }
  // A push button of the template that runs `pressed` when chosen.
  void ADD_BUTTON(int id, std::function<void()> pressed);
  void CREATE(const std::string& dialogName = "");
  void ENDDIALOG();

  virtual void SHOW_MENU();
  virtual void HIDE_MENU() {}
  bool ISACTIVE() const { return active_; }

  // Overridable handlers, doing nothing by default.
  virtual int OnCOMMAND(int id, int notification);
  // The callback registered for control `id`, run unless it is running already; false when
  // the control has none (what the command does is then the dialog's to decide).
  bool RUN_CALLBACK(int id, int notification, int& result);
  virtual void OnTIMER(int /*id*/) {}
  virtual void OnSIZE(int width, int height);
  virtual void OnNCDESTROY() {}
  virtual void OnUSERKEY(int /*controlId*/, int /*key*/) {}

  // Timers of this screen on the layer's clock (OnTIMER receives them).
  void SetTimer(int id, int periodMs);
  void KillTimer(int id);

  // Controls by id, for code that needs no control object.
  bool HasControl(int id) const;
  std::string GetDlgItemText(int id) const;
  void SetDlgItemText(int id, const std::string& text);
  bool IsDlgButtonChecked(int id) const;
  void CheckDlgButton(int id, bool checked);
  void EnableItem(int id, bool enabled);
  void ShowItem(int id, bool visible);
  void SetFocusTo(int id);
  int FocusedControl() const;  // id of the control with the focus, 0 when none of ours
  // Enables or disables the whole screen (a list screen while its editor is open).
  void EnableWindow(bool enabled);
  void BringToTop();
  // Shrinks the screen to its icon (or restores it).
  void Minimize(bool minimized = true);
  void SetCaption(const std::string& caption);
  std::string Caption() const;

  // An editor over `list`: the list is disabled now and enabled and raised when this
  // screen closes.
  void EDITOR_OF(WDIAG* list);

  // Layout anchors: FIX_OBJ remembers the control's distances to the client edges now;
  // ONSIZE (run on every resize) moves it by its mode: 1 stretches keeping all four
  // margins; 2 keeps size, left and bottom margins; 3 size, right and bottom; 4 size and
  // right margin; 5 top, left and right margins and height (plus a scroll bar's width);
  // 6 left, right and bottom margins and height; 10 takes the reference window's size.
  void FIX_OBJ(int id, int mode, WDIAG* reference = nullptr);
  void ONSIZE();

  // Tab pages drawn by the dialog: the window's template is the main one; each page
  // template's controls are merged in, shown only while their page is active.
  void MAINTABPAGE(const std::string& mainTemplate, int tabId, const std::string& fontName = "", int fontSize = 8,
                   int tabWidth = 100, int bold = 0);
  int ADDTABPAGE(const std::string& pageTemplate, const std::string& pageName, uint32_t color = 0);
  void ACTIVATEPAGE(int page);
  int GETACTIVEPAGE() const { return activePage_; }
  // The page templates merged in, in page order (a missing one as nullptr).
  std::vector<const DialogTemplate*> pageTemplates() const;
  void SETPAGECOLOR(int page, uint32_t color);
  std::function<void(int newPage, int oldPage)> onTabChange;

  // Per-control colours (0xRRGGBB; nullopt = the system colour) and the screen's font cache.
  void ADD_COLOR(int id, std::optional<uint32_t> text, std::optional<uint32_t> background);
  void DEL_COLOR(int id);
  void CHANGE_FONT(int id, const std::string& name, int size, bool bold = false, bool italic = false);
  size_t fontCacheSize() const { return fonts_.size(); }
  // Writes the business unit's description into control `id`.
  void SHOW_COMPANY(int id, const std::string& business);
  static int WAIT_CURSOR();
  static void SET_CURSOR(int previous);

  // State the program's screens read.
  bool lNoCancel = false;
  WDIAG* oParent = nullptr;
  std::string cDlgName, cIniEntry;
  bool lDestroyed = false;
  int Executing_Init = 0, Executing_CloseIt = 0, Executing_Eval = 0;
  std::vector<int> xItems;  // 1 while that registered control's callback runs
  std::array<std::any, 18> TAB_VARS;
  std::string NEGOCIO;

  // For the layer and the driver.
  DialogWindow* window() const { return window_; }
  QWidget* frame() const;  // the window as placed (the MDI sub-window, or the dialog)
  const DialogTemplate* dialogTemplate() const { return template_; }
  WCONTROL* registered(int id) const;
  bool modal() const { return modal_; }
  void activated(int argument);  // the private activation message (2825)
  void destroyWindow();          // the close sequence

 protected:
  // For modal dialogs run by DIALOG_BOX, and for windows of their own outside the
  // multiple-document area (the progress window).
  bool createModal(WDIAG* parent, const std::string& dialogName);
  bool createTopLevel(WDIAG* parent, const std::string& dialogName);
  // A strip inside another widget (the main window's toolbar): not a screen, never closed
  // with the screens, not listed among the open dialogs.
  bool createEmbedded(QWidget* host, const std::string& dialogName);

 private:
  friend class MainFrame;
  friend class WCONTROL;
  enum class Placement { Mdi, Modal, TopLevel, Embedded };
  bool build(WDIAG* parent, const std::string& dialogName, bool resizable, Placement placement,
             QWidget* host = nullptr);
  void routeCommand(int id, int notification);

  struct Registration {
    WCONTROL* control;
    CommandCallback onCommand;
    CheckCallback valid, when;
  };
  const DialogTemplate* template_ = nullptr;
  DialogWindow* window_ = nullptr;
  QMdiSubWindow* sub_ = nullptr;
  std::vector<Registration> items_;
  std::vector<std::unique_ptr<WCONTROL>> owned_;
  bool active_ = true;  // unset slot 17 reads as active
  bool modal_ = false;
  bool embedded_ = false;
  WDIAG* editorOf_ = nullptr;
  std::vector<int> timers_;

  struct Anchor {
    int id, mode;
    WDIAG* reference;
    int left, top, right, bottom;
  };
  std::vector<Anchor> anchors_;
  struct Page {
    std::string name;
    uint32_t color;
    std::vector<std::pair<int, bool>> controls;      // id, initially visible
    std::vector<std::pair<QWidget*, bool>> unnamed;  // labels and frames without an id
    const DialogTemplate* source = nullptr;
  };
  std::vector<Page> pages_;
  int activePage_ = 0;
  int tabId_ = 0;
  QWidget* tabBar_ = nullptr;
  std::map<std::string, std::shared_ptr<void>> fonts_;
};

// Hands a screen with a window to the layer, which deletes it once its window is gone
// (screens::OPEN does it for every screen of the program).
void adoptScreen(WDIAG* screen);

// Every dialog with a window, in creation order.
const std::vector<WDIAG*>& openDialogs();

}  // namespace win
