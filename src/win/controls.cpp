#include "win/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "win/dialog_window.h"
#include "win/entry.h"
#include "win/message_box.h"
#include "win/wdiag.h"

namespace win {

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}
std::string s(const QString& q) {
  return q.toStdString();
}
std::string rtrim(std::string t) {
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return t;
}
constexpr int kCargo = Qt::UserRole;
constexpr int kValue = Qt::UserRole + 1;
constexpr int kRecno = Qt::UserRole + 2;

}  // namespace

WCONTROL::WCONTROL(WDIAG* dialog, int id) : WCONTROL(dialog, id, true) {}

WCONTROL::WCONTROL(WDIAG* dialog, int id, bool reportMissing) : dialog_(dialog), id_(id) {
  if (dialog && dialog->window()) widget_ = dialog->window()->control(id);
  if (!widget_ && reportMissing)
    MESSAGE_BOX(dialog, "Child window does not exist: Id" + std::to_string(id), "Error", 16);
}

template <typename T>
T* WCONTROL::as() const {
  return qobject_cast<T*>(widget_);
}

void WCONTROL::Enable(bool enabled) {
  if (widget_) widget_->setEnabled(enabled);
}
void WCONTROL::Show(bool visible) {
  if (widget_) widget_->setVisible(visible);
}
void WCONTROL::SetFocus() {
  if (widget_) widget_->setFocus();
}
bool WCONTROL::Enabled() const {
  return widget_ && widget_->isEnabled();
}

void WPUSHBUTTON::SetText(const std::string& text) {
  if (auto* b = as<QPushButton>()) b->setText(q(text));
}

std::string WEDIT::TEXT() const {
  if (auto* e = as<QLineEdit>()) return s(e->text());
  if (auto* e = as<QPlainTextEdit>()) return s(e->toPlainText());
  return {};
}

void WEDIT::TEXT(const std::string& text) {
  if (auto* e = as<QLineEdit>()) {
    e->setText(q(text));
    e->setModified(false);
  } else if (auto* p = as<QPlainTextEdit>()) {
    p->setPlainText(q(text));
    p->document()->setModified(false);
  }
}

int WEDIT::Len() const {
  return int(QString::fromStdString(TEXT()).size());
}

bool WEDIT::Modified() const {
  if (auto* e = as<QLineEdit>()) return e->isModified();
  if (auto* p = as<QPlainTextEdit>()) return p->document()->isModified();
  return false;
}

void WEDIT::SetLimit(int characters) {
  if (auto* e = as<QLineEdit>()) e->setMaxLength(characters);
}

void WEDIT::ReadOnly(bool readOnly) {
  if (auto* e = as<QLineEdit>()) e->setReadOnly(readOnly);
  if (auto* p = as<QPlainTextEdit>()) p->setReadOnly(readOnly);
}

void WEDIT::InsertAtCursor(const std::string& text) {
  if (auto* e = as<QLineEdit>()) e->insert(q(text));
  if (auto* p = as<QPlainTextEdit>()) p->insertPlainText(q(text));
}

void CCOMBOBOX::Add(const std::string& text, int position, const std::string& cargo) {
  auto* c = as<QComboBox>();
  if (!c) return;
  if (position <= 0 || position > c->count())
    c->addItem(q(rtrim(text)), q(cargo));
  else
    c->insertItem(position - 1, q(rtrim(text)), q(cargo));
  if (c->count() == 1 && !c->isEditable()) c->setCurrentIndex(-1);
}

std::string CCOMBOBOX::CurCargo() const {
  auto* c = as<QComboBox>();
  return c && c->currentIndex() >= 0 ? s(c->currentData().toString()) : std::string();
}

bool CCOMBOBOX::SeekCargo(const std::string& cargo) {
  auto* c = as<QComboBox>();
  if (!c) return false;
  int i = c->findData(q(cargo));
  c->setCurrentIndex(i);
  return i >= 0;
}

int CCOMBOBOX::CurItem() const {
  auto* c = as<QComboBox>();
  return c ? c->currentIndex() + 1 : 0;
}

void CCOMBOBOX::SetCurItem(int position) {
  if (auto* c = as<QComboBox>()) c->setCurrentIndex(position - 1);
}

std::string CCOMBOBOX::CurText() const {
  auto* c = as<QComboBox>();
  return c && c->currentIndex() >= 0 ? s(c->currentText()) : std::string();
}

void CCOMBOBOX::Clear() {
  if (auto* c = as<QComboBox>()) c->clear();
}

void CCOMBOBOX::Delete(int position) {
  if (auto* c = as<QComboBox>()) c->removeItem(position - 1);
}

int CCOMBOBOX::Count() const {
  auto* c = as<QComboBox>();
  return c ? c->count() : 0;
}

std::vector<std::string> CCOMBOBOX::GET_CARGOS() const {
  std::vector<std::string> out;
  if (auto* c = as<QComboBox>())
    for (int i = 0; i < c->count(); ++i) out.push_back(s(c->itemData(i).toString()));
  return out;
}

bool WCHECKBOX::Checked() const {
  auto* b = as<QAbstractButton>();
  return b && b->isChecked();
}

void WCHECKBOX::SetCheck(bool checked) {
  setButtonChecked(as<QAbstractButton>(), checked);
}

void CLISTBOX::Add(const std::string& text, const std::string& cargo) {
  auto* l = as<QListWidget>();
  if (!l) return;
  auto* item = new QListWidgetItem(q(rtrim(text)), l);
  item->setData(kCargo, q(cargo));
}

void CLISTBOX::Clear() {
  if (auto* l = as<QListWidget>()) l->clear();
}

int CLISTBOX::Count() const {
  auto* l = as<QListWidget>();
  return l ? l->count() : 0;
}

int CLISTBOX::CurItem() const {
  auto* l = as<QListWidget>();
  return l ? l->currentRow() + 1 : 0;
}

void CLISTBOX::SetCurItem(int position) {
  if (auto* l = as<QListWidget>()) l->setCurrentRow(position - 1);
}

std::string CLISTBOX::CurCargo() const {
  return ItemCargo(CurItem());
}

std::string CLISTBOX::ItemText(int position) const {
  auto* l = as<QListWidget>();
  return l && position >= 1 && position <= l->count() ? s(l->item(position - 1)->text()) : std::string();
}

std::string CLISTBOX::ItemCargo(int position) const {
  auto* l = as<QListWidget>();
  return l && position >= 1 && position <= l->count() ? s(l->item(position - 1)->data(kCargo).toString())
                                                      : std::string();
}

std::vector<int> CLISTBOX::Selected() const {
  std::vector<int> out;
  if (auto* l = as<QListWidget>())
    for (int i = 0; i < l->count(); ++i)
      if (l->item(i)->isSelected()) out.push_back(i + 1);
  return out;
}

void CLISTBOX::SetSel(int position, bool selected) {
  auto* l = as<QListWidget>();
  if (l && position >= 1 && position <= l->count()) l->item(position - 1)->setSelected(selected);
}

void CLISTBOX::Delete(int position) {
  auto* l = as<QListWidget>();
  if (l && position >= 1 && position <= l->count()) delete l->takeItem(position - 1);
}

TREEVIEW::TREEVIEW(WDIAG* dialog, int id) : WCONTROL(dialog, id) {}

TreeNode TREEVIEW::GETROOT() const {
  auto* t = as<QTreeWidget>();
  return t ? t->invisibleRootItem() : nullptr;
}

TreeNode TREEVIEW::ADDLASTCHILD(TreeNode parent, const std::string& text, const std::string& value,
                                const std::string& cargo, uint32_t recno, const std::string& picture) {
  auto* t = as<QTreeWidget>();
  if (!t) return nullptr;
  if (!parent) parent = t->invisibleRootItem();
  std::string shown = text;
  if (!cargo.empty()) {
    std::string c = cargo;
    // Numbers line up on the right; a code shows as it is written.
    if (!picture.empty() && picture[0] == '9' && c.size() < picture.size()) c.insert(0, picture.size() - c.size(), ' ');
    shown += "  (" + c + ")";
  }
  auto* item = new QTreeWidgetItem(parent);
  item->setText(0, q(shown));
  item->setData(0, kCargo, q(text));
  item->setData(0, kValue, q(value));
  item->setData(0, kRecno, recno);
  return item;
}

void TREEVIEW::ZAP_TREE() {
  if (auto* t = as<QTreeWidget>()) t->clear();
}

void TREEVIEW::EXPAND(TreeNode node, bool expand) {
  if (node) node->setExpanded(expand);
}

void TREEVIEW::REFRESH() {
  if (auto* t = as<QTreeWidget>()) t->viewport()->update();
}

void TREEVIEW::SORT(bool ascending) {
  if (auto* t = as<QTreeWidget>()) t->sortItems(0, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void TREEVIEW::DEFINE_MENU(const std::vector<std::pair<int, std::string>>& entries) {
  auto* t = as<QTreeWidget>();
  if (!t) return;
  t->setContextMenuPolicy(Qt::CustomContextMenu);
  // Kept on the widget too, so that the test driver can choose an entry without the menu.
  QVariantList kept;
  for (const auto& [id, caption] : entries) kept.push_back(QVariantList{id, QString::fromStdString(caption)});
  t->setProperty("treeMenu", kept);
  WDIAG* d = dialog();
  QObject::disconnect(t, &QTreeWidget::customContextMenuRequested, nullptr, nullptr);
  QObject::connect(t, &QTreeWidget::customContextMenuRequested, t, [t, d, entries](const QPoint& at) {
    if (QTreeWidgetItem* item = t->itemAt(at)) t->setCurrentItem(item);
    QMenu menu(t);
    for (const auto& [id, caption] : entries) {
      if (caption.empty() || caption == "-") {
        menu.addSeparator();
        continue;
      }
      QAction* a = menu.addAction(QString::fromStdString(caption));
      int cid = id;
      QObject::connect(a, &QAction::triggered, t, [d, cid] { fromEventLoop([d, cid] { d->OnCOMMAND(cid, 0); }); });
    }
    menu.exec(t->viewport()->mapToGlobal(at));
  });
}

void TREEVIEW::ON_LEFT_CLICK(std::function<void(TreeNode)> callback) {
  auto* t = as<QTreeWidget>();
  if (!t) return;
  QObject::connect(t, &QTreeWidget::itemClicked, t,
                   [callback](QTreeWidgetItem* item, int) { fromEventLoop([&] { callback(item); }); });
}

TreeNode TREEVIEW::Selected() const {
  auto* t = as<QTreeWidget>();
  return t ? t->currentItem() : nullptr;
}

void TREEVIEW::Select(TreeNode node) {
  if (auto* t = as<QTreeWidget>()) t->setCurrentItem(node);
}

std::string TREEVIEW::Text(TreeNode node) const {
  return node ? s(node->data(0, kCargo).toString()) : "";
}
std::string TREEVIEW::Value(TreeNode node) const {
  return node ? s(node->data(0, kValue).toString()) : "";
}
uint32_t TREEVIEW::RecNo(TreeNode node) const {
  return node ? node->data(0, kRecno).toUInt() : 0;
}

std::vector<TreeNode> TREEVIEW::Children(TreeNode node) const {
  std::vector<TreeNode> out;
  if (!node) node = GETROOT();
  if (node)
    for (int i = 0; i < node->childCount(); ++i) out.push_back(node->child(i));
  return out;
}

TreeNode TREEVIEW::Find(const std::string& text) const {
  std::function<TreeNode(TreeNode)> walk = [&](TreeNode n) -> TreeNode {
    for (int i = 0; n && i < n->childCount(); ++i) {
      TreeNode c = n->child(i);
      if (s(c->data(0, kCargo).toString()) == text || s(c->text(0)) == text) return c;
      if (TreeNode f = walk(c)) return f;
    }
    return nullptr;
  };
  return walk(GETROOT());
}

void TREEVIEW::MARK(TreeNode node, bool marked) {
  if (!node) return;
  QFont f = node->font(0);
  f.setBold(marked);
  node->setFont(0, f);
}

bool TREEVIEW::MARKED(TreeNode node) const {
  return node && node->font(0).bold();
}

void TREEVIEW::ClearSelection() {
  if (auto* t = as<QTreeWidget>()) {
    t->clearSelection();
    t->setCurrentItem(nullptr);
  }
}

}  // namespace win
