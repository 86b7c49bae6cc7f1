// The session lock on the real main window: whoever tries to unlock it, the session stays
// one user's throughout — login name, process-wide user, rights and session record.
#include <gtest/gtest.h>

#include "app/principal.h"
#include "lib/globals.h"
#include "lib/use.h"
#include "shell/shell_fixture.h"
#include "win/driver.h"

namespace {

// Everything that makes up who the session belongs to.
struct Identity {
  std::string loginName, fullName, rightsUser, abbreviation;
  int userNumber = 0, rightsUid = 0, supervisor = 0;
  uint32_t sessionRecord = 0;
  bool mayManageUsers = false;

  bool operator==(const Identity&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Identity& i) {
  return out << i.loginName << "/" << i.fullName << "/" << i.rightsUser << "/" << i.abbreviation << " user "
             << i.userNumber << " rights of " << i.rightsUid << " super " << i.supervisor << " LOG_E_S "
             << i.sessionRecord << " 2000 " << i.mayManageUsers;
}

Identity identityOf(app::PRINCIPAL& p) {
  const lib::Globals& g = lib::G();
  return {p.loginName,      p.fullName,     p.rights.ACT_USER, g.XUSER_ABREVIA,       g.XUSER_NUMBER,
          p.rights.ACT_UID, g.XSUPERACCESS, g.XREC_E_S,        p.rights.granted(2000)};
}

uint32_t sessionRecords() {
  return lib::USE(nullptr, "LOG_E_S")->RecCount();
}

TEST(SessionLock, AnotherUserIsTurnedAwayAndTheSessionStaysWhollyItsUsers) {
  shell_testing::DemoProgram program;
  app::PRINCIPAL& p = program.principal();
  win::Driver& d = win::Driver::instance();
  bool up = false, unlocked = false;
  Identity clerk;
  const uint32_t before = sessionRecords();  // the demo's log holds sessions of its own
  d.run({[&] {
           up = p.Init();
           if (up) p.Show();
         },
         [&] {
           d.setText(500, "RECEPCION");
           d.setText(501, "RECEP");
           d.press(1);
         },
         [&] {
           ASSERT_TRUE(up);
           clerk = identityOf(p);
           EXPECT_EQ(clerk.loginName, "RECEPCION");
           EXPECT_EQ(clerk.userNumber, 2);
           EXPECT_FALSE(clerk.mayManageUsers);
           unlocked = p.BLOQ_SESSION();  // the steps below act on its window
         },
         [&] {
           ASSERT_EQ(d.activeName(), "BLOQ_SESSION");
           d.setText(500, "ADMIN");  // the supervisor, with his right password
           d.setText(501, "ADMIN");
           d.press(1);
         },
         [&] {
           ASSERT_EQ(d.activeName(), "BLOQ_SESSION");
           EXPECT_EQ(identityOf(p), clerk);
           d.setText(501, "RECEP");
           d.press(1);
         },
         [&] {
           EXPECT_TRUE(unlocked);
           EXPECT_EQ(d.activeName(), "PRINCIPAL");
           EXPECT_EQ(identityOf(p), clerk);
           EXPECT_EQ(sessionRecords(), before + 1);  // no second session was opened
         }});
}

}  // namespace
