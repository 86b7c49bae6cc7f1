// "Parámetros Globales" of E-Mails (dialog F_MAIL): the DEFMAIL settings the error handler
// mails with, and "Probar".
#include "app/error_mail.h"
#include "app/system_dialogs.h"
#include "app/system_params.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"

namespace app {

namespace {

constexpr int kHost = 500, kSmtpPort = 501, kPop3Port = 502, kName = 503, kAddress = 504, kInstallation = 505;
constexpr int kErrorsTo = 506, kAuthUser = 507, kAuthPassword = 508, kCopy1 = 509, kCopy2 = 510;
constexpr int kSendAtOnce = 1001, kAuthenticate = 1002, kTest = 101;

// The message "Probar" sends: what the dialog shows, saved or not.
MailMessage testMail(const screens::FORM& f, win::ModalDialog& d) {
  const lib::Globals& g = lib::G();
  MailMessage m;
  m.host = f.text(kHost);
  m.port = int(f.number(kSmtpPort));
  m.fromName = f.text(kName);
  m.fromAddress = f.text(kAddress);
  m.to = f.text(kErrorsTo);
  m.authenticate = d.IsDlgButtonChecked(kAuthenticate);
  m.user = f.text(kAuthUser);
  m.password = d.GetDlgItemText(kAuthPassword);
  m.subject = "Prueba: " + f.text(kInstallation);
  m.body = "Mensaje de prueba de Configuración Hotelería, enviado desde " + (g.computerName ? g.computerName() : "") +
           " por " + g.XUSER_ABREVIA + " el " + lib::DTOC(lib::XDATE()) + " a las " + lib::XTIME() + ".\r\n";
  return m;
}

bool PROBAR(const screens::FORM& f, win::ModalDialog& d) {
  if (f.text(kHost).empty()) {
    screens::error("Debe definir el servidor de correo");
    d.SetFocusTo(kHost);
    return true;
  }
  if (f.text(kErrorsTo).empty()) {
    screens::error("Debe definir a quién se envían los errores: el mensaje de prueba va a esa dirección");
    d.SetFocusTo(kErrorsTo);
    return true;
  }
  const MailMessage m = testMail(f, d);
  std::string why, answer;
  const std::string reply = "\rRespuesta del servidor: ";
  if (sendMail(m, &why, &answer))
    screens::notice("El servidor aceptó el mensaje de prueba para " + m.to + "." + reply + answer);
  else
    screens::error("No se pudo enviar el mensaje de prueba.\r" + why + (answer.empty() ? "" : reply + answer));
  return true;
}

}  // namespace

void EMAIL6() {
  // A user's own sender (USUARIOS) replaced the installation's at login and stays so.
  const lib::Globals& g = lib::G();
  std::string ownName, ownAddress;
  {
    auto t = lib::USE(nullptr, "DEFMAIL");
    t->GoTop();
    const bool stored = !t->Eof();
    if (stored && g.XEMAILNAME != t->S("USERNAME")) ownName = g.XEMAILNAME;
    if (stored && g.XEMAILADDR != t->S("USERADDR")) ownAddress = g.XEMAILADDR;
    lib::KILLTABLA(t);
  }
  EDITA_PARAMETROS({"DEFMAIL", "F_MAIL",
                    [](screens::FORM& f, lib::WDBTable* t, win::ModalDialog&) {
                      f.TRIMMED(kHost, t, "HOST");
                      f.NUMBER(kSmtpPort, t, "SMTP_PORT", "99999");
                      f.NUMBER(kPop3Port, t, "POP3_PORT", "99999");
                      f.TRIMMED(kName, t, "USERNAME");
                      f.TRIMMED(kAddress, t, "USERADDR");
                      f.TRIMMED(kInstallation, t, "ID_NAME");
                      f.TRIMMED(kErrorsTo, t, "DESTINO");
                      f.FLAG(kSendAtOnce, t, "SENDMAIL");
                      f.FLAG(kAuthenticate, t, "AUTORIZA");
                      f.TRIMMED(kAuthUser, t, "AUTH_USER");
                      f.TEXT(kAuthPassword, t, "AUTH_PASS");
                      f.TRIMMED(kCopy1, t, "CC_CONF1");
                      f.TRIMMED(kCopy2, t, "CC_CONF2");
                    },
                    [](const screens::FORM& f, win::ModalDialog& d) {
                      if (f.number(kSmtpPort) > 65535 || f.number(kPop3Port) > 65535) {
                        screens::error("Los puertos van de 1 a 65535");
                        d.SetFocusTo(kSmtpPort);
                        return false;
                      }
                      if (d.IsDlgButtonChecked(kAuthenticate) && f.text(kAuthUser).empty()) {
                        screens::error("Debe definir el usuario con que se autentica ante el servidor");
                        d.SetFocusTo(kAuthUser);
                        return false;
                      }
                      return true;
                    },
                    [](const screens::FORM& f, win::ModalDialog& d, int id) { return id == kTest && PROBAR(f, d); },
                    [ownName, ownAddress] {
                      LOAD_DEFMAIL();
                      lib::Globals& state = lib::G();
                      if (!ownName.empty()) state.XEMAILNAME = ownName;
                      if (!ownAddress.empty()) state.XEMAILADDR = ownAddress;
                    }});
}

}  // namespace app
