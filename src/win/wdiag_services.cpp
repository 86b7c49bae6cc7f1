// The dialog base's services: layout anchors, tab pages, colours, the font cache, the
// company caption and the wait cursor.
#include <QApplication>
#include <QFont>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <cmath>

#include "lib/use.h"
#include "win/dialog_window.h"
#include "win/entry.h"
#include "win/resources.h"
#include "win/wdiag.h"

namespace win {

void WDIAG::FIX_OBJ(int id, int mode, WDIAG* reference) {
  QWidget* w = window_ ? window_->control(id) : nullptr;
  if (!w) return;
  QRect g = w->geometry();
  anchors_.push_back(
      {id, mode, reference, g.x(), g.y(), window_->width() - g.right() - 1, window_->height() - g.bottom() - 1});
}

void WDIAG::ONSIZE() {
  if (!window_) return;
  const int W = window_->width(), H = window_->height();
  for (const Anchor& a : anchors_) {
    QWidget* w = window_->control(a.id);
    if (!w) continue;
    QRect g = w->geometry();
    switch (a.mode) {
      case 1:
        g = QRect(a.left, a.top, W - a.left - a.right, H - a.top - a.bottom);
        break;
      case 2:
        g.moveTo(a.left, H - a.bottom - g.height());
        break;
      case 3:
        g.moveTo(W - a.right - g.width(), H - a.bottom - g.height());
        break;
      case 4:
        g.moveLeft(W - a.right - g.width());
        break;
      case 5: {
        int scroll = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        g = QRect(a.left, a.top, W - a.left - a.right + scroll, g.height());
        break;
      }
      case 6:
        g = QRect(a.left, H - a.bottom - g.height(), W - a.left - a.right, g.height());
        break;
      case 10:
        if (a.reference && a.reference->frame()) g.setSize(a.reference->frame()->size());
        break;
      default:
        break;
    }
    if (g.width() > 0 && g.height() > 0) w->setGeometry(g);
  }
}

void WDIAG::MAINTABPAGE(const std::string&, int tabId, const std::string& fontName, int fontSize, int tabWidth,
                        int bold) {
  if (!window_) return;
  tabId_ = tabId;
  pages_.clear();
  activePage_ = 0;
  auto* bar = new QTabBar(window_);
  bar->setObjectName("tabs");
  bar->setExpanding(false);
  bar->setStyleSheet(QString("QTabBar::tab { width: %1px; height: 20px; }").arg(tabWidth > 0 ? tabWidth : 100));
  if (!fontName.empty()) {
    QFont f(QString::fromStdString(fontName));
    f.setPointSize(fontSize > 0 ? fontSize : 8);
    f.setBold(bold != 0);
    bar->setFont(f);
  }
  QWidget* strip = window_->control(tabId);
  QRect r = strip ? strip->geometry() : QRect(0, 0, window_->width(), 20);
  bar->setGeometry(r.x(), r.y(), r.width(), 22);
  bar->show();
  bar->raise();
  QObject::connect(bar, &QTabBar::tabBarClicked, window_, [this](int index) {
    if (index >= 0) fromEventLoop([this, index] { ACTIVATEPAGE(index + 1); });
  });
  tabBar_ = bar;
}

int WDIAG::ADDTABPAGE(const std::string& pageTemplate, const std::string& pageName, uint32_t color) {
  if (!window_ || !tabBar_) return 0;
  const DialogTemplate* page = resources().dialog(pageTemplate);
  Page p{pageName, color, {}, {}, page};
  if (page) {
    std::vector<QWidget*> unnamed;
    for (int id : window_->merge(*page, &unnamed)) {
      QWidget* w = window_->control(id);
      p.controls.push_back({id, w->isVisibleTo(window_)});
      w->hide();
    }
    for (QWidget* w : unnamed) {
      p.unnamed.push_back({w, w->isVisibleTo(window_)});
      w->hide();
    }
  }
  pages_.push_back(std::move(p));
  static_cast<QTabBar*>(tabBar_)->addTab(QString::fromStdString(pageName));
  tabBar_->raise();
  if (pages_.size() == 1) ACTIVATEPAGE(1);
  return int(pages_.size());
}

std::vector<const DialogTemplate*> WDIAG::pageTemplates() const {
  std::vector<const DialogTemplate*> out;
  for (const Page& p : pages_) out.push_back(p.source);
  return out;
}

void WDIAG::ACTIVATEPAGE(int page) {
  if (page < 1 || page > int(pages_.size()) || !window_) return;
  int old = activePage_;
  if (old >= 1) {
    for (auto [id, visible] : pages_[size_t(old - 1)].controls)
      if (QWidget* w = window_->control(id)) w->hide();
    for (auto [w, visible] : pages_[size_t(old - 1)].unnamed) w->hide();
  }
  for (auto [id, visible] : pages_[size_t(page - 1)].controls)
    if (QWidget* w = window_->control(id)) w->setVisible(visible);
  for (auto [w, visible] : pages_[size_t(page - 1)].unnamed) w->setVisible(visible);
  activePage_ = page;
  static_cast<QTabBar*>(tabBar_)->setCurrentIndex(page - 1);
  if (uint32_t c = pages_[size_t(page - 1)].color) {
    QPalette pal = window_->palette();
    pal.setColor(QPalette::Window, QColor(QRgb(c)));
    window_->setAutoFillBackground(true);
    window_->setPalette(pal);
  }
  if (onTabChange && old != page) onTabChange(page, old);
}

void WDIAG::SETPAGECOLOR(int page, uint32_t color) {
  if (page < 1 || page > int(pages_.size())) return;
  pages_[size_t(page - 1)].color = color;
  if (page == activePage_) ACTIVATEPAGE(page);
}

void WDIAG::ADD_COLOR(int id, std::optional<uint32_t> text, std::optional<uint32_t> background) {
  QWidget* w = window_ ? window_->control(id) : nullptr;
  if (!w) return;
  QPalette pal = w->palette();
  if (text) {
    pal.setColor(QPalette::WindowText, QColor(QRgb(*text)));
    pal.setColor(QPalette::Text, QColor(QRgb(*text)));
  }
  if (background) {
    pal.setColor(QPalette::Window, QColor(QRgb(*background)));
    pal.setColor(QPalette::Base, QColor(QRgb(*background)));
    w->setAutoFillBackground(true);
  }
  w->setPalette(pal);
}

void WDIAG::DEL_COLOR(int id) {
  if (QWidget* w = window_ ? window_->control(id) : nullptr) {
    w->setPalette(QPalette());
    w->setAutoFillBackground(false);
  }
}

void WDIAG::CHANGE_FONT(int id, const std::string& rawName, int size, bool bold, bool italic) {
  QWidget* w = window_ ? window_->control(id) : nullptr;
  if (!w) return;
  std::string name = rawName;
  size_t b = name.find_first_not_of(' '), e = name.find_last_not_of(' ');
  name = b == std::string::npos ? std::string() : name.substr(b, e - b + 1);
  for (auto& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
  name = name.substr(0, 40);
  if (name == "TIMES ROMAN") name = "TIMES NEW ROMAN";
  std::string key = name + "|" + std::to_string(size) + "|" + (bold ? "1" : "0") + (italic ? "1" : "0");
  auto it = fonts_.find(key);
  if (it == fonts_.end()) {
    FontTemplate t;
    t.face = name;
    t.pointSize = size;
    auto font = std::make_shared<QFont>(dialogFont(t));
    // The height Windows gives a font of that size on this screen.
    double dpi = QApplication::primaryScreen() ? QApplication::primaryScreen()->logicalDotsPerInchY() : 96;
    font->setPixelSize(std::max(1, int(std::lround(size * dpi / 72.0))));
    font->setWeight(bold ? QFont::Bold : QFont::Normal);
    font->setItalic(italic);
    it = fonts_.emplace(key, font).first;
  }
  w->setFont(*static_cast<QFont*>(it->second.get()));
}

void WDIAG::SHOW_COMPANY(int id, const std::string& business) {
  auto t = lib::USE(nullptr, "NEGOCIOS", "NEGOCIOS");
  SetDlgItemText(id, t->Seek(business) ? t->S("DESCRIP") : std::string());
  lib::KILLTABLA(t);
}

int WDIAG::WAIT_CURSOR() {
  int previous = QApplication::overrideCursor() ? 1 : 0;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  return previous;
}

void WDIAG::SET_CURSOR(int) {
  if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

}  // namespace win
