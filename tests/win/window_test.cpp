// The dialog base and its services, driven like a user through the driver.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QWidget>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "lib/catalogue.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "support/open_screen.h"
#include "support/program_folder.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/dialog_window.h"
#include "win/driver.h"
#include "win/entry.h"
#include "win/entry_filters.h"
#include "win/main_frame.h"
#include "win/resources.h"
#include "win/script.h"
#include "win/timers.h"
#include "win/wait.h"
#include "win/wdiag.h"
#include "xbase/date.h"

using namespace win;
using testing_support::open;
using testing_support::ProgramFolder;

namespace {

constexpr int kTestMenu = 9001;
int closings = 0;

class PRUEBA : public WDIAG {
 public:
  PRUEBA(WDIAG* parent, const std::string& dialog, const std::string& negocio) {
    NEGOCIO = negocio;
    if (!Init(parent, dialog)) return;
    CODIGO = std::make_unique<WEDIT>(this, 501);
    MONTO = std::make_unique<WEDIT>(this, 502);
    PROCESAR = std::make_unique<WPUSHBUTTON>(this, 301);
    SALIR = std::make_unique<WPUSHBUTTON>(this, 1);
    ADD(PROCESAR.get(), [this](WDIAG&, WCONTROL&, int) {
      ++runs;
      if (fails) throw std::runtime_error("tabla dañada");
      if (reenter) Driver::instance().press(301);  // a second click while it runs
      if (longRun) {  // a run of 100 steps behind the progress window, stopped by its Cancel
        WAIT wait(this);
        for (stoppedAt = 0; stoppedAt < 100 && wait.CANPRINT(); ++stoppedAt)
          wait.PUT_TEXT("", "Paso " + std::to_string(stoppedAt));
        wait.TERMINAR();
      }
      return 0;
    });
    ADD(SALIR.get(), [this](WDIAG&, WCONTROL&, int) {
      ENDDIALOG();
      return 0;
    });
    CREATE(dialog);
  }
  void SHOW_MENU() override { MainFrame::instance()->MENUSET(kTestMenu, this, NEGOCIO); }
  void HIDE_MENU() override { MainFrame::instance()->MENUSET(0, this); }
  void OnNCDESTROY() override { ++closings; }
  void OnTIMER(int) override {
    if (fails) throw std::runtime_error("reloj");
  }

  std::unique_ptr<WEDIT> CODIGO, MONTO;
  std::unique_ptr<WPUSHBUTTON> PROCESAR, SALIR;
  int runs = 0;
  bool reenter = false;
  bool longRun = false;
  bool fails = false;  // the operation throws, as a damaged table would make it
  int stoppedAt = -1;
};

std::string sourceFile(const std::string& relative) {
  std::ifstream in(std::string(CONFIGURA_SOURCE_DIR) + "/" + relative);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class WindowLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool loaded = false;
    if (!loaded) {
      addResourceScript(sourceFile("tests/win/test_screens.rc"), "test_screens.rc");
      loaded = true;
    }
    folder = std::make_unique<ProgramFolder>();
    Driver::instance().install();
    Driver::instance().messages().clear();
    frame = std::make_unique<MainFrame>("Configuración Hotelería");
    frame->window()->resize(1000, 700);
    frame->window()->show();
    registerEditMenu(kTestMenu, {{9002, "Agregar ", [](WDIAG&) {}}, {9003, "Modificar ", [](WDIAG&) {}}});
    closings = 0;
  }
  void TearDown() override {
    frame.reset();
    QCoreApplication::processEvents();
    folder.reset();
  }
  void settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  }
  std::unique_ptr<ProgramFolder> folder;
  std::unique_ptr<MainFrame> frame;
  Driver& d = Driver::instance();
};

}  // namespace

TEST_F(WindowLayer, TwoInstancesOfAScreenHandTheEditMenuOver) {
  PRUEBA* a = open<PRUEBA>(nullptr, "PRUEBA", "01");
  PRUEBA* b = open<PRUEBA>(nullptr, "PRUEBA", "02");
  ASSERT_TRUE(a && b);
  settle();
  EXPECT_EQ(frame->editMenuId(), kTestMenu);
  EXPECT_EQ(frame->editScreen(), b);
  EXPECT_TRUE(b->ISACTIVE());
  EXPECT_FALSE(a->ISACTIVE());
  EXPECT_NE(frame->action(9002), nullptr);
  frame->mdiArea()->setActiveSubWindow(static_cast<QMdiSubWindow*>(a->frame()));
  settle();
  EXPECT_EQ(frame->editScreen(), a);
  EXPECT_TRUE(a->ISACTIVE());
  // Closing the active one activates the next, which takes the menu back.
  a->ENDDIALOG();
  settle();
  EXPECT_EQ(closings, 1);
  EXPECT_EQ(frame->editScreen(), b);
  // Closing the last leaves "Editar" with nothing.
  d.press(1);
  settle();
  EXPECT_EQ(closings, 2);
  EXPECT_EQ(frame->editScreen(), nullptr);
  EXPECT_EQ(frame->action(9002), nullptr);
  EXPECT_TRUE(openDialogs().empty());
}

TEST_F(WindowLayer, CancelFromNoControlClosesUnlessTheScreenForbidsIt) {
  PRUEBA* a = open<PRUEBA>(nullptr, "PRUEBA", "01");
  settle();
  a->lNoCancel = true;
  d.press(2);  // Escape: no control has id 2
  settle();
  EXPECT_EQ(closings, 0);
  a->lNoCancel = false;
  d.press(2);
  settle();
  EXPECT_EQ(closings, 1);
}

TEST_F(WindowLayer, ADoubleClickDoesNotReenterARunningOperation) {
  PRUEBA* a = open<PRUEBA>(nullptr, "PRUEBA", "01");
  settle();
  a->reenter = true;
  d.press(301);
  EXPECT_EQ(a->runs, 1);
  a->reenter = false;
  d.press(301);
  EXPECT_EQ(a->runs, 2);
}

// A failure in a command, a timer or an "Editar" entry reaches the entry guard, never Qt;
// the screen stays open and takes the next command, its running flag cleared.
TEST_F(WindowLayer, FailuresFromTheEventLoopGoThroughTheEntryGuard) {
  std::vector<std::string> caught;
  setEntryGuard([&](const std::function<void()>& step) {
    try {
      step();
    } catch (const std::exception& e) {
      caught.push_back(e.what());
    }
  });
  PRUEBA* a = open<PRUEBA>(nullptr, "PRUEBA", "01");
  settle();
  a->fails = true;
  d.press(301);
  ASSERT_EQ(caught.size(), 1u);
  EXPECT_EQ(caught[0], "tabla dañada");
  a->fails = false;
  d.press(301);
  EXPECT_EQ(a->runs, 2);
  a->fails = true;
  a->SetTimer(7, 1000);
  d.advance(1000);
  ASSERT_EQ(caught.size(), 2u);
  EXPECT_EQ(caught[1], "reloj");
  a->KillTimer(7);
  registerEditMenu(kTestMenu, {{9002, "Agregar ", [](WDIAG&) { throw std::runtime_error("entrada"); }}});
  a->SHOW_MENU();
  EXPECT_TRUE(frame->chooseMenu(9002));
  settle();
  ASSERT_EQ(caught.size(), 3u);
  EXPECT_EQ(caught[2], "entrada");
  EXPECT_TRUE(a->window());
  setEntryGuard({});
}

TEST_F(WindowLayer, MissingTemplatesAndControlsAreReportedNotFatal) {
  PRUEBA* none = open<PRUEBA>(nullptr, "NO_EXISTE", "01");
  EXPECT_EQ(none, nullptr);
  ASSERT_EQ(d.messages().size(), 1u);
  EXPECT_EQ(d.messages()[0].text, "No se encuentra el diálogo: NO_EXISTE");
  PRUEBA* a = open<PRUEBA>(nullptr, "PRUEBA", "01");
  WEDIT missing(a, 777);
  EXPECT_FALSE(missing.bound());
  EXPECT_EQ(d.messages().back().text, "Child window does not exist: Id777");
  missing.TEXT("nada");  // inert, no crash
  EXPECT_EQ(missing.TEXT(), "");
}

TEST_F(WindowLayer, NumericFieldsKeepThePictureFormatting) {
  PRUEBA* a = open<PRUEBA>(nullptr, "PRUEBA", "01");
  settle();
  int changes = 0;
  ONLYNUMBER(*a->MONTO, "9999.99", [&] { ++changes; });
  a->MONTO->TEXT("");
  ASSERT_EQ(d.active(), a);
  d.type(502, "12.5");
  EXPECT_EQ(d.text(502), "  12.50");
  d.key(502, Qt::Key_Backspace);
  EXPECT_EQ(d.text(502), "  12.00");
  d.key(502, Qt::Key_Backspace);
  EXPECT_EQ(d.text(502), "   1.00");
  d.type(502, "-");
  EXPECT_EQ(d.text(502), "  -1.00");
  EXPECT_GT(changes, 3);
  ONLY_SIGN(*a->MONTO, 1);
  EXPECT_EQ(d.text(502), "   1.00");
  d.type(502, "3-");  // the sign is fixed now
  EXPECT_EQ(d.text(502), "  13.00");
  d.type(502, "x12345");  // letters ignored, no more than four integer digits
  EXPECT_EQ(d.text(502), "1312.00");
  EXPECT_DOUBLE_EQ(NUMBER_OF(*a->MONTO), 1312);
  d.setText(501, "x");
  d.type(502, "7");  // back in the field: focus selects everything, typing replaces it
  EXPECT_EQ(d.text(502), "   7.00");
}

TEST_F(WindowLayer, DateHelpersStepDaysInEveryEdit) {
  PRUEBA* a = open<PRUEBA>(nullptr, "PRUEBA", "01");
  (void)a;
  settle();
  d.setText(503, "28/02/24");
  d.type(503, "+");
  EXPECT_EQ(d.text(503), "29/02/24");
  d.type(503, "--");
  EXPECT_EQ(d.text(503), "27/02/24");
  d.setText(501, "AB-12");  // not a date: the key types as usual
  d.type(501, "-");
  EXPECT_EQ(d.text(501), "AB-12-");
}

TEST_F(WindowLayer, TheProgressClockShowsMinutesAndSecondsAlsoWhenMinimised) {
  PRUEBA* a = open<PRUEBA>(nullptr, "PRUEBA", "01");
  settle();
  {
    WAIT w(a);
    ASSERT_TRUE(w.window());
    EXPECT_FALSE(a->frame()->isEnabled());  // the owner waits
    EXPECT_EQ(d.activeName(), "WAIT");
    EXPECT_EQ(d.text(301), "Preparando ambiente...");
    std::string caption = w.Caption();
    d.advance(7500);  // the clock ticks every 1.5 s
    EXPECT_EQ(d.text(503), "  0:07");
    d.minimize(true);
    d.advance(1500);
    EXPECT_EQ(w.Caption(), "  0:09");
    d.minimize(false);
    d.advance(1500);
    EXPECT_EQ(w.Caption(), caption);
    w.PUT_TEXT("Actualizando", "uno", "", "tres");
    EXPECT_EQ(d.text(301), "Actualizando");
    EXPECT_EQ(d.text(500), "uno");
    EXPECT_EQ(d.text(502), "tres");
    EXPECT_TRUE(w.CANPRINT());
    d.press(2);
    EXPECT_FALSE(w.CANPRINT());
    EXPECT_EQ(d.text(301), "Cancelando proceso...");
    EXPECT_EQ(d.text(500), "");
  }
  EXPECT_TRUE(a->frame()->isEnabled());
}

TEST_F(WindowLayer, AProgressWindowGivenATotalShowsItsBarAndTheTimeLeft) {
  PRUEBA* a = open<PRUEBA>(nullptr, "PRUEBA", "01");
  settle();
  WAIT w(a);
  ASSERT_TRUE(w.window());
  auto* bar = qobject_cast<QProgressBar*>(w.window()->control(505));
  ASSERT_NE(bar, nullptr);
  QWidget* left = w.window()->control(504);
  EXPECT_FALSE(bar->isVisible());  // without a total: the clock alone
  EXPECT_FALSE(left->isVisible());
  w.ADVANCE(10);  // nothing to count against
  EXPECT_EQ(w.done(), 0u);

  d.advance(1500);
  w.SET_TOTAL(400);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_TRUE(left->isVisible());
  EXPECT_EQ(bar->maximum(), 400);
  EXPECT_EQ(bar->value(), 0);
  w.ADVANCE(4);
  d.advance(3000);  // 3 s into the stretch, but 1% done: too little to say
  EXPECT_EQ(bar->value(), 4);
  EXPECT_EQ(d.text(504), "");
  w.ADVANCE(96);
  EXPECT_EQ(bar->value(), 100);
  d.advance(1500);  // a quarter in 4.5 s: three quarters take 13.5 s more, shown as 14
  EXPECT_EQ(d.text(503), "  0:06");
  EXPECT_EQ(d.text(504), "Faltan  0:14");
  w.ADVANCE(100);
  d.advance(1500);  // half in 6 s
  EXPECT_EQ(d.text(504), "Faltan  0:06");
  QDir().mkpath(SCREENSHOT_DIR);
  EXPECT_TRUE(d.screenshot(std::string(SCREENSHOT_DIR) + "/WAIT_avance.png"));
  w.ADVANCE(1000);  // more steps than announced: the bar stops at its end
  EXPECT_EQ(w.done(), 400u);
  EXPECT_EQ(bar->value(), 400);
  d.advance(1500);
  EXPECT_EQ(d.text(504), "Faltan  0:00");

  // A new pass starts its own stretch; a very long one shows the largest time the field holds.
  w.SET_TOTAL(1000000);
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(d.text(504), "");
  w.ADVANCE(20000);
  d.advance(3600000);
  EXPECT_EQ(d.text(504), "Faltan999:59");
  w.SET_TOTAL(0);  // back to the clock alone
  EXPECT_FALSE(bar->isVisible());
  EXPECT_FALSE(left->isVisible());
}

TEST_F(WindowLayer, ModalDialogsRunThroughTheirProcedure) {
  PRUEBA* a = open<PRUEBA>(nullptr, "PRUEBA", "01");
  settle();
  int code = 0;
  std::vector<int> seen;
  d.run({[&] {
           code = DIALOG_BOX(nullptr, "PRUEBA_MODAL", a, [&](ModalDialog& dlg, int msg, int wParam, int) {
             seen.push_back(msg);
             if (msg == WM_INITDIALOG) {
               dlg.SetDlgItemText(501, "inicio");
               return 1;
             }
             if (msg == WM_COMMAND && (wParam & 0xFFFF) == 1) {
               if (dlg.GetDlgItemText(501).empty()) return 1;  // stays open
               ENDDIALOG(dlg, 1);
               return 1;
             }
             if (msg == WM_COMMAND && (wParam & 0xFFFF) == 2) {
               ENDDIALOG(dlg, 2);
               return 1;
             }
             return 0;
           });
         },
         [&] {
           EXPECT_EQ(d.activeName(), "PRUEBA_MODAL");
           EXPECT_FALSE(a->ISACTIVE());
           EXPECT_EQ(d.text(501), "inicio");
           d.setText(501, "");
           d.press(1);
         },
         [&] {
           EXPECT_EQ(d.activeName(), "PRUEBA_MODAL");  // refused: still open
           d.setText(501, "valor");
           d.press(1);
         },
         [&] { EXPECT_EQ(d.activeName(), "PRUEBA"); }});
  EXPECT_EQ(code, 1);
  EXPECT_EQ(seen.front(), WM_INITDIALOG);
  settle();
  EXPECT_TRUE(a->ISACTIVE());  // the screen got its menu back
  EXPECT_EQ(frame->editScreen(), a);
}

// A multi-line edit (a memo: notes, a report) takes and gives its text by id as a line does.
TEST_F(WindowLayer, MultiLineEditsTakeAndGiveTheirTextById) {
  std::string typed;
  d.run({[&] {
           DIALOG_BOX("PRUEBA_MODAL", nullptr,
                      {[](ModalDialog& dlg) { dlg.SetDlgItemText(502, "Primera línea\nSegunda línea"); },
                       [&](ModalDialog& dlg) {
                         typed = dlg.GetDlgItemText(502);
                         return true;
                       }});
         },
         [&] {
           EXPECT_EQ(d.text(502), "Primera línea\nSegunda línea");
           d.setText(502, "Otra nota");
           d.press(1);
         }});
  EXPECT_EQ(typed, "Otra nota");
}

TEST_F(WindowLayer, AnchorsFollowTheDialogSize) {
  PRUEBA* a = open<PRUEBA>(nullptr, "PRUEBA", "01");
  settle();
  QWidget* list = a->window()->control(701);
  QWidget* ok = a->window()->control(1);
  QRect list0 = list->geometry(), ok0 = ok->geometry();
  a->FIX_OBJ(701, 1);
  a->FIX_OBJ(1, 3);
  a->window()->setFixedSize(a->window()->width() + 40, a->window()->height() + 30);
  settle();
  EXPECT_EQ(list->geometry().width(), list0.width() + 40);
  EXPECT_EQ(list->geometry().height(), list0.height() + 30);
  EXPECT_EQ(ok->geometry().topLeft(), ok0.topLeft() + QPoint(40, 30));
  EXPECT_EQ(ok->geometry().size(), ok0.size());
}

TEST_F(WindowLayer, TabPagesShowTheirControlsOnlyWhileActive) {
  struct Tabs : WDIAG {
    Tabs() {
      Init(nullptr, "PRUEBA_TABS");
      MAINTABPAGE("PRUEBA_TABS", 900);
      ADDTABPAGE("PAGINA_A", "General");
      ADDTABPAGE("PAGINA_B", "Otros", 0xFFEECC);
      onTabChange = [this](int n, int o) { changes.push_back({n, o}); };
      CREATE();
    }
    std::vector<std::pair<int, int>> changes;
  };
  Tabs* t = open<Tabs>();
  settle();
  QWidget* a = t->window()->control(511);
  QWidget* b = t->window()->control(520);
  QWidget* hidden = t->window()->control(521);
  EXPECT_EQ(t->GETACTIVEPAGE(), 1);
  EXPECT_TRUE(a->isVisibleTo(t->window()));
  EXPECT_FALSE(b->isVisibleTo(t->window()));
  t->ACTIVATEPAGE(2);
  EXPECT_FALSE(a->isVisibleTo(t->window()));
  EXPECT_TRUE(b->isVisibleTo(t->window()));
  EXPECT_FALSE(hidden->isVisibleTo(t->window()));  // initially hidden stays hidden
  EXPECT_EQ(t->changes, (std::vector<std::pair<int, int>>{{2, 1}}));
  // Labels and frames without an id belong to their page too.
  auto shownTexts = [&] {
    std::vector<std::string> out;
    for (auto* l : t->window()->findChildren<QLabel*>())
      if (l->isVisibleTo(t->window())) out.push_back(l->text().toStdString());
    for (auto* g : t->window()->findChildren<QGroupBox*>())
      if (g->isVisibleTo(t->window())) out.push_back(g->title().toStdString());
    std::sort(out.begin(), out.end());
    return out;
  };
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{"Marco de B", "Página B", "Rótulo sin id"}));
  t->ACTIVATEPAGE(1);
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{"Página A"}));
}

TEST_F(WindowLayer, ScriptsClickTabsAndNameTheControlsOfEveryPage) {
  struct Tabs : WDIAG {
    Tabs() {
      Init(nullptr, "PRUEBA_TABS");
      MAINTABPAGE("PRUEBA_TABS", 900);
      ADDTABPAGE("PAGINA_A", "General");
      ADDTABPAGE("PAGINA_B", "Otros");
      onTabChange = [this](int n, int o) { changes.push_back({n, o}); };
      CREATE();
    }
    std::vector<std::pair<int, int>> changes;
  };
  Tabs* t = open<Tabs>();
  settle();
  t->EnableItem(521, false);
  std::ostringstream out;
  // A caption on a page names its control; tabs by caption or by number.
  int status = runScript(parseScript("set @\"Página A\" hola\n"
                                     "expect-text 511 hola\n"
                                     "tab Otros\n"
                                     "expect-enabled @\"Opción B\" off\n"
                                     "tab 1\n"
                                     "expect-enabled 511 on\n"),
                         out);
  EXPECT_EQ(status, 0) << out.str();
  EXPECT_EQ(t->changes, (std::vector<std::pair<int, int>>{{2, 1}, {1, 2}}));
  EXPECT_EQ(t->GETACTIVEPAGE(), 1);
  EXPECT_EQ(d.resolve("@\"Opción B\""), 521);
  EXPECT_EQ(d.resolve("@\"No existe\""), -1);

  std::ostringstream missing;
  EXPECT_EQ(runScript(parseScript("tab Ninguna\n"), missing), 1);
  EXPECT_EQ(missing.str(), "línea 1: no hay pestaña Ninguna en PRUEBA_TABS\n");
  std::ostringstream tooFar;
  EXPECT_EQ(runScript(parseScript("tab 3\n"), tooFar), 1);
  std::ostringstream disabled;
  EXPECT_EQ(runScript(parseScript("expect-enabled 521 on\n"), disabled), 1);
  EXPECT_EQ(disabled.str(), "línea 1: el control está deshabilitado\n");
}

TEST_F(WindowLayer, RadioButtonsExcludeEachOtherOnlyWithinTheirGroup) {
  struct Opciones : WDIAG {
    Opciones() {
      Init(nullptr, "PRUEBA_OPCIONES");
      CREATE();
    }
  };
  Opciones* o = open<Opciones>();
  settle();
  d.check(201, true);
  d.check(204, true);
  EXPECT_TRUE(d.checked(201));
  EXPECT_TRUE(d.checked(204));
  d.check(202, true);
  EXPECT_FALSE(d.checked(201));
  EXPECT_TRUE(d.checked(202));
  EXPECT_TRUE(d.checked(204));
  // The program may leave a group with nothing checked.
  o->CheckDlgButton(202, false);
  WCHECKBOX(o, 204).SetCheck(false);
  for (int id : {201, 202, 203, 204}) EXPECT_FALSE(d.checked(id)) << id;
  o->CheckDlgButton(203, true);
  EXPECT_TRUE(o->IsDlgButtonChecked(203));
  EXPECT_FALSE(o->IsDlgButtonChecked(202));

  // Each entry clicked in a multiple-selection list toggles.
  CLISTBOX list(o, 701);
  for (const char* code : {"RACK", "CORP", "WEB "}) list.Add(code, code);
  EXPECT_TRUE(d.select(701, "RACK"));
  EXPECT_TRUE(d.select(701, "WEB "));
  EXPECT_EQ(list.Selected(), (std::vector<int>{1, 3}));
  EXPECT_TRUE(d.select(701, "RACK"));
  EXPECT_EQ(list.Selected(), (std::vector<int>{3}));
}

TEST_F(WindowLayer, OpenedScreensAreLoggedAndOldHeadRecordsReused) {
  const lib::CatalogueTable* log = lib::Catalogue::builtIn().find("LOG_DIAG");
  xbase::DbfTable::create(folder->bases("LOG_DIAG.DBF"), log->fields, log->tags);
  lib::Globals& g = lib::G();
  g.XID_MENU = 3091;
  g.XUSER_ABREVIA = "ADM";
  open<PRUEBA>(nullptr, "PRUEBA", "01");
  EXPECT_EQ(g.XID_MENU, 0);
  {
    auto t = lib::USE(nullptr, "LOG_DIAG");
    ASSERT_EQ(t->RecCount(), 1u);
    EXPECT_EQ(t->S("DIALOGO"), "PRUEBA");
    EXPECT_EQ(t->N("ID_DIAG"), 3091);
    EXPECT_EQ(t->S("USUARIO"), "ADM");
    // Make that record old.
    lib::MODIFY(*t, [&] { t->FieldPut("FECHA", lib::Value::date(lib::XDATE() - 241)); });
  }
  WAIT w(nullptr);  // service dialogs are not logged
  w.TERMINAR();
  open<PRUEBA>(nullptr, "PRUEBA", "02");
  auto t = lib::USE(nullptr, "LOG_DIAG");
  EXPECT_EQ(t->RecCount(), 1u);  // reused
  t->GoTo(1);
  EXPECT_EQ(t->D("FECHA"), lib::XDATE());
  open<PRUEBA>(nullptr, "PRUEBA", "03");
  EXPECT_EQ(t->RecCount(), 2u);  // a recent head record is kept
}

TEST_F(WindowLayer, ScriptsDriveScreensAndReportTheFirstUnmetExpectation) {
  registerEditMenu(kTestMenu, {{9002, "Agregar ", [](WDIAG&) {}}});
  auto* screen = open<PRUEBA>(nullptr, "PRUEBA", "01");
  (void)screen;
  std::ostringstream out;
  int status = runScript(parseScript("# a comment\n"
                                     "window PRUEBA\n"
                                     "set @\"Código:\" \"A 1\"\n"
                                     "expect-text 501 \"A 1\"\n"
                                     "expect-menu 9002 enabled\n"
                                     "expect-menu 5555 missing\n"
                                     "press @\"&Procesar\"\n"
                                     "advance 500\n"
                                     "expect-no-message\n"
                                     "press 1\n"
                                     "expect-window PRINCIPAL\n"),
                         out);
  EXPECT_EQ(status, 0) << out.str();
  EXPECT_EQ(closings, 1);
  std::ostringstream out2;
  status = runScript(parseScript("expect-window PRUEBA\nquit\n"), out2);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(out2.str(), "línea 1: ventana activa PRINCIPAL\n");
  EXPECT_THROW(parseScript("set 501 \"sin cerrar\n"), std::runtime_error);
}

TEST_F(WindowLayer, ScriptStepsTakenDuringARunCanCancelItFromItsProgressWindow) {
  auto* screen = open<PRUEBA>(nullptr, "PRUEBA", "01");
  screen->longRun = true;
  std::ostringstream out;
  // The first step waits for 5 texts and arms the second, which presses Cancel 5 texts later.
  int status = runScript(parseScript("on-progress 5 on-progress 5 press 2\n"
                                     "press 301\n"
                                     "expect-window PRUEBA\n"),
                         out);
  EXPECT_EQ(status, 0) << out.str();
  EXPECT_EQ(screen->stoppedAt, 10);
  // Steps written one after another wait in turn, each counting from the one before.
  std::ostringstream out1;
  status = runScript(parseScript("on-progress 4 advance 1500\n"
                                 "on-progress 3 press 2\n"
                                 "press 301\n"),
                     out1);
  EXPECT_EQ(status, 0) << out1.str();
  EXPECT_EQ(screen->stoppedAt, 7);
  // Unarmed, the run goes to its end; an armed step that never comes is dropped with the script.
  std::ostringstream out2;
  status = runScript(parseScript("on-progress 500 press 2\npress 301\n"), out2);
  EXPECT_EQ(status, 0) << out2.str();
  EXPECT_EQ(screen->stoppedAt, 100);
  EXPECT_FALSE(WAIT::putTextHook());
  std::ostringstream out3;
  EXPECT_EQ(runScript(parseScript("on-progress 0 press 2\n"), out3), 1);
}

TEST_F(WindowLayer, MessageBoxesAreRecordedAndAnsweredFromTheQueue) {
  d.answer(lib::IDCANCEL);
  EXPECT_EQ(lib::G().messages->show("¿Seguro?", "Advertencia", 33), lib::IDCANCEL);
  EXPECT_EQ(lib::G().messages->show("Listo", "Aviso", 64), lib::IDOK);
  EXPECT_EQ(lib::G().messages->show("¿Sí?", "Pregunta", lib::MB_YESNO), lib::IDYES);  // its first button
  ASSERT_EQ(d.messages().size(), 3u);
  EXPECT_EQ(d.messages()[0].answer, lib::IDCANCEL);
  EXPECT_EQ(d.messages()[0].flags, 33);
}
