// Every template of the program builds into a window with its controls inside the dialog
// and no two controls on top of each other by mistake; a picture of each is kept with the
// build (build/screenshots) for a person to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <QWidget>

#include "support/program_folder.h"
#include "win/dialog_template.h"
#include "win/dialog_window.h"

using namespace win;

namespace {

bool containsOthers(ControlKind k) {
  return k == ControlKind::GroupBox || k == ControlKind::TabStrip || k == ControlKind::Grid || k == ControlKind::Other;
}

}  // namespace

TEST(Templates, EveryTemplateRendersInsideItsDialogWithoutOverlaps) {
  testing_support::ProgramFolder p;
  const ResourceSet& all = ResourceSet::builtIn();
  ASSERT_FALSE(all.dialogNames().empty());
  QDir().mkpath(SCREENSHOT_DIR);
  for (const std::string& name : all.dialogNames()) {
    SCOPED_TRACE(name);
    const DialogTemplate* t = all.dialog(name);
    ASSERT_NE(t, nullptr);
    DialogWindow w(*t);
    w.show();
    QRect inside(QPoint(0, 0), w.size());
    for (const ControlTemplate& c : t->controls) {
      EXPECT_GE(c.x, 0) << "control " << c.id;
      EXPECT_GE(c.y, 0) << "control " << c.id;
      EXPECT_LE(c.x + c.cx, t->cx) << "control " << c.id << " (line " << c.line << ")";
      // Combo boxes give the height of their open list, not of the closed box.
      int height = c.kind == ControlKind::ComboBox ? 12 : c.cy;
      EXPECT_LE(c.y + height, t->cy) << "control " << c.id << " (line " << c.line << ")";
    }
    for (size_t i = 0; i < t->controls.size(); ++i) {
      for (size_t j = i + 1; j < t->controls.size(); ++j) {
        const ControlTemplate &a = t->controls[i], &b = t->controls[j];
        if (containsOthers(a.kind) || containsOthers(b.kind)) continue;
        if (!(a.style & styles::WS_VISIBLE) || !(b.style & styles::WS_VISIBLE)) continue;
        int ah = a.kind == ControlKind::ComboBox ? 12 : a.cy, bh = b.kind == ControlKind::ComboBox ? 12 : b.cy;
        bool overlap = a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + bh && b.y < a.y + ah;
        EXPECT_FALSE(overlap) << "controls " << a.id << " (line " << a.line << ") and " << b.id << " (line " << b.line
                              << ")";
      }
    }
    EXPECT_TRUE(w.grab().save(QString::fromStdString(std::string(SCREENSHOT_DIR) + "/" + name + ".png")));
  }
}
