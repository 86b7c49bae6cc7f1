// The grid's column layouts and its dialogs: the column chooser, the display font and the
// date for "Buscar Fecha...".
#include <QCalendarWidget>
#include <QDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "lib/globals.h"
#include "lib/profile_file.h"
#include "lib/program_time.h"
#include "lib/text.h"
#include "lib/use.h"
#include "lib/work_areas.h"
#include "win/browse_internal.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/dialog_window.h"
#include "win/entry.h"
#include "win/message_box.h"
#include "xbase/date.h"

namespace win {

namespace {

using lib::rtrim;
using lib::upper;

// A SpalteX value: decimal digits only.
bool readLayoutNumber(const std::string& text, long long& value) {
  std::string t = rtrim(text);
  size_t b = t.find_first_not_of(' ');
  if (b == std::string::npos) return false;
  t = t.substr(b);
  if (t.find_first_not_of("0123456789") != std::string::npos || t.size() > 12) return false;
  value = std::stoll(t);
  return true;
}

std::string columnName(const WBLISTBOX& g, int defined) {
  std::string h = rtrim(g.wbCols[size_t(defined - 1)].wbHeading);
  return h.empty() ? "Columna " + std::to_string(defined) : h;
}

}  // namespace

// The saved layout: Spalten hides columns, SpalteXn orders and sizes the shown ones. A
// SpalteX entry naming no defined column (or one hidden, or one twice) makes the whole
// layout void: the grid then shows its columns as defined.
void WBLISTBOX::applyLayout() {
  const std::string section = layoutSection(*this);
  if (section.empty() || wbCols.empty()) return;
  lib::ProfileFile f(layoutFile());
  const int n = int(wbCols.size());
  const std::vector<int> base = widths_;
  std::string spalten = f.getString(section, "Spalten", "");
  std::vector<int> remaining;
  for (int i = 1; i <= n; ++i) {
    bool hidden = size_t(i - 1) < spalten.size() && spalten[size_t(i - 1)] == '0' && base[size_t(i - 1)] != 0;
    if (!hidden) remaining.push_back(i);
  }
  if (remaining.empty()) return;
  bool saved = false;
  for (const std::string& key : f.keys(section))
    if (upper(key).rfind("SPALTEX", 0) == 0) saved = true;
  std::vector<int> order = remaining;
  std::vector<int> width;
  for (int d : remaining) width.push_back(base[size_t(d - 1)]);
  if (saved) {
    order.clear();
    width.clear();
    std::set<int> seen;
    std::set<int> allowed(remaining.begin(), remaining.end());
    for (size_t k = 1; k <= remaining.size(); ++k) {
      long long v = 0;
      if (!readLayoutNumber(f.getString(section, "SpalteX" + std::to_string(k), ""), v)) return;
      int column = int(v & 0xFFFF);
      int w = int((v >> 16) & 0xFFFF);
      if (column < 1 || column > n || !allowed.count(column) || seen.count(column)) return;
      seen.insert(column);
      order.push_back(column);
      width.push_back(base[size_t(column - 1)] == 0 ? 0 : w);
    }
  }
  // Columns frozen at the left keep their place.
  std::vector<int> drawn, sizes;
  const size_t frozen = size_t(std::clamp(nFreeze, 0, int(remaining.size())));
  for (size_t k = 0; k < frozen; ++k) {
    int d = remaining[k];
    drawn.push_back(d);
    auto at = std::find(order.begin(), order.end(), d);
    sizes.push_back(at == order.end() ? base[size_t(d - 1)] : width[size_t(at - order.begin())]);
  }
  for (size_t k = 0; k < order.size(); ++k) {
    if (std::find(drawn.begin(), drawn.end(), order[k]) != drawn.end()) continue;
    drawn.push_back(order[k]);
    sizes.push_back(width[k]);
  }
  draw_ = drawn;
  widths_ = sizes;
}

void chooseColumns(WBLISTBOX& g) {
  if (g.wbCols.empty()) return;
  const std::string section = layoutSection(g);
  const int n = int(g.wbCols.size());
  struct Shown {
    int column, width;
  };
  std::vector<Shown> shown;
  for (int pos = 1; pos <= g.ColCount(); ++pos) shown.push_back({g.DefinedColumn(pos), g.ColumnWidth(pos)});
  std::unique_ptr<CLISTBOX> all, list;
  std::unique_ptr<WEDIT> width;
  bool filling = false;
  auto defaultWidth = [&](int column) {
    int w = g.wbCols[size_t(column - 1)].wbWidth;
    return w > 0 ? w : 80;
  };
  auto fillShown = [&](int select) {
    filling = true;
    list->Clear();
    for (const Shown& s : shown) list->Add(columnName(g, s.column), std::to_string(s.column));
    if (select >= 1 && select <= int(shown.size())) list->SetCurItem(select);
    width->TEXT(select >= 1 && select <= int(shown.size()) ? std::to_string(shown[size_t(select - 1)].width) : "");
    filling = false;
  };
  auto init = [&](ModalDialog& dlg) {
    all = std::make_unique<CLISTBOX>(&dlg, 701);
    list = std::make_unique<CLISTBOX>(&dlg, 702);
    width = std::make_unique<WEDIT>(&dlg, 501);
    for (int d = 1; d <= n; ++d) all->Add(columnName(g, d), std::to_string(d));
    all->SetCurItem(1);
    fillShown(1);
    lib::ProfileFile f(layoutFile());
    int x = f.getInt(section, "x", -1), y = f.getInt(section, "y", -1);
    if (x >= 0 && y >= 0 && dlg.frame()) dlg.frame()->move(x, y);
  };
  // The layout written back, and where the chooser was left.
  auto accept = [&](ModalDialog& dlg) {
    lib::ProfileFile f(layoutFile());
    std::string spalten(size_t(n), '0');
    for (const Shown& s : shown) spalten[size_t(s.column - 1)] = '1';
    f.writeString(section, "Spalten", spalten);
    for (size_t k = 0; k < shown.size(); ++k)
      f.writeString(section, "SpalteX" + std::to_string(k + 1),
                    std::to_string(int64_t(shown[k].column) + 65536LL * int64_t(shown[k].width)));
    for (int k = int(shown.size()) + 1; k <= n; ++k) f.deleteKey(section, "SpalteX" + std::to_string(k));
    if (QWidget* top = dlg.frame()) {
      f.writeString(section, "x", std::to_string(top->x()));
      f.writeString(section, "y", std::to_string(top->y()));
    }
    return true;
  };
  auto edit = [&](ModalDialog&, int id, int note) {
    const int at = list->CurItem();
    if (id == 702 && note == LBN_SELCHANGE && !filling) {
      width->TEXT(at >= 1 ? std::to_string(shown[size_t(at - 1)].width) : "");
      return true;
    }
    if (id == 501 && note == EN_CHANGE && !filling) {
      if (at >= 1) shown[size_t(at - 1)].width = std::clamp(std::atoi(width->TEXT().c_str()), 0, 2000);
      return true;
    }
    if (note != BN_CLICKED) return false;
    switch (id) {
      case 301: {  // show the column chosen among all
        int column = std::atoi(all->CurCargo().c_str());
        if (column < 1) return true;
        auto it = std::find_if(shown.begin(), shown.end(), [&](const Shown& s) { return s.column == column; });
        if (it == shown.end()) {
          shown.push_back({column, defaultWidth(column)});
          fillShown(int(shown.size()));
        } else {
          fillShown(int(it - shown.begin()) + 1);
        }
        return true;
      }
      case 302:  // hide the shown column chosen (one always stays)
        if (at >= 1 && shown.size() > 1) {
          shown.erase(shown.begin() + (at - 1));
          fillShown(std::min(at, int(shown.size())));
        }
        return true;
      case 303:
        if (at > 1) {
          std::swap(shown[size_t(at - 1)], shown[size_t(at - 2)]);
          fillShown(at - 1);
        }
        return true;
      case 304:
        if (at >= 1 && at < int(shown.size())) {
          std::swap(shown[size_t(at - 1)], shown[size_t(at)]);
          fillShown(at + 1);
        }
        return true;
      default:
        return false;
    }
  };
  int code = DIALOG_BOX("BROWSE_COLUMNAS", g.dialog(), {init, accept, edit});
  if (code == IDOK) {
    g.CONFIGURE();
    g.REFRESHALL();
  }
}

bool chooseBrowseFont(WBLISTBOX& g, BrowseFont& chosen) {
  std::vector<std::string> faces;
  if (lib::G().areas && lib::IS_FILE(nullptr, "FONTS")) {
    int selected = lib::SELECTED();
    auto t = lib::USE(nullptr, "FONTS", "FONTS");
    for (t->GoTop(); !t->Eof(); t->Skip(1))
      if (!t->S("T_FONT").empty()) faces.push_back(t->S("T_FONT"));
    lib::KILLTABLA(t);
    lib::SELECT(selected);
  }
  if (faces.empty()) faces = {"Arial", "Courier New", "MS Sans Serif", "Tahoma", "Times New Roman", "Verdana"};
  std::unique_ptr<CCOMBOBOX> face, size;
  std::unique_ptr<WCHECKBOX> bold, italic;
  BrowseFont f = chosen;
  if (f.face.empty()) f.face = faces.front();
  if (f.size <= 0) f.size = 8;
  auto sample = [&](ModalDialog& dlg) {
    QWidget* label = dlg.window() ? dlg.window()->control(503) : nullptr;
    if (!label) return;
    BrowseFont s{face->CurCargo(), std::atoi(size->CurCargo().c_str()), bold->Checked(), italic->Checked()};
    label->setFont(browseQFont(s, label->font()));
  };
  auto init = [&](ModalDialog& dlg) {
    face = std::make_unique<CCOMBOBOX>(&dlg, 601);
    size = std::make_unique<CCOMBOBOX>(&dlg, 602);
    bold = std::make_unique<WCHECKBOX>(&dlg, 1001);
    italic = std::make_unique<WCHECKBOX>(&dlg, 1002);
    for (const std::string& name : faces) face->Add(name, 0, name);
    if (!face->SeekCargo(f.face)) face->SetCurItem(1);
    for (int points : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 24})
      size->Add(std::to_string(points), 0, std::to_string(points));
    if (!size->SeekCargo(std::to_string(f.size))) size->SeekCargo("8");
    bold->SetCheck(f.bold);
    italic->SetCheck(f.italic);
    sample(dlg);
  };
  auto accept = [&](ModalDialog&) {
    f = {face->CurCargo(), std::atoi(size->CurCargo().c_str()), bold->Checked(), italic->Checked()};
    return true;
  };
  // Every choice shows at once in the sample.
  auto changed = [&](ModalDialog& dlg, int id, int) {
    if (id != 601 && id != 602 && id != 1001 && id != 1002) return false;
    sample(dlg);
    return true;
  };
  int code = DIALOG_BOX("BROWSE_LETRA", g.dialog(), {init, accept, changed});
  if (code != IDOK || f.empty()) return false;
  chosen = f;
  return true;
}

bool chooseSearchDate(WBLISTBOX& g, int32_t& julian, bool& monthOnly) {
  std::unique_ptr<WEDIT> date;
  std::unique_ptr<WCHECKBOX> month;
  QCalendarWidget* calendar = nullptr;
  bool syncing = false;
  int32_t picked = julian ? julian : lib::XDATE();
  auto show = [&](int32_t jd) {
    if (!calendar || !jd) return;
    xbase::Ymd d = xbase::ymdFromJulian(jd);
    syncing = true;
    calendar->setSelectedDate(QDate(d.year, d.month, d.day));
    syncing = false;
  };
  auto init = [&](ModalDialog& dlg) {
    date = std::make_unique<WEDIT>(&dlg, 500);
    month = std::make_unique<WCHECKBOX>(&dlg, 1001);
    if (QWidget* host = dlg.window()->control(900)) {
      auto* layout = new QVBoxLayout(host);
      layout->setContentsMargins(0, 0, 0, 0);
      calendar = new QCalendarWidget(host);
      calendar->setLocale(QLocale(QLocale::Spanish, QLocale::Spain));
      calendar->setFirstDayOfWeek(Qt::Monday);
      calendar->setGridVisible(false);
      calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
      layout->addWidget(calendar);
      QObject::connect(calendar, &QCalendarWidget::selectionChanged, calendar, [&] {
        if (syncing) return;
        QDate q = calendar->selectedDate();
        date->TEXT(lib::DTOC(xbase::julianFromYmd(q.year(), q.month(), q.day())));
      });
      QObject::connect(calendar, &QCalendarWidget::activated, calendar,
                       [&dlg] { fromEventLoop([&dlg] { dlg.OnCOMMAND(IDOK, BN_CLICKED); }); });
    }
    date->TEXT(lib::DTOC(picked));
    show(picked);
    month->SetCheck(monthOnly);
  };
  auto accept = [&](ModalDialog& dlg) {
    int32_t jd = lib::CTOD(date->TEXT());
    if (!jd) {
      MESSAGE_BOX(&dlg, "Fecha inválida", "Error", 16);
      return false;
    }
    picked = jd;
    monthOnly = month->Checked();
    return true;
  };
  // A date typed shows in the calendar.
  auto typed = [&](ModalDialog&, int id, int code) {
    if (id != 500 || code != EN_CHANGE) return false;
    if (int32_t jd = lib::CTOD(date->TEXT())) show(jd);
    return true;
  };
  int code = DIALOG_BOX("BROWSE_FECHA", g.dialog(), {init, accept, typed});
  if (code != IDOK) return false;
  julian = picked;
  return true;
}

}  // namespace win
