// The users and profiles screen on the demo hotel, driven as an administrator does.
#include <gtest/gtest.h>

#include <QAction>
#include <filesystem>
#include <fstream>

#include "app/rights_store.h"
#include "app/users_screen.h"
#include "lib/globals.h"
#include "lib/passwords.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "shell/shell_fixture.h"
#include "win/driver.h"
#include "win/main_frame.h"
#include "xbase/file.h"

namespace {

using lib::Value;

// Demo users of business 01: ADMIN 1 (supervisor), RECEPCION 2, BLOQUEO 3, VENCIDA 4;
// in the grid's order (by login name): ADMIN, BLOQUEO, RECEPCION, VENCIDA.
class UsersScreen : public ::testing::Test {
 protected:
  win::Driver& d = win::Driver::instance();
  shell_testing::DemoProgram program;

  app::USUARIOS* screen() { return dynamic_cast<app::USUARIOS*>(d.active()); }

  void open(const std::function<void(app::USUARIOS&)>& body) {
    program.loginAndRun("ADMIN", "ADMIN", [&] {
      ASSERT_TRUE(d.chooseMenu(2000));
      ASSERT_EQ(d.activeName(), "USUARIOS");
      body(*screen());
    });
  }

  // The user row with that login name becomes current.
  void pickUser(app::USUARIOS& s, const std::string& login) {
    for (uint32_t row = 1; row <= s.OB->nMaxRec; ++row) {
      s.OB->GoToRow(row);
      if (s.USUARIOS_->S("NOMBRE") == login) return;
    }
    FAIL() << "no user " << login;
  }

  std::string lastMessage() { return d.messages().empty() ? "" : d.messages().back().text; }

  struct Found {
    bool exists = false;
    int code = 0;
    double supervisor = 0;
    std::string password;
  };
  Found user(const std::string& login) {
    auto t = lib::USE(nullptr, "USUARIOS", "USUARIOS");
    std::string key = "01" + login;
    key.resize(42, ' ');
    Found f;
    if (t->Seek(key)) f = {true, int(t->N("CODIGO")), t->N("SUPERVISOR"), t->FieldGet("PASSWORD").text};
    return f;
  }
};

TEST_F(UsersScreen, TheOnlySupervisorCanNeitherBeDeletedNorUnticked) {
  open([&](app::USUARIOS& s) {
    pickUser(s, "ADMIN");
    d.answer(lib::IDOK);
    d.press(103);
    EXPECT_NE(lastMessage().find("NO se permite\r\nelimiar al usuario."), std::string::npos) << lastMessage();
    EXPECT_TRUE(user("ADMIN").exists);

    pickUser(s, "ADMIN");
    d.press(102);
    ASSERT_EQ(d.activeName(), "EDIT_USER");
    EXPECT_EQ(d.text(500), "Administrador del Sistema");
    EXPECT_TRUE(d.checked(1001));
    d.check(1001, false);
    d.press(1);
    EXPECT_NE(lastMessage().find("Debe haber al menos un usuario Supervisor."), std::string::npos) << lastMessage();
    EXPECT_EQ(user("ADMIN").supervisor, 1);
    EXPECT_EQ(d.activeName(), "USUARIOS");
  });
}

TEST_F(UsersScreen, ANewUserIsCheckedGetsTheFirstFreeCodeAndEveryRightRecord) {
  open([&](app::USUARIOS& s) {
    uint32_t before = s.OB->nMaxRec;
    d.press(101);
    ASSERT_EQ(d.activeName(), "EDIT_USER");
    d.setText(500, "Cajera de Noche");
    d.setText(501, "cajera");
    d.setText(502, "ab");
    d.setText(503, "ab");
    d.press(1);
    EXPECT_EQ(lastMessage(), "Debe definirse la Abreviatura del Usuario");
    d.setText(504, "caj");
    d.press(1);
    EXPECT_EQ(lastMessage(), "La Clave debe tener al menos 3 dígitos");
    d.setText(506, "5");
    d.setText(502, "noche");
    d.setText(503, "nochex");
    d.press(1);
    EXPECT_EQ(lastMessage(), "Clave distinta a Confirmación");
    d.setText(501, "recepcion");
    d.setText(503, "noche");
    d.press(1);
    EXPECT_EQ(lastMessage(), "Nombre de Usuario ya existente...");
    d.setText(501, "cajera");
    d.press(1);
    EXPECT_EQ(d.activeName(), "USUARIOS");
    Found f = user("CAJERA");
    ASSERT_TRUE(f.exists);
    EXPECT_EQ(f.code, 5);
    EXPECT_EQ(f.supervisor, 0);
    EXPECT_EQ(f.password, lib::ENCRYPT_STRING("NOCHE     "));
    EXPECT_EQ(s.OB->nMaxRec, before + 1);
    std::vector<bool> rights = app::readRights(app::RightsOf::User, "01", 5);
    EXPECT_EQ(rights.size(), 5001u);
    EXPECT_EQ(std::count(rights.begin(), rights.end(), true), 0);
    auto menus = lib::USE(nullptr, "MENUS", "MENUS");
    std::string prefix = app::rightsKey("01", 5);
    menus->SetScope(Value::chars(prefix), Value::chars(prefix));
    uint32_t records = 0;
    for (menus->GoTop(); !menus->Eof(); menus->Skip()) ++records;
    EXPECT_EQ(records, 5001u);
  });
}

TEST_F(UsersScreen, AssigningAProfileReplacesEveryEarlierRightOfTheUser) {
  {
    // The clerk also holds the transactions screen, which the rooms profile does not give.
    auto menus = lib::USE(nullptr, "MENUS", "MENUS");
    ASSERT_TRUE(menus->Seek(app::rightsKey("01", 2, 3054)));
    lib::MODIFY(*menus, [&] { menus->FieldPut("CHECK_ID", Value::boolean(true)); });
  }
  open([&](app::USUARIOS& s) {
    pickUser(s, "RECEPCION");
    s.OB2->GoToRow(1);
    d.press(104);
    ASSERT_GE(d.messages().size(), 2u);
    EXPECT_EQ(d.messages()[d.messages().size() - 2].text,
              "Se asignará el Perfil Recepción - Habitaciones\ral Usuario Recepcionista de Turno");
    EXPECT_EQ(d.messages().back().text, "Perfil asignado!");
    EXPECT_EQ(app::readRights(app::RightsOf::User, "01", 2), app::readRights(app::RightsOf::Profile, "01", 1));
    EXPECT_FALSE(app::readRights(app::RightsOf::User, "01", 2)[3054 - 2000]);
  });
}

TEST_F(UsersScreen, RightsAreDesignedByRightClickingTheRealMenuAndSaved) {
  open([&](app::USUARIOS& s) {
    app::PRINCIPAL& p = program.principal();
    win::MainFrame& frame = p.frame();
    pickUser(s, "RECEPCION");
    d.press(121);  // Cargar Diseño de Usuario
    EXPECT_TRUE(frame.action(3087)->isChecked());
    EXPECT_FALSE(frame.action(3054)->isChecked());
    d.press(123);  // Comenzar Diseño de Perfil
    EXPECT_TRUE(p.rights.Captura);
    p.menuRightClick(3054);
    p.menuRightClick(3087);
    EXPECT_TRUE(frame.action(3054)->isChecked());
    EXPECT_FALSE(frame.action(3087)->isChecked());
    d.minimize(false);  // the screen back from its icon
    d.press(126);       // Guardar Diseño de Usuario
    EXPECT_FALSE(p.rights.Captura);
    std::vector<bool> saved = app::readRights(app::RightsOf::User, "01", 2);
    EXPECT_TRUE(saved[3054 - 2000]);
    EXPECT_FALSE(saved[3087 - 2000]);
    EXPECT_TRUE(saved[3091 - 2000]);  // untouched rights stay as loaded

    d.press(124);  // Eliminar Accesos del Módulo
    EXPECT_FALSE(frame.action(3091)->isChecked());
    d.press(125);  // Asignar todos los Accesos
    EXPECT_TRUE(frame.action(6197)->isChecked());
    s.ENDDIALOG();
    // Closed: capture off and the marks of before.
    EXPECT_FALSE(p.rights.Captura);
    EXPECT_FALSE(frame.action(6197)->isChecked());
  });
}

TEST_F(UsersScreen, TheLockControlsWriteTheGlobalLockAndTheLeaveFlag) {
  open([&](app::USUARIOS&) {
    const std::string flag = lib::G().PATH + "BLOQUEAD.!";
    d.check(1103, true);
    ASSERT_TRUE(std::filesystem::exists(flag));
    d.check(1117, true);  // Hotel: this program's group, character 8
    std::string text;
    {
      std::ifstream in(flag);
      std::getline(in, text);
    }
    EXPECT_EQ(text, "10000001000000000");
    d.check(1102, true);
    {
      std::ifstream in(flag);
      std::getline(in, text);
    }
    EXPECT_EQ(text, "00000001000000000");
    d.check(1101, true);
    EXPECT_FALSE(std::filesystem::exists(flag));

    d.check(1004, true);
    auto sys = lib::USE(nullptr, "F_SYS");
    sys->GoTop();
    EXPECT_EQ(sys->N("BLOQUEADO"), 1);
  });
}

TEST_F(UsersScreen, DeletingAUserTakesHisRightsAndOptimisingPacksTheTables) {
  open([&](app::USUARIOS& s) {
    pickUser(s, "VENCIDA");
    uint32_t rows = s.OB->nMaxRec;
    d.answer(lib::IDOK);
    d.press(103);
    EXPECT_FALSE(user("VENCIDA").exists);
    EXPECT_EQ(s.OB->nMaxRec, rows - 1);
    auto menus = lib::USE(nullptr, "MENUS", "MENUS");
    std::string prefix = app::rightsKey("01", 4);
    menus->SetScope(Value::chars(prefix), Value::chars(prefix));
    menus->GoTop();
    EXPECT_TRUE(menus->Eof());
    menus.reset();

    uint32_t records = xbase::DbfTable::open(lib::G().PATH + "BASES/MENUS.DBF", {true, true})->recCount();
    d.answer(lib::IDOK);
    ASSERT_TRUE(d.chooseMenu(3567));  // Editar: Optimizar Archivos
    EXPECT_EQ(xbase::DbfTable::open(lib::G().PATH + "BASES/MENUS.DBF", {true, true})->recCount(), records - 5001);
    EXPECT_EQ(d.activeName(), "PRINCIPAL");  // the screen closed
  });
}

}  // namespace
