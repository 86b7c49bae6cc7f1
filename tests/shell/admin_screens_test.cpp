// The administration screens of "Archivo > Mantenimientos" on the demo hotel, where a
// script cannot reach: a mail server of the test's own, another workstation drawing serial
// numbers while a question is on the screen, a log's workbook, and the help page each screen
// asks for.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/optimize.h"
#include "app/principal.h"
#include "lib/globals.h"
#include "lib/messages.h"
#include "lib/record_protocol.h"
#include "lib/serials.h"
#include "lib/use.h"
#include "screens/screen.h"
#include "shell/shell_fixture.h"
#include "support/fake_smtp.h"
#include "support/temp_dir.h"
#include "win/browse.h"
#include "win/driver.h"
#include "win/main_frame.h"

namespace {

using testing_support::FakeSmtp;

class AdminScreens : public ::testing::Test {
 protected:
  win::Driver& d = win::Driver::instance();
  shell_testing::DemoProgram program;

  void run(const std::function<void()>& body) { program.loginAndRun("ADMIN", "ADMIN", body); }
  std::string lastMessage() { return d.messages().empty() ? "" : d.messages().back().text; }
  void useServer(int port) {
    lib::G().XEMAILHOST = "127.0.0.1";
    lib::G().XEMAIL_SMTP_PORT = port;
  }
  double field(const std::string& table, uint32_t recno, const std::string& name) {
    auto t = lib::USE(nullptr, table);
    t->GoTo(recno);
    return t->N(name);
  }
};

TEST_F(AdminScreens, TheTestMessageGoesWithWhatTheDialogShowsAndTellsTheServersReply) {
  FakeSmtp server;
  FakeSmtp refusing(false, true);
  program.loginAndRun(
      "ADMIN", "ADMIN",
      {[&] { ASSERT_TRUE(d.chooseMenu(2987)); },
       [&] {
         ASSERT_EQ(d.activeName(), "F_MAIL");
         d.setText(500, "127.0.0.1");
         d.setText(501, std::to_string(server.port));
         d.setText(504, "sistemas@hotel.example");
         d.setText(506, "soporte@hotel.example");
         d.press(101);
         EXPECT_EQ(lastMessage(),
                   "El servidor aceptó el mensaje de prueba para soporte@hotel.example.\rRespuesta del servidor: "
                   "250 queued as 4711");
         server.finish();
         EXPECT_NE(server.data.find("\r\n\r\nMensaje de prueba de Configuración Hotelería, enviado desde "),
                   std::string::npos)
             << server.data;
         EXPECT_NE(std::find(server.commands.begin(), server.commands.end(), "RCPT TO:<soporte@hotel.example>"),
                   server.commands.end());
         d.setText(501, std::to_string(refusing.port));
         d.press(101);
         EXPECT_EQ(lastMessage().rfind("No se pudo enviar el mensaje de prueba.\r", 0), 0u) << lastMessage();
         EXPECT_NE(lastMessage().find("\rRespuesta del servidor: 550 5.1.1 mailbox unavailable"), std::string::npos)
             << lastMessage();
         d.press(2);  // nothing saved
       }});
  auto mail = lib::USE(nullptr, "DEFMAIL");
  mail->GoTop();
  EXPECT_EQ(mail->S("HOST"), "");
}

TEST_F(AdminScreens, AQueuedMailIsResentAndMarkedSent) {
  FakeSmtp server;
  run([&] {
    useServer(server.port);
    ASSERT_TRUE(d.chooseMenu(6282));
    ASSERT_EQ(d.activeName(), "E_MSGS");
    // Newest first: the report of 13/01, still in the queue (record 3).
    EXPECT_EQ(d.gridCell(700, 1, "Estado"), "En cola");
    ASSERT_TRUE(d.gridRow(700, 1));
    d.press(103);
    EXPECT_EQ(lastMessage(),
              "Mensaje enviado a soporte@hotelprincipal.example.\rEl servidor respondió: 250 queued as 4711");
    server.finish();
    EXPECT_NE(server.data.find("Computer: RECEPCION-01"), std::string::npos);  // the report itself
    EXPECT_EQ(d.gridCell(700, 1, "Estado"), "Enviado");
    EXPECT_EQ(field("E_MSGS", 3, "ENVIADO"), 1);
    size_t shown = d.messages().size();
    d.answer(lib::IDCANCEL);
    d.press(103);  // sent already: asked first
    ASSERT_EQ(d.messages().size(), shown + 1);
    EXPECT_EQ(lastMessage(), "El mensaje ya fue enviado.\r¿Desea enviarlo de nuevo?");
  });
}

// "Optimizar Base de Datos" on every table of the demo at once (their count grows with the
// database): a table open elsewhere is the one left alone, the others lose their deleted
// records.
TEST_F(AdminScreens, OptimisingTheWholeDatabaseLeavesOnlyTheTableOpenElsewhere) {
  {
    auto types = lib::USE(nullptr, "TIPO_ROM");
    types->GoTo(1);
    lib::MODIFY(*types, [&] { types->Delete(); });
  }
  const size_t tables = app::TABLAS_BASE().size();
  ASSERT_GT(tables, 50u);
  std::unique_ptr<lib::WDBTable> held;
  run([&] {
    held = lib::USE(nullptr, "ROOMS");  // another window of this workstation has it open
    ASSERT_TRUE(d.chooseMenu(3167));
    ASSERT_EQ(d.activeName(), "OPT_HOTEL");
    d.answer(lib::IDOK);
    d.press(101);
    EXPECT_EQ(lastMessage(), "Fin de la Optimización: " + std::to_string(tables - 1) +
                                 " tablas optimizadas, 1 omitida (vea la lista).");
    held.reset();
  });
  auto types = lib::USE(nullptr, "TIPO_ROM");
  types->GoTo(1);
  EXPECT_EQ(types->S("CODIGO").substr(0, 3), "DBL");  // the deleted first type is gone
}

// "Exportar a Excel" of a log writes what the filter left, newest first, not the whole log.
TEST_F(AdminScreens, ALogExportsJustTheRecordsItsFilterLeft) {
  testing_support::TempDir folder;
  const std::string path = folder.file("entradas.xlsx");
  win::BrowseHooks saved = win::browseHooks();
  win::browseHooks().saveFileName = [&](QWidget*, const std::string&) { return path; };
  win::browseHooks().openDocument = [](const std::string&) { return true; };
  run([&] {
    ASSERT_TRUE(d.chooseMenu(2590));
    ASSERT_EQ(d.activeName(), "VIEW_E_S");
    d.setText(503, "recepcionista");
    d.press(101);
    ASSERT_TRUE(d.gridMenu(700, "Exportar a Excel"));
  });
  win::browseHooks() = saved;
  std::string sheet;
  ASSERT_EQ(testing_support::runCommand("unzip -p '" + path + "' xl/worksheets/sheet1.xml", &sheet), 0);
  size_t rows = 0;
  for (size_t at = sheet.find("<row "); at != std::string::npos; at = sheet.find("<row ", at + 1)) ++rows;
  EXPECT_EQ(rows, 3u);  // the headings and the two sessions of the front desk
  for (const char* heading : {"Fecha", "Usuario", "Estación", "Salida", "Módulo"})
    EXPECT_NE(sheet.find(std::string("<t>") + heading + "</t>"), std::string::npos) << heading;
  const size_t newer = sheet.find("<t>08:30:00</t>"), older = sheet.find("<t>07:55:40</t>");
  ASSERT_NE(newer, std::string::npos);
  ASSERT_NE(older, std::string::npos);
  EXPECT_LT(newer, older);
  EXPECT_NE(sheet.find("Recepcionista de Turno (REC)"), std::string::npos);
  EXPECT_EQ(sheet.find("Administrador del Sistema"), std::string::npos);
}

// The counter moves on while the user reads the question: the question comes again with the
// new figures, and the number is set only once the user agreed to what it hands out again.
TEST_F(AdminScreens, LoweringASerialAsksAgainWhenAnotherWorkstationDrewMeanwhile) {
  {
    auto t = lib::USE(nullptr, "SERIALES");
    t->GoTo(1);
    lib::MODIFY(*t, [&] { t->FieldPut("NUMERO", lib::Value::num(41)); });
  }
  run([&] {
    ASSERT_TRUE(d.chooseMenu(2841));
    ASSERT_TRUE(d.gridRow(700, 1));
    ASSERT_TRUE(d.chooseMenu(2843));
    ASSERT_EQ(d.activeName(), "EDIT_SERIAL");
    d.setText(506, "10");
    bool drawn = false;
    d.onMessage = [&](const win::RecordedMessage&) {
      if (drawn) return;
      drawn = true;
      for (int i = 0; i < 3; ++i) lib::GET_NXSERIAL(nullptr, "01", "FA");  // another workstation
    };
    d.answer(lib::IDOK);
    d.answer(lib::IDOK);
    d.press(1);
    d.onMessage = nullptr;
    ASSERT_EQ(d.messages().size(), 2u);
    EXPECT_EQ(d.messages()[0].text.rfind(
                  "El próximo número (10) no es mayor que el último número entregado (41).\rLos números 10 a 41 ", 0),
              0u)
        << d.messages()[0].text;
    EXPECT_NE(d.messages()[1].text.find("entregado (44).\rLos números 10 a 44 se entregarían de nuevo"),
              std::string::npos)
        << d.messages()[1].text;
    EXPECT_EQ(d.activeName(), "MANT_SERIAL");
  });
  EXPECT_EQ(field("SERIALES", 1, "NUMERO"), 9);
}

TEST_F(AdminScreens, EachScreenAsksForThePageOfTheMenuEntryThatOpenedIt) {
  run([&] {
    win::MainFrame& frame = program.principal().frame();
    EXPECT_EQ(screens::helpTopic(frame.activeScreen()), "INDEX");
    ASSERT_TRUE(d.chooseMenu(3091));
    EXPECT_EQ(screens::helpTopic(frame.activeScreen()), "3091");
    ASSERT_TRUE(d.gridRow(700, 1));
    ASSERT_TRUE(d.chooseMenu(3093));
    ASSERT_EQ(d.activeName(), "AGREGAR_TIPO_ROM");
    EXPECT_EQ(screens::helpTopic(frame.activeScreen()), "3091");  // the editor: its list's page
    d.closeActive();
    ASSERT_TRUE(d.chooseMenu(9001));
    ASSERT_EQ(d.activeName(), "HIST_CAM");
    EXPECT_EQ(screens::helpTopic(frame.activeScreen()), "HIST_CAMBIOS");
  });
}

}  // namespace
