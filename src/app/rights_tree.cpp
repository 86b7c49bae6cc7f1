#include "app/rights_tree.h"

#include <QFont>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "app/module_menu.h"
#include "app/rights.h"
#include "lib/globals.h"
#include "lib/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/driver.h"
#include "win/message_box.h"

namespace app {

namespace {

bool holds(const std::vector<bool>& granted, bool supervisor, int id) {
  if (id < kFirstRight || id > kLastRight) return true;
  return supervisor || granted[size_t(id - kFirstRight)];
}

std::string entryText(const MenuEntry& e, const std::vector<bool>& granted, bool supervisor) {
  std::string caption = e.caption;
  caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
  while (!caption.empty() && caption.back() == ' ') caption.pop_back();
  std::string id = e.id ? " (" + std::to_string(e.id) + ")" : "";
  return std::string(holds(granted, supervisor, e.id) ? "[X] " : "[  ] ") + caption + id;
}

std::string bare(std::string caption) {
  caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
  return caption;
}

void addLines(const std::vector<MenuEntry>& entries, const std::vector<bool>& granted, bool supervisor, int depth,
              std::vector<std::string>& out) {
  for (const MenuEntry& e : entries) {
    if (e.caption.empty()) continue;
    std::string indent(size_t(depth) * 4, ' ');
    if (e.isMenu()) {
      out.push_back(indent + bare(e.caption));
      addLines(e.submenu, granted, supervisor, depth + 1, out);
    } else if (e.id) {
      out.push_back(indent + entryText(e, granted, supervisor));
    }
  }
}

void addNodes(win::TREEVIEW& tree, win::TreeNode parent, const std::vector<MenuEntry>& entries,
              const std::vector<bool>& granted, bool supervisor) {
  for (const MenuEntry& e : entries) {
    if (e.caption.empty()) continue;
    if (e.isMenu()) {
      win::TreeNode node = tree.ADDLASTCHILD(parent, bare(e.caption));
      addNodes(tree, node, e.submenu, granted, supervisor);
    } else if (e.id) {
      tree.ADDLASTCHILD(parent, entryText(e, granted, supervisor), std::to_string(e.id));
    }
  }
}

// Prints the lines on the printer the user picks (scripts print to a PDF in TEMP).
void print(const std::string& title, const std::vector<std::string>& lines) {
  QPrinter printer(QPrinter::HighResolution);
  if (win::Driver::installed()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(lib::G().PATH + "TEMP/ARBOL_DERECHOS.PDF"));
  } else {
    QPrintDialog dialog(&printer);
    if (dialog.exec() != QDialog::Accepted) return;
  }
  QPainter painter;
  if (!painter.begin(&printer)) {
    win::MESSAGE_BOX(nullptr, "No se pudo imprimir el Arbol de Derechos", "Error", lib::MB_OK | lib::MB_ICONERROR);
    return;
  }
  painter.setFont(QFont("Liberation Sans", 10));
  QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  int lineHeight = painter.fontMetrics().lineSpacing();
  int y = lineHeight;
  auto line = [&](const std::string& text, bool bold) {
    if (y + lineHeight > page.height()) {
      printer.newPage();
      y = lineHeight;
    }
    QFont f = painter.font();
    f.setBold(bold);
    painter.setFont(f);
    painter.drawText(0, y, QString::fromStdString(text));
    y += lineHeight;
  };
  line(title, true);
  y += lineHeight / 2;
  for (const std::string& l : lines) line(l, l.find('[') == std::string::npos);
  painter.end();
}

}  // namespace

std::vector<std::string> rightsTreeLines(const std::vector<bool>& granted, bool supervisor) {
  std::vector<std::string> out;
  addLines(moduleMenu(), granted, supervisor, 0, out);
  return out;
}

void showRightsTree(win::WDIAG* owner, const std::string& userName, const std::vector<bool>& granted, bool supervisor) {
  const std::string title = "USUARIO: " + userName;
  auto init = [&](win::ModalDialog& d) {
    d.SetDlgItemText(501, title);
    win::TREEVIEW tree(&d, 800);
    addNodes(tree, tree.GETROOT(), moduleMenu(), granted, supervisor);
    for (win::TreeNode top : tree.Children(tree.GETROOT())) tree.EXPAND(top);
  };
  auto printButton = [&](win::ModalDialog&, int id, int) {
    if (id != 301) return false;
    print(title, rightsTreeLines(granted, supervisor));
    return true;
  };
  win::DIALOG_BOX("ARBOL_DERECHOS", owner, {init, {}, printButton, {}, 1});
}

}  // namespace app
