// The run-time error handler on real tables: the texts it builds, the errors it answers
// by itself, what it writes to ERROR, LOG_E_S and E_MSGS, the mail it sends, and how the
// window's answer is honoured.
#include <gtest/gtest.h>

#include <chrono>

#include "app/error_handler.h"
#include "app/error_mail.h"
#include "lib/call_stack.h"
#include "lib/catalogue.h"
#include "lib/errors.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "support/fake_smtp.h"
#include "support/program_folder.h"

using namespace app;
using lib::activeCallLevels;
using lib::CallLevel;
using lib::CallLevelInfo;
using lib::G;
using lib::Value;
using testing_support::closedPort;
using testing_support::FakeSmtp;
using testing_support::ProgramFolder;

namespace {

struct WindowCall {
  std::string message, report;
  bool canRetry = false, canDefault = false;
};

class ErrorHandler : public ::testing::Test {
 protected:
  ProgramFolder p;
  std::vector<WindowCall> calls;
  std::vector<ErrorAction> answers;  // consumed from the front; Default when empty

  void SetUp() override {
    resetErrorHandler();
    setErrorWindow([this](const std::string& m, const std::string& r, bool retry, bool dflt) {
      calls.push_back({m, r, retry, dflt});
      if (answers.empty()) return ErrorAction::Default;
      ErrorAction a = answers.front();
      answers.erase(answers.begin());
      return a;
    });
  }
  void TearDown() override { resetErrorHandler(); }

  // BASES/NAME.DBF as the catalogue defines it.
  void create(const std::string& name) {
    const lib::CatalogueTable* t = lib::Catalogue::builtIn().find(name);
    ASSERT_NE(t, nullptr) << name;
    xbase::DbfTable::create(p.bases(name + ".DBF"), t->fields, t->tags);
  }
  std::unique_ptr<xbase::DbfTable> read(const std::string& name) {
    return xbase::DbfTable::open(p.bases(name + ".DBF"));
  }
};

xbase::Error writeError() {
  return xbase::Error(xbase::EG_WRITE, xbase::SC_WRITE, "escritura fallida", "ROOMS.DBF", 5);
}

std::string today() {
  return lib::DTOC(lib::XDATE());
}

std::string rtrim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

void mailSettings(int port) {
  lib::Globals& g = G();
  g.XEMAILHOST = "127.0.0.1";
  g.XEMAIL_SMTP_PORT = port;
  g.XEMAILADDR = "hotel@ejemplo.com";
  g.XEMAILNAME = "Recepción";
  g.XEMAILDEST = "soporte@ejemplo.com";
  g.XEMAIL_ID = "Hotel Central";
}

}  // namespace

// --- Texts ---------------------------------------------------------------------------

TEST_F(ErrorHandler, MessageNamesSubsystemSubCodeDescriptionAndFileOrOperation) {
  EXPECT_EQ(errorMessage(xbase::Error(xbase::EG_CORRUPTION, xbase::SC_BAD_TABLE, "cabecera dañada", "ROOMS.DBF")),
            "Error DBFCDX/1012  cabecera dañada: ROOMS.DBF");
  // The file wins over the operation.
  EXPECT_EQ(errorMessage(xbase::Error(xbase::EG_OPEN, xbase::SC_OPEN_DBF, "no se abre", "TARIFAS.DBF", 2, "USE")),
            "Error DBFCDX/1001  no se abre: TARIFAS.DBF");
  EXPECT_EQ(errorMessage(xbase::Error(xbase::EG_ARG, xbase::SC_VALUE, "argumento inválido", "", 0, "SEEK")),
            "Error DBFCDX/1022  argumento inválido: SEEK");
  // No subsystem, no sub-code, nothing to name.
  xbase::Error bare(xbase::EG_ARG, 0, "sin datos");
  bare.setSubsystem("");
  EXPECT_EQ(errorMessage(bare), "Error ??\?/???  sin datos");
  EXPECT_EQ(errorMessage(lib::TransactionAbort("bloqueado")), "Error ADSCDX/9000  transacción abortada: bloqueado");
}

TEST_F(ErrorHandler, DetailListsTheCallLevelsInnermostFirst) {
  xbase::Error e = writeError();
  EXPECT_EQ(errorDetail(e), "File: ROOMS.DBF GenCode: 24 OsCode: 5\r\n");
  int outerLine = 0, innerLine = 0;
  {
    CALL_LEVEL_NAMED("ROOMS:ADD_ROOMS");
    outerLine = __LINE__ - 1;
    CallLevel noLine("SIN_LINEA", 0);  // a level without a line number is not listed
    auto inner = [&] {
      CALL_LEVEL();
      innerLine = __LINE__ - 1;
      return errorDetail(e);
    };
    std::string detail = inner();
    EXPECT_EQ(detail, "File: ROOMS.DBF GenCode: 24 OsCode: 5\r\nCalled from operator()(" + std::to_string(innerLine) +
                          ")\r\nCalled from ROOMS:ADD_ROOMS(" + std::to_string(outerLine) + ")\r\n");
    std::vector<CallLevelInfo> levels = activeCallLevels();
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0].routine, "SIN_LINEA");
    EXPECT_EQ(levels[1].routine, "ROOMS:ADD_ROOMS");
  }
  EXPECT_TRUE(activeCallLevels().empty());  // levels end with their scope
  xbase::Error noFile(xbase::EG_ARG, 0, "x");
  EXPECT_EQ(errorDetail(noFile), "File:  GenCode: 1 OsCode: 0\r\n");
}

// The handler runs where the failure is caught: the levels it unwound are still reported
// there, innermost first, and forgotten once the program goes on.
TEST_F(ErrorHandler, TheLevelsAFailureLeftAreReportedWhereItIsCaughtThenForgotten) {
  auto failing = [] {
    CALL_LEVEL_NAMED("HCAJAS:PROCESAR");
    throw writeError();
  };
  try {
    CALL_LEVEL_NAMED("HCAJAS:INIT");
    failing();
  } catch (const xbase::Error&) {
    std::vector<CallLevelInfo> levels = activeCallLevels();
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0].routine, "HCAJAS:PROCESAR");
    EXPECT_EQ(levels[1].routine, "HCAJAS:INIT");
  }
  { CALL_LEVEL_NAMED("OTRA_OPERACION"); }
  EXPECT_TRUE(activeCallLevels().empty());
  // A second failure reports its own levels, not the first one's.
  try {
    failing();
  } catch (const xbase::Error&) {
    ASSERT_EQ(activeCallLevels().size(), 1u);
  }
  try {
    failing();
  } catch (const xbase::Error&) {
    EXPECT_EQ(activeCallLevels().size(), 1u);
  }
  lib::forgetUnwoundLevels();
  EXPECT_TRUE(activeCallLevels().empty());
}

TEST_F(ErrorHandler, ReportHasModuleDateComputerUserMessageAndDetailEachOnItsLine) {
  xbase::Error e = writeError();
  EXPECT_EQ(errorReport(e), "Módulo  : CNF\r\nFecha/H.: " + today() +
                                " 09:00:00\r\nComputer: ESTACION1\r\nV32 WinUser : tester\r\n"
                                "Error DBFCDX/1011  escritura fallida: ROOMS.DBF\r\n"
                                "File: ROOMS.DBF GenCode: 24 OsCode: 5\r\n");
  EXPECT_EQ(today().size(), 8u);  // dd/mm/yy
  EXPECT_EQ(today()[2], '/');
}

// --- Errors answered without a window -------------------------------------------------

TEST_F(ErrorHandler, SharingViolationsAndRefusedAppendsDefaultSilently) {
  create("ERROR");
  create("E_MSGS");
  xbase::Error open(xbase::EG_OPEN, xbase::SC_OPEN_DBF, "compartido", "ROOMS.DBF", 32);
  xbase::Error other(2006, 0, "compartido", "ROOMS.DBF", 32);
  xbase::Error append(xbase::EG_APPENDLOCK, xbase::SC_LOCK, "sin bloqueo de cabecera", "ROOMS.DBF");
  for (xbase::Error* e : {&open, &other, &append}) {
    e->setDefault(true);
    EXPECT_EQ(ERRORSYS_HANDLE(*e), ErrorAction::Default);
  }
  EXPECT_EQ(ERRORSYS_HANDLE(xbase::Error(xbase::EG_ARG, 6313, "cero")), ErrorAction::Default);
  EXPECT_EQ(ERRORSYS_HANDLE(xbase::Error(xbase::EG_ARG, 6102, "cero")), ErrorAction::Default);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(read("ERROR")->recCount(), 0u);
  EXPECT_FALSE(G().XINERRORSYS);

  // The same open failure that may not default is an ordinary error.
  xbase::Error strict(xbase::EG_OPEN, xbase::SC_OPEN_DBF, "compartido", "ROOMS.DBF", 32);
  strict.setRetry(true);
  EXPECT_EQ(ERRORSYS_HANDLE(strict), ErrorAction::Quit);  // Default was not offered
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].canRetry);
  EXPECT_FALSE(calls[0].canDefault);
}

// --- What an ordinary error leaves behind ----------------------------------------------

TEST_F(ErrorHandler, AnOrdinaryErrorIsWrittenToTheErrorTable) {
  create("ERROR");
  create("E_MSGS");
  xbase::Error e = writeError();
  e.setDefault(true);
  EXPECT_EQ(ERRORSYS_HANDLE(e), ErrorAction::Default);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].message, errorMessage(e));
  EXPECT_EQ(calls[0].report, errorReport(e));
  auto t = read("ERROR");
  ASSERT_EQ(t->recCount(), 1u);
  t->goTo(1);
  EXPECT_EQ(t->getDate("FECHA"), lib::XDATE());
  EXPECT_EQ(rtrim(t->getString("HORA")), "09:00:00");
  EXPECT_EQ(rtrim(t->getString("DESCRIP")), "Error DBFCDX/1011  escritura fallida: ROOMS.DBF");
  EXPECT_EQ(t->getString("DETALLE"), errorReport(e));
  EXPECT_FALSE(G().XINERRORSYS);
  EXPECT_EQ(exitCode(), 0);
}

TEST_F(ErrorHandler, TheSessionRecordGetsTheErrorFlattened) {
  create("ERROR");
  create("E_MSGS");
  create("LOG_E_S");
  {
    auto log = lib::USE(nullptr, "LOG_E_S");
    for (int i = 0; i < 2; ++i) lib::ADD(*log, [&] { log->FieldPut("USUARIO", Value::chars("ANA")); });
    lib::KILLTABLA(log);
  }
  G().XREC_E_S = 2;
  xbase::Error e = writeError();
  e.setDefault(true);
  int line = 0;
  {
    CALL_LEVEL_NAMED("ROOMS:ADD_ROOMS");
    line = __LINE__ - 1;
    ERRORSYS_HANDLE(e);
  }
  auto t = read("LOG_E_S");
  t->goTo(1);
  EXPECT_EQ(t->getDate("FECHA_SAL"), 0);
  EXPECT_EQ(rtrim(t->getString("ERR_CHECK")), "");
  t->goTo(2);
  EXPECT_EQ(t->getDate("FECHA_SAL"), lib::XDATE());
  EXPECT_EQ(rtrim(t->getString("HORA_SAL")), "09:00:00");
  EXPECT_EQ(rtrim(t->getString("ERR_CHECK")), "*");
  EXPECT_EQ(t->getString("DESC_ERR"),
            "Error DBFCDX/1011  escritura fallida: ROOMS.DBF|Módulo  : CNF Fecha/H.: " + today() +
                " 09:00:00 Computer: ESTACION1 V32 WinUser : tester "
                "Error DBFCDX/1011  escritura fallida: ROOMS.DBF "
                "File: ROOMS.DBF GenCode: 24 OsCode: 5 > ROOMS:ADD_ROOMS(" +
                std::to_string(line) + ") ");
}

TEST_F(ErrorHandler, ASessionTableWithoutTheErrorFieldsStillGetsTheExitTime) {
  create("ERROR");
  create("E_MSGS");
  p.table("LOG_E_S.DBF", {{"FECHA", 'D', 8}, {"HORA", 'C', 8}, {"FECHA_SAL", 'D', 8}, {"HORA_SAL", 'C', 8}});
  {
    auto log = lib::USE(nullptr, "LOG_E_S");
    lib::ADD(*log, [&] { log->FieldPut("HORA", Value::chars("08:00:00")); });
    lib::KILLTABLA(log);
  }
  G().XREC_E_S = 1;
  testing::internal::CaptureStderr();
  ERRORSYS_HANDLE(writeError());
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.find("LOG_E_S"), std::string::npos) << err;
  auto t = read("LOG_E_S");
  t->goTo(1);
  EXPECT_EQ(t->getDate("FECHA_SAL"), lib::XDATE());
  EXPECT_EQ(rtrim(t->getString("HORA_SAL")), "09:00:00");
}

TEST_F(ErrorHandler, TheReportIsQueuedInEMsgsWhenMailsAreNotSentAtOnce) {
  create("ERROR");
  create("E_MSGS");
  mailSettings(25);
  xbase::Error e = writeError();
  ERRORSYS_HANDLE(e);
  auto t = read("E_MSGS");
  ASSERT_EQ(t->recCount(), 1u);
  t->goTo(1);
  EXPECT_EQ(t->getDate("FECHA"), lib::XDATE());
  EXPECT_EQ(rtrim(t->getString("HORA")), "09:00:00");
  EXPECT_EQ(rtrim(t->getString("TO_USER")), "soporte@ejemplo.com");
  EXPECT_EQ(rtrim(t->getString("SUBJECT")), "Error: Hotel Central");
  EXPECT_EQ(t->getString("BODY"), errorReport(e));
  EXPECT_EQ(rtrim(t->getString("USERNAME")), "Recepción");
  EXPECT_EQ(rtrim(t->getString("USERADDR")), "hotel@ejemplo.com");
  EXPECT_EQ(t->getNumber("ENVIADO"), 0);
  EXPECT_EQ(t->getNumber("LISTO"), 1);
}

TEST_F(ErrorHandler, AMailThatCannotBeSentIsQueuedInstead) {
  create("ERROR");
  create("E_MSGS");
  mailSettings(closedPort());
  G().XEMAILSEND = 1;
  auto start = std::chrono::steady_clock::now();
  testing::internal::CaptureStderr();
  ERRORSYS_HANDLE(writeError());
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_NE(err.find("E_MSGS"), std::string::npos) << err;
  auto t = read("E_MSGS");
  ASSERT_EQ(t->recCount(), 1u);
  t->goTo(1);
  EXPECT_EQ(rtrim(t->getString("SUBJECT")), "Error: Hotel Central");
  EXPECT_EQ(t->getNumber("ENVIADO"), 0);
}

TEST_F(ErrorHandler, AMailSentAtOnceReachesTheServerAndIsNotQueued) {
  create("ERROR");
  create("E_MSGS");
  FakeSmtp server;
  ASSERT_NE(server.port, 0);
  mailSettings(server.port);
  G().XEMAILSEND = 1;
  xbase::Error e = writeError();
  ERRORSYS_HANDLE(e);
  server.finish();
  EXPECT_EQ(read("E_MSGS")->recCount(), 0u);
  ASSERT_GE(server.commands.size(), 4u);
  EXPECT_EQ(server.commands[0].substr(0, 5), "EHLO ");
  EXPECT_NE(std::find(server.commands.begin(), server.commands.end(), "MAIL FROM:<hotel@ejemplo.com>"),
            server.commands.end());
  EXPECT_NE(std::find(server.commands.begin(), server.commands.end(), "RCPT TO:<soporte@ejemplo.com>"),
            server.commands.end());
  size_t blank = server.data.find("\r\n\r\n");
  ASSERT_NE(blank, std::string::npos);
  std::string headers = server.data.substr(0, blank + 2), body = server.data.substr(blank + 4);
  EXPECT_NE(headers.find("Subject: Error: Hotel Central\r\n"), std::string::npos) << headers;
  EXPECT_NE(headers.find("To: soporte@ejemplo.com\r\n"), std::string::npos) << headers;
  EXPECT_NE(headers.find("From: =?UTF-8?B?"), std::string::npos) << headers;  // "Recepción" encoded
  EXPECT_NE(headers.find("<hotel@ejemplo.com>\r\n"), std::string::npos) << headers;
  EXPECT_NE(headers.find("Date: "), std::string::npos) << headers;
  EXPECT_NE(headers.find("Content-Type: text/plain; charset=UTF-8\r\n"), std::string::npos) << headers;
  EXPECT_EQ(body, errorReport(e));
}

TEST_F(ErrorHandler, AuthenticatedMailsLogInWithTheConfiguredUser) {
  FakeSmtp server(true);
  ASSERT_NE(server.port, 0);
  MailMessage m;
  m.host = "127.0.0.1";
  m.port = server.port;
  m.fromAddress = "Hotel <hotel@ejemplo.com>";
  m.to = "uno@ejemplo.com; dos@ejemplo.com";
  m.subject = "Prueba";
  m.body = "línea 1\n.línea con punto\nfin";
  m.authenticate = true;
  m.user = "usuario";
  m.password = "clave";
  std::string why;
  EXPECT_TRUE(sendMail(m, &why)) << why;
  server.finish();
  EXPECT_EQ(server.credentials, "AHVzdWFyaW8AY2xhdmU=");  // base64 of "\0usuario\0clave"
  EXPECT_NE(std::find(server.commands.begin(), server.commands.end(), "RCPT TO:<uno@ejemplo.com>"),
            server.commands.end());
  EXPECT_NE(std::find(server.commands.begin(), server.commands.end(), "RCPT TO:<dos@ejemplo.com>"),
            server.commands.end());
  // The client escaped the leading dot and the server took it off again.
  EXPECT_NE(server.data.find("\r\n\r\nlínea 1\r\n..línea con punto\r\nfin\r\n"), std::string::npos) << server.data;
}

// What the "Probar" button and a resent mail tell the user: the server's own reply.
TEST(ErrorMail, TheServersReplyIsGivenBackWhetherItTookTheMailOrNot) {
  auto message = [](int port) {
    MailMessage m;
    m.host = "127.0.0.1";
    m.port = port;
    m.fromAddress = "hotel@ejemplo.com";
    m.to = "soporte@ejemplo.com";
    m.subject = "Prueba";
    m.body = "Mensaje de prueba";
    return m;
  };
  std::string why, answer;
  {
    FakeSmtp server;
    EXPECT_TRUE(sendMail(message(server.port), &why, &answer)) << why;
  }
  EXPECT_EQ(answer, "250 queued as 4711");
  {
    FakeSmtp refusing(false, true);
    EXPECT_FALSE(sendMail(message(refusing.port), &why, &answer));
  }
  EXPECT_EQ(answer, "550 5.1.1 mailbox unavailable");
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(sendMail(message(closedPort()), &why, &answer));
  EXPECT_EQ(answer, "");  // nobody answered
  EXPECT_NE(why.find("127.0.0.1"), std::string::npos) << why;
}

TEST(ErrorMail, WithoutAHostNothingIsTried) {
  MailMessage m;
  m.to = "a@b.c";
  std::string why;
  EXPECT_FALSE(sendMail(m, &why));
  EXPECT_NE(why.find("HOST"), std::string::npos);
}

TEST(ErrorMail, MessageTextHasHeadersAndCrLfLines) {
  MailMessage m;
  m.fromAddress = "hotel@ejemplo.com";
  m.to = "a@ejemplo.com";
  m.subject = "Error: Posada Añil\r\nBcc: x@y.z";  // a line break cannot add a header
  m.body = "uno\r\ndos\rtres\ncuatro";
  std::string text = mailText(m);
  EXPECT_NE(text.find("From: hotel@ejemplo.com\r\n"), std::string::npos);
  EXPECT_EQ(text.find("\r\nBcc:"), std::string::npos);
  EXPECT_NE(text.find("Subject: =?UTF-8?B?"), std::string::npos);
  EXPECT_NE(text.find("\r\n\r\nuno\r\ndos\r\ntres\r\ncuatro\r\n"), std::string::npos) << text;
}

// --- The window's answer ----------------------------------------------------------------

TEST_F(ErrorHandler, RetryIsOfferedOnlyWhenTheErrorCanBeRetried) {
  create("ERROR");
  create("E_MSGS");
  xbase::Error locked(xbase::EG_LOCK, xbase::SC_LOCK, "registro bloqueado", "ROOMS.DBF");
  locked.setRetry(true).setDefault(true);
  answers = {ErrorAction::Retry};
  EXPECT_EQ(ERRORSYS_HANDLE(locked), ErrorAction::Retry);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].canRetry);
  EXPECT_TRUE(calls[0].canDefault);

  // A window answering a button it did not offer is taken as Salir.
  xbase::Error fixed = writeError();
  fixed.setDefault(true);
  answers = {ErrorAction::Retry};
  EXPECT_EQ(ERRORSYS_HANDLE(fixed), ErrorAction::Quit);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_FALSE(calls[1].canRetry);
  EXPECT_EQ(exitCode(), 1);
}

TEST_F(ErrorHandler, GuardedRetriesReturnsTheFallbackAndEndsOnQuit) {
  create("ERROR");
  create("E_MSGS");
  xbase::Error locked(xbase::EG_LOCK, xbase::SC_LOCK, "registro bloqueado", "ROOMS.DBF");
  locked.setRetry(true).setDefault(true);

  int runs = 0;
  answers = {ErrorAction::Retry};
  EXPECT_EQ(guarded(
                [&] {
                  if (++runs == 1) throw locked;
                  return 7;
                },
                -1),
            7);
  EXPECT_EQ(runs, 2);

  answers = {ErrorAction::Default};
  EXPECT_FALSE(guarded([&]() -> bool { throw locked; }, false));

  // A soft failure defaults without asking.
  xbase::Error shared(xbase::EG_OPEN, xbase::SC_OPEN_DBF, "compartido", "ROOMS.DBF", 32);
  shared.setDefault(true);
  size_t asked = calls.size();
  EXPECT_EQ(guarded([&]() -> std::string { throw shared; }, std::string("nada")), "nada");
  EXPECT_EQ(calls.size(), asked);

  bool finished = false;
  answers = {ErrorAction::Default};
  guarded([&] {
    throw locked;
    finished = true;
  });
  EXPECT_FALSE(finished);

  EXPECT_EQ(exitCode(), 0);
  answers = {ErrorAction::Quit};
  EXPECT_THROW(guarded([&] { throw locked; }), ProgramQuit);
  EXPECT_EQ(exitCode(), 1);
}

TEST_F(ErrorHandler, OtherExceptionsAreReportedAsRuntimeErrorsThatMayBeIgnored) {
  create("ERROR");
  create("E_MSGS");
  answers = {ErrorAction::Default};
  EXPECT_EQ(guarded([]() -> int { throw std::out_of_range("índice fuera de rango"); }, 0), 0);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].message, "Error ??\?/???  índice fuera de rango");
  EXPECT_TRUE(calls[0].canDefault);
  EXPECT_FALSE(calls[0].canRetry);
}

TEST_F(ErrorHandler, QuitWritesTheSessionAgainSetsTheExitCodeAndCommitsTheTables) {
  create("ERROR");
  create("E_MSGS");
  create("LOG_E_S");
  p.table("ROOMS.DBF", {{"CODIGO", 'C', 15}});
  auto log = lib::USE(nullptr, "LOG_E_S");
  lib::ADD(*log, [&] { log->FieldPut("USUARIO", Value::chars("ANA")); });
  G().XREC_E_S = 1;
  auto rooms = lib::USE(nullptr, "ROOMS");
  int selected = lib::SELECTED();

  // The window takes a minute: the exit time written on Salir is the later one.
  setErrorWindow([&](const std::string& m, const std::string& r, bool retry, bool dflt) {
    calls.push_back({m, r, retry, dflt});
    G().clock->busyWait(60000);
    return ErrorAction::Quit;
  });
  EXPECT_EQ(ERRORSYS_HANDLE(writeError()), ErrorAction::Quit);
  EXPECT_EQ(exitCode(), 1);
  EXPECT_FALSE(G().XINERRORSYS);
  EXPECT_EQ(G().XCOMMITALL, 0);
  EXPECT_EQ(lib::SELECTED(), selected);  // what the failing code had selected
  auto t = read("LOG_E_S");
  t->goTo(1);
  EXPECT_EQ(rtrim(t->getString("HORA_SAL")), "09:01:00");
  EXPECT_EQ(rtrim(t->getString("ERR_CHECK")), "*");
  EXPECT_EQ(read("ERROR")->recCount(), 1u);
}

TEST_F(ErrorHandler, ASecondErrorWhileTheWindowShowsOpensNoSecondWindow) {
  create("ERROR");
  create("E_MSGS");
  ErrorAction nested = ErrorAction::Quit;
  std::string err;
  setErrorWindow([&](const std::string& m, const std::string& r, bool retry, bool dflt) {
    calls.push_back({m, r, retry, dflt});
    // A timer that ran while the window waited failed too.
    testing::internal::CaptureStderr();
    nested = ERRORSYS_HANDLE(xbase::Error(xbase::EG_READ, xbase::SC_READ, "lectura fallida", "TARIFAS.DBF"));
    err = testing::internal::GetCapturedStderr();
    return ErrorAction::Default;
  });
  xbase::Error e = writeError();
  e.setDefault(true);
  EXPECT_EQ(ERRORSYS_HANDLE(e), ErrorAction::Default);
  EXPECT_EQ(nested, ErrorAction::Default);
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_NE(err.find("Error DBFCDX/1010  lectura fallida: TARIFAS.DBF"), std::string::npos) << err;
  EXPECT_EQ(read("ERROR")->recCount(), 1u);  // only the first error was saved
  EXPECT_FALSE(G().XINERRORSYS);
  EXPECT_EQ(exitCode(), 0);
}

TEST_F(ErrorHandler, AFailureWhileSavingTheErrorDoesNotLoop) {
  // No ERROR, no E_MSGS: every save fails.
  xbase::Error e = writeError();
  e.setDefault(true);
  testing::internal::CaptureStderr();
  EXPECT_EQ(ERRORSYS_HANDLE(e), ErrorAction::Default);
  std::string err = testing::internal::GetCapturedStderr();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].message, errorMessage(e));
  EXPECT_NE(err.find("ERROR"), std::string::npos) << err;
  EXPECT_NE(err.find("correo"), std::string::npos) << err;
  EXPECT_FALSE(G().XINERRORSYS);
  EXPECT_TRUE(G().XFILES_AREA.empty());  // nothing left open
}

TEST_F(ErrorHandler, AnOpenServerTransactionIsRolledBackWithTheMessageAsReason) {
  struct Counting : server::NoServer {
    int rolledBack = 0;
    bool ADSROLLBACK() override { return ++rolledBack, true; }
  };
  create("ERROR");
  create("E_MSGS");
  create("LOG_ROLL");
  auto* s = new Counting;
  G().server.reset(s);
  G().XADSTRANS = 1;
  lib::TransactionAbort abort("El dato se encuentra bloqueado: ROOMS00001");
  answers = {ErrorAction::Quit};
  EXPECT_EQ(ERRORSYS_HANDLE(abort), ErrorAction::Quit);
  ASSERT_EQ(calls.size(), 1u);  // the abort reaches the window like any other error
  EXPECT_EQ(s->rolledBack, 1);
  EXPECT_EQ(G().XADSTRANS, 0);
  EXPECT_EQ(G().XADS_T_ERR, errorMessage(abort));
  auto t = read("LOG_ROLL");
  ASSERT_EQ(t->recCount(), 1u);
  t->goTo(1);
  EXPECT_EQ(rtrim(t->getString("MOTIVO")),
            "Error ADSCDX/9000  transacción abortada: El dato se encuentra bloqueado: ROOMS00001");
}

// An entry from the event loop has no result to default: the user may always go on, the
// step runs again on Reintentar, and Salir ends the program through the quit action.
TEST_F(ErrorHandler, AnEntryFromTheEventLoopIsAbandonedRetriedOrLeftAsTheUserChooses) {
  create("ERROR");
  create("E_MSGS");
  int runs = 0;
  guardedEntry([&] {
    ++runs;
    throw writeError();  // neither retried nor defaulted by itself
  });
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].canDefault);
  EXPECT_FALSE(calls[0].canRetry);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(read("ERROR")->recCount(), 1u);

  answers = {ErrorAction::Retry};
  runs = 0;
  guardedEntry([&] {
    if (++runs == 1) throw xbase::Error(xbase::EG_LOCK, xbase::SC_LOCK, "bloqueado", "ROOMS.DBF").setRetry(true);
  });
  EXPECT_EQ(runs, 2);

  answers = {ErrorAction::Quit};
  int quitWith = -1;
  setQuitAction([&](int code) { quitWith = code; });
  EXPECT_NO_THROW(guardedEntry([] { throw std::runtime_error("inesperado"); }));
  EXPECT_EQ(quitWith, 1);
  EXPECT_EQ(exitCode(), 1);
  setQuitAction({});
}

TEST_F(ErrorHandler, WithoutAWindowTheErrorGoesToStderrAndTheProgramEnds) {
  create("ERROR");
  create("E_MSGS");
  setErrorWindow(nullptr);
  xbase::Error e = writeError();
  e.setDefault(true);
  testing::internal::CaptureStderr();
  EXPECT_EQ(ERRORSYS_HANDLE(e), ErrorAction::Quit);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(errorMessage(e)), std::string::npos) << err;
  EXPECT_NE(err.find("Computer: ESTACION1"), std::string::npos) << err;
  EXPECT_EQ(exitCode(), 1);
}
