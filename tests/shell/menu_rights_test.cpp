// The rights gate over the whole module menu: for a user holding exactly one right, that
// entry can be chosen and no other restricted one; choosing a greyed entry does nothing.
#include <gtest/gtest.h>

#include <QAction>
#include <set>

#include "app/module_menu.h"
#include "lib/globals.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "shell/shell_fixture.h"
#include "win/driver.h"
#include "win/main_frame.h"

namespace {

using lib::Value;

void leaves(const std::vector<app::MenuEntry>& entries, std::vector<const app::MenuEntry*>& out) {
  for (const app::MenuEntry& e : entries) {
    if (e.isMenu())
      leaves(e.submenu, out);
    else if (!e.caption.empty())
      out.push_back(&e);
  }
}

std::string key(int user, int id) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "01%8d%8d", user, id);
  return buf;
}

// RECEPCION (code 2) holds exactly `id`, or nothing for 0; he may not change his password.
void grantOnly(int id) {
  auto menus = lib::USE(nullptr, "MENUS", "MENUS");
  std::string prefix = key(2, 0).substr(0, 10);
  menus->SetScope(Value::chars(prefix), Value::chars(prefix));
  for (menus->GoTop(); !menus->Eof(); menus->Skip()) {
    bool want = int(menus->N("ID")) == id;
    if (menus->L("CHECK_ID") != want) lib::MODIFY(*menus, [&] { menus->FieldPut("CHECK_ID", Value::boolean(want)); });
  }
}

TEST(MenuRights, ForOneRightExactlyThatEntryAndTheUnrestrictedOnesCanBeChosen) {
  shell_testing::DemoProgram program;
  {
    auto users = lib::USE(nullptr, "USUARIOS", "USUARIOS");
    ASSERT_TRUE(users->Seek(std::string("01") + "RECEPCION"));
    lib::MODIFY(*users, [&] { users->FieldPut("PERMISO1", Value::num(0)); });
  }
  program.loginAndRun("RECEPCION", "RECEP", [&] {
    std::vector<const app::MenuEntry*> entries;
    leaves(app::moduleMenu(), entries);
    ASSERT_GT(entries.size(), 140u);
    std::set<int> ids;
    for (const app::MenuEntry* e : entries)
      if (e->id) ids.insert(e->id);
    win::MainFrame& frame = program.principal().frame();
    for (int held : ids) {
      SCOPED_TRACE(held);
      grantOnly(held);
      program.principal().MenuSet(0, nullptr, std::string("RECEPCION"), "01");
      for (const app::MenuEntry* e : entries) {
        QAction* a = e->id ? frame.action(e->id) : nullptr;
        if (!e->id) continue;
        ASSERT_NE(a, nullptr) << e->caption;
        bool restricted = e->id >= 2000 && e->id <= 7000;
        EXPECT_EQ(a->isEnabled(), !restricted || e->id == held) << e->id << " " << e->caption;
      }
    }
  });
}

TEST(MenuRights, ChoosingAGreyedEntryChangesNothing) {
  shell_testing::DemoProgram program;
  program.loginAndRun("RECEPCION", "RECEP", [&] {
    win::Driver& d = win::Driver::instance();
    win::MainFrame& frame = program.principal().frame();
    ASSERT_NE(frame.action(3054), nullptr);
    EXPECT_FALSE(frame.action(3054)->isEnabled());
    lib::G().XID_MENU = 0;
    size_t messages = d.messages().size();
    EXPECT_FALSE(d.chooseMenu(3054));
    EXPECT_EQ(lib::G().XID_MENU, 0);
    EXPECT_EQ(d.messages().size(), messages);
    EXPECT_EQ(d.activeName(), "PRINCIPAL");
    // The entry he holds does act: it opens its screen.
    EXPECT_TRUE(d.chooseMenu(3087));
    EXPECT_EQ(d.messages().size(), messages);
    EXPECT_EQ(d.activeName(), "ROOMS");
  });
}

}  // namespace
