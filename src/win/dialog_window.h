// The Qt side of a dialog: a widget built from a template, its controls by id, and the
// commands they send. Only the window layer sees this header; screens work through WDIAG
// and the control classes.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "win/dialog_template.h"

class QAbstractButton;
class QFont;

namespace win {

// Win32 notification codes the controls send with their commands.
enum Notification : int {
  BN_CLICKED = 0,
  BN_DOUBLECLICKED = 5,
  EN_SETFOCUS = 0x100,
  EN_KILLFOCUS = 0x200,
  EN_CHANGE = 0x300,
  CBN_SELCHANGE = 1,
  CBN_DBLCLK = 2,
  LBN_SELCHANGE = 1,
  LBN_DBLCLK = 2,
};

class DialogWindow : public QWidget {
 public:
  DialogWindow(const DialogTemplate& t, QWidget* parent = nullptr);

  const DialogTemplate& dialogTemplate() const { return *template_; }
  QWidget* control(int id) const;
  const std::map<int, QWidget*>& controls() const { return controls_; }
  // Adds the controls of another template (a tab page) to this window: the ids it added,
  // and in `unnamed` the controls without an id of their own (labels, group boxes).
  std::vector<int> merge(const DialogTemplate& page, std::vector<QWidget*>* unnamed = nullptr);
  QPoint toPixels(int x, int y) const;
  QSize sizeInPixels(int cx, int cy) const;

  std::function<void(int id, int code)> onCommand;
  std::function<void()> onResize;
  std::function<void(int id, int key)> onKey;  // every key in an edit (application message 11023)

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build(const DialogTemplate& t, std::vector<int>* added, std::vector<QWidget*>* unnamed);
  QWidget* makeControl(const ControlTemplate& c);
  void send(int id, int code);
  int defaultButton() const;

  const DialogTemplate* template_;
  std::map<int, QWidget*> controls_;
  std::vector<QWidget*> unnamed_;
  int radioGroups_ = 0;  // groups of automatic radio buttons made so far
  int baseX_ = 6, baseY_ = 13;  // dialog base units of the font, in pixels
};

// Checks or unchecks a button; an automatic radio button can be unchecked too, leaving its
// group with none checked (as BM_SETCHECK does).
void setButtonChecked(QAbstractButton* button, bool checked);

// The font a template asks for, or the configured global dialog font.
QFont dialogFont(const FontTemplate& f);
// A caption as shown: through the translation list, '&' kept for mnemonics.
std::string translateCaption(const std::string& text);

}  // namespace win
