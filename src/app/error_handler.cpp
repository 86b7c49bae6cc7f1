#include "app/error_handler.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

#include "app/error_mail.h"
#include "lib/call_stack.h"
#include "lib/errors.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "lib/work_areas.h"

namespace app {

namespace {

const char* const kCrLf = "\r\n";

ErrorWindow& installedWindow() {
  static ErrorWindow w;
  return w;
}

int& exitCodeValue() {
  static int code = 0;
  return code;
}

// Until the window layer installs the dialog (and in tools without windows) the error goes
// to the standard error stream and the program ends.
ErrorAction consoleWindow(const std::string& message, const std::string& report, bool, bool) {
  std::fprintf(stderr, "ERROR DE SISTEMA\n%s\n%s\n", message.c_str(), report.c_str());
  return ErrorAction::Quit;
}

std::string describe(const std::exception& e) {
  if (auto* x = dynamic_cast<const xbase::Error*>(&e)) return errorMessage(*x);
  return e.what();
}

// The handler's own work (saving, mailing, rolling back) must never bring it back to
// itself: a failure there is written to stderr and the handler goes on.
template <typename F>
void sideStep(const char* what, F step) {
  try {
    step();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Error de sistema: no se pudo %s: %s\n", what, describe(e).c_str());
  } catch (...) {
    std::fprintf(stderr, "Error de sistema: no se pudo %s\n", what);
  }
}

// Every open work area, whether a table object or the file bag holds it.
template <typename F>
void forEachOpenArea(F f) {
  lib::Globals& g = lib::G();
  if (!g.areas) return;
  for (int n = 1; n <= lib::WorkAreas::kMaxAreas; ++n)
    if (lib::WorkArea* a = g.areas->area(n); a && a->table) f(*a);
}

void hideDeletedEverywhere() {
  forEachOpenArea([](lib::WorkArea& a) { a.table->setDeletedHidden(true); });
}

void commitAll() {
  lib::Globals& g = lib::G();
  g.XCOMMITALL = 1;
  forEachOpenArea([](lib::WorkArea& a) { sideStep("grabar una tabla abierta", [&] { a.table->flush(); }); });
  g.XCOMMITALL = 0;
}

std::string sessionErrorText(const std::string& message, const std::string& report) {
  std::string flat;
  for (char c : report) {
    if (c == '\n') continue;
    flat += c == '\r' ? ' ' : c;
  }
  const std::string from = "Called from";
  for (size_t at = flat.find(from); at != std::string::npos; at = flat.find(from, at + 1))
    flat.replace(at, from.size(), ">");
  return message + "|" + flat;
}

void saveToErrorTable(const std::string& message, const std::string& report) {
  std::unique_ptr<lib::WDBTable> t = lib::USE(nullptr, "ERROR", "ERROR");
  lib::ADD(*t, [&] {
    t->FieldPut("FECHA", lib::Value::date(lib::XDATE()));
    t->FieldPut("HORA", lib::Value::chars(lib::XTIME()));
    t->FieldPut("DESCRIP", lib::Value::chars(message));
    t->FieldPut("DETALLE", lib::Value::chars(report));
  });
  lib::KILLTABLA(t);
}

void writeSessionRecord(const std::string& message, const std::string& report) {
  lib::Globals& g = lib::G();
  if (g.XREC_E_S == 0) return;
  std::unique_ptr<lib::WDBTable> t = lib::USE(nullptr, "LOG_E_S");
  t->GoTo(g.XREC_E_S);
  if (!t->Eof()) {
    lib::MODIFY(*t, [&] {
      t->FieldPut("FECHA_SAL", lib::Value::date(lib::XDATE()));
      t->FieldPut("HORA_SAL", lib::Value::chars(lib::XTIME()));
      // Older databases lack the error fields.
      if (t->HasField("DESC_ERR")) t->FieldPut("DESC_ERR", lib::Value::chars(sessionErrorText(message, report)));
      if (t->HasField("ERR_CHECK")) t->FieldPut("ERR_CHECK", lib::Value::chars("*"));
    });
  }
  lib::KILLTABLA(t);
}

MailMessage errorMail(const std::string& report) {
  lib::Globals& g = lib::G();
  MailMessage m = settingsMail();
  m.to = g.XEMAILDEST;
  m.subject = "Error: " + g.XEMAIL_ID;
  m.body = report;
  return m;
}

// For the suite's mail sender.
void queueMail(const MailMessage& m) {
  std::unique_ptr<lib::WDBTable> t = lib::USE(nullptr, "E_MSGS", "E_MSGS");
  lib::ADD(*t, [&] {
    t->FieldPut("FECHA", lib::Value::date(lib::XDATE()));
    t->FieldPut("HORA", lib::Value::chars(lib::XTIME()));
    t->FieldPut("TO_USER", lib::Value::chars(m.to));
    t->FieldPut("SUBJECT", lib::Value::chars(m.subject));
    t->FieldPut("BODY", lib::Value::chars(m.body));
    t->FieldPut("USERNAME", lib::Value::chars(m.fromName));
    t->FieldPut("USERADDR", lib::Value::chars(m.fromAddress));
    t->FieldPut("ENVIADO", lib::Value::num(0));
    t->FieldPut("LISTO", lib::Value::num(1));
  });
  lib::KILLTABLA(t);
}

void mailReport(const std::string& report) {
  MailMessage m = errorMail(report);
  if (lib::G().XEMAILSEND == 1) {
    std::string why;
    if (sendMail(m, &why)) return;
    std::fprintf(stderr, "Error de sistema: el correo del error no salió (%s); queda en E_MSGS\n", why.c_str());
  }
  queueMail(m);
}

ErrorAction askWindow(const std::string& message, const std::string& report, const xbase::Error& e) {
  const ErrorWindow& w = installedWindow();
  ErrorAction a = ErrorAction::Quit;
  try {
    a = w ? w(message, report, e.canRetry(), e.canDefault())
          : consoleWindow(message, report, e.canRetry(), e.canDefault());
  } catch (const std::exception& x) {
    // A window that cannot ask leaves only the way out.
    std::fprintf(stderr, "Error de sistema: la ventana de error falló: %s\n", describe(x).c_str());
    return ErrorAction::Quit;
  }
  // A button that was not offered cannot have been pressed; Salir is always there.
  if ((a == ErrorAction::Retry && !e.canRetry()) || (a == ErrorAction::Default && !e.canDefault()))
    return ErrorAction::Quit;
  return a;
}

// What the failing code had selected is selected again, whatever the handler opened.
class KeepSelection {
 public:
  KeepSelection() : area_(lib::G().areas ? lib::G().areas->selected() : 0) {}
  ~KeepSelection() {
    if (lib::G().areas) lib::G().areas->select(area_);
  }
  KeepSelection(const KeepSelection&) = delete;
  KeepSelection& operator=(const KeepSelection&) = delete;

 private:
  int area_;
};

}  // namespace

void setErrorWindow(ErrorWindow w) {
  installedWindow() = std::move(w);
}

int exitCode() {
  return exitCodeValue();
}

void resetErrorHandler() {
  exitCodeValue() = 0;
  installedWindow() = nullptr;
}

std::string errorMessage(const xbase::Error& e) {
  std::string text = "Error ";  // every error of the program is above warning severity
  text += e.subsystem().empty() ? "???" : e.subsystem();
  text += "/";
  text += e.subCode() != 0 ? std::to_string(e.subCode()) : "???";
  text += "  " + e.description();
  if (!e.fileName().empty())
    text += ": " + e.fileName();
  else if (!e.operation().empty())
    text += ": " + e.operation();
  return text;
}

std::string errorDetail(const xbase::Error& e) {
  std::string text = "File: " + e.fileName() + " GenCode: " + std::to_string(e.genCode()) +
                     " OsCode: " + std::to_string(e.osCode()) + kCrLf;
  for (const lib::CallLevelInfo& l : lib::activeCallLevels())
    if (l.line > 0) text += "Called from " + l.routine + "(" + std::to_string(l.line) + ")" + kCrLf;
  return text;
}

std::string errorReport(const xbase::Error& e) {
  lib::Globals& g = lib::G();
  std::string computer = g.computerName ? g.computerName() : std::string();
  std::string user = g.windowsUser ? g.windowsUser() : std::string();
  std::string text;
  text += "Módulo  : " + g.EXT_MODULO + kCrLf;
  text += "Fecha/H.: " + lib::DTOC(lib::XDATE()) + " " + lib::XTIME() + kCrLf;
  text += "Computer: " + computer + kCrLf;
  text += "V32 WinUser : " + user + kCrLf;
  text += errorMessage(e) + kCrLf;
  text += errorDetail(e);
  return text;
}

ErrorAction ERRORSYS_HANDLE(const xbase::Error& e) {
  // Division by zero never gets here: the program divides with lib::DIVIDE.
  if (lib::isNetworkSoftFailure(e)) return ErrorAction::Default;  // the retry loops try again
  if (lib::yieldsZero(e)) return ErrorAction::Default;

  lib::Globals& g = lib::G();
  KeepSelection keep;
  std::string message = errorMessage(e);
  hideDeletedEverywhere();
  if (g.XADSTRANS == 1) {
    g.XADS_T_ERR = message;
    sideStep("deshacer la transacción", [] { lib::ROLLBACK_TRANSACTION(); });
  }
  if (g.XINERRORSYS) {
    // The window is already showing (an error from a message it let run): one window only,
    // but the error is not lost.
    std::fprintf(stderr, "Error de sistema (con la ventana de error abierta): %s\n%s\n", message.c_str(),
                 errorDetail(e).c_str());
    return ErrorAction::Default;
  }
  g.XINERRORSYS = true;
  struct WindowClosed {
    ~WindowClosed() { lib::G().XINERRORSYS = false; }
  } closed;

  std::string report;
  sideStep("armar el reporte del error", [&] { report = errorReport(e); });
  if (report.empty()) report = message;
  sideStep("grabar el error en ERROR", [&] { saveToErrorTable(message, report); });
  sideStep("grabar el error en LOG_E_S", [&] { writeSessionRecord(message, report); });
  sideStep("enviar el error por correo", [&] { mailReport(report); });

  ErrorAction a = askWindow(message, report, e);
  if (a == ErrorAction::Quit) {
    sideStep("grabar la salida en LOG_E_S", [&] { writeSessionRecord(message, report); });
    exitCodeValue() = 1;
    commitAll();
  }
  return a;
}

namespace {

std::function<void(int)>& quitAction() {
  static std::function<void(int)> quit;
  return quit;
}

xbase::Error asRuntimeError(const std::exception& e) {
  xbase::Error x(0, 0, e.what());
  x.setSubsystem("");
  x.setDefault(true);
  return x;
}

}  // namespace

void setQuitAction(std::function<void(int)> quit) {
  quitAction() = std::move(quit);
}

void guardedEntry(const std::function<void()>& step) {
  try {
    while (detail::attempt(step, true) == detail::Attempt::Retry) {
    }
  } catch (const ProgramQuit&) {
    if (quitAction())
      quitAction()(exitCode());
    else
      std::exit(exitCode());
  }
}

namespace detail {

Attempt attempt(const std::function<void()>& op, bool abandonable) {
  auto ask = [abandonable](xbase::Error e) {
    if (abandonable) e.setDefault(true);  // nothing waits for an abandoned entry's result
    ErrorAction a = ERRORSYS_HANDLE(e);
    lib::forgetUnwoundLevels();  // reported: the next failure has its own
    if (a == ErrorAction::Quit) throw ProgramQuit();
    return a == ErrorAction::Retry ? Attempt::Retry : Attempt::Default;
  };
  try {
    op();
    return Attempt::Done;
  } catch (const ProgramQuit&) {
    throw;
  } catch (const xbase::Error& e) {
    return ask(e);
  } catch (const std::exception& e) {
    return ask(asRuntimeError(e));
  }
}

}  // namespace detail

}  // namespace app
