// Control objects bound by id to the controls of a screen's template. Binding an id the
// template lacks shows "Child window does not exist: Id" + the id and leaves an inert
// control whose operations do nothing (never a crash).
#pragma once

#include <functional>
#include <string>
#include <vector>

class QWidget;
class QTreeWidgetItem;

namespace win {

class WDIAG;

class WCONTROL {
 public:
  WCONTROL(WDIAG* dialog, int id);
  virtual ~WCONTROL() = default;
  int id() const { return id_; }
  WDIAG* dialog() const { return dialog_; }
  bool bound() const { return widget_ != nullptr; }
  QWidget* widget() const { return widget_; }
  void Enable(bool enabled);
  void Show(bool visible);
  void SetFocus();
  bool Enabled() const;

 protected:
  // For controls that report a missing id in words of their own (the browse grid).
  WCONTROL(WDIAG* dialog, int id, bool reportMissing);
  template <typename T>
  T* as() const;

 private:
  WDIAG* dialog_;
  int id_;
  QWidget* widget_ = nullptr;
};

class WPUSHBUTTON : public WCONTROL {
 public:
  using WCONTROL::WCONTROL;
  void SetText(const std::string& text);
};

class WEDIT : public WCONTROL {
 public:
  using WCONTROL::WCONTROL;
  std::string TEXT() const;  // UTF-8
  void TEXT(const std::string& text);
  int Len() const;        // characters
  bool Modified() const;  // changed by the user since the text was last set
  void SetLimit(int characters);
  void ReadOnly(bool readOnly);
  // Types `text` where the cursor is, over the selected text, as the user would.
  void InsertAtCursor(const std::string& text);
};

class CCOMBOBOX : public WCONTROL {
 public:
  using WCONTROL::WCONTROL;
  // Appends (position 0) or inserts before the 1-based position; the text is right-trimmed.
  void Add(const std::string& text, int position = 0, const std::string& cargo = "");
  std::string CurCargo() const;              // "" when nothing is selected
  bool SeekCargo(const std::string& cargo);  // selects that entry; selects nothing when absent
  int CurItem() const;                       // 1-based, 0 when nothing is selected
  void SetCurItem(int position);
  std::string CurText() const;
  void Clear();
  void Delete(int position);
  int Count() const;
  std::vector<std::string> GET_CARGOS() const;
};

class WCHECKBOX : public WCONTROL {
 public:
  using WCONTROL::WCONTROL;
  bool Checked() const;
  void SetCheck(bool checked);
};

class WRADIOBUTTON : public WCHECKBOX {
 public:
  using WCHECKBOX::WCHECKBOX;
};

class CLISTBOX : public WCONTROL {
 public:
  using WCONTROL::WCONTROL;
  void Add(const std::string& text, const std::string& cargo = "");
  void Clear();
  int Count() const;
  int CurItem() const;  // 1-based, 0 when none
  void SetCurItem(int position);
  std::string CurCargo() const;
  std::string ItemText(int position) const;
  std::string ItemCargo(int position) const;
  // Multiple selection.
  std::vector<int> Selected() const;
  void SetSel(int position, bool selected);
  void Delete(int position);
};

// Nodes of a tree are handles owned by the tree.
using TreeNode = QTreeWidgetItem*;

class TREEVIEW : public WCONTROL {
 public:
  TREEVIEW(WDIAG* dialog, int id);
  TreeNode GETROOT() const;  // the invisible root; ADDLASTCHILD(GETROOT(), ...) makes top nodes
  // Adds a node; `cargo` is shown beside the text through `picture` (e.g. "999") when given.
  TreeNode ADDLASTCHILD(TreeNode parent, const std::string& text, const std::string& value = "",
                        const std::string& cargo = "", uint32_t recno = 0, const std::string& picture = "");
  void ZAP_TREE();
  void EXPAND(TreeNode node, bool expand = true);
  void REFRESH();
  void SORT(bool ascending = true);
  // A pop-up menu on right click: {id, caption}; choosing an entry sends its id as a command
  // of the screen.
  void DEFINE_MENU(const std::vector<std::pair<int, std::string>>& entries);
  void ON_LEFT_CLICK(std::function<void(TreeNode)> callback);
  TreeNode Selected() const;
  void Select(TreeNode node);
  std::string Text(TreeNode node) const;
  std::string Value(TreeNode node) const;
  uint32_t RecNo(TreeNode node) const;
  std::vector<TreeNode> Children(TreeNode node) const;
  TreeNode Find(const std::string& text) const;  // first node with that text, depth first
  // Search marks: a marked node is drawn in bold.
  void MARK(TreeNode node, bool marked);
  bool MARKED(TreeNode node) const;
  void ClearSelection();
};

}  // namespace win
