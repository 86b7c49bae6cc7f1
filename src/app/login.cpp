#include "app/login.h"

#include <fstream>

#include "app/leave_flag.h"
#include "app/login_pictures.h"
#include "app/startup.h"
#include "lib/globals.h"
#include "lib/passwords.h"
#include "lib/profile_file.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/driver.h"
#include "win/message_box.h"
#include "win/timers.h"
#include "xbase/file.h"

#ifdef CONFIGURA_HAS_SOUND
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#endif

namespace app {

namespace {

using lib::padded;
using lib::upper;

using lib::Value;
using lib::WDBTable;

const char* kGlobalLockSupervisor =
    "Se encuentra globalmente bloqueado el Acceso al Sistema\rEn su calidad de Supervisor, recuerde desbloquear...";
const char* kGlobalLockOthers =
    "Se encuentra globalmente bloqueado el Acceso al Sistema\rSe le notificará cuando tenga Acceso nuevamente...";
const char* kLeaveSupervisor =
    "Se encuentra globalmente bloqueado el Acceso al Sistema\rEn su calidad de Supervisor, se le permite entrar...";
const char* kUserLocked = "Ud. tiene temporalmente bloqueado el Acceso al Sistema";
const char* kTooMany = "Se ha excedido el número máximo de Intentos permitidos";
const char* kOtherUserFirst = "Sólo el usuario ";
const char* kOtherUserThen =
    " puede desbloquear esta sesión.\rPara trabajar con otro usuario, salga de SALTMERE y vuelva a ingresar.";

int say(const std::string& text, const std::string& title, int flags = lib::MB_OK) {
  return win::MESSAGE_BOX(nullptr, text, title, flags);
}

bool globallyLocked() {
  if (!lib::IS_FILE(nullptr, "F_SYS")) return false;
  auto t = lib::USE(nullptr, "F_SYS");
  t->GoTop();
  return !t->Eof() && t->HasField("BLOQUEADO") && t->N("BLOQUEADO") == 1;
}

void scramble(WDBTable& users) {
  lib::MODIFY(users, [&] {
    users.FieldPut("PASSWORD", Value::chars(lib::ENCRYPT_STRING(users.FieldGet("PASSWORD").text)));
    users.FieldPut("ADASIPA", Value::num(1));
  });
}

// Every plain password of the business becomes scrambled.
void scrambleBusiness(WDBTable& users, const std::string& business) {
  uint32_t current = users.RecNo();
  users.SetOrder("USUARIO5");
  std::string key = lib::businessKey(business) + "0";
  while (users.Seek(key)) scramble(users);  // scrambling takes the record out of this key
  users.SetOrder("USUARIOS");
  users.GoTo(current);
}

void lockUser(WDBTable& users) {
  if (users.N("SUPERVISOR") == 1) return;
  lib::MODIFY(users, [&] {
    users.FieldPut("BLOQUEADO", Value::num(1));
    if (users.HasField("INFO_BLOQ")) users.FieldPut("INFO_BLOQ", Value::chars(lib::INFO_TEXT()));
  });
}

// Copies the accepted user into the process-wide state.
void takeUser(const WDBTable& u, const std::string& business) {
  lib::Globals& g = lib::G();
  g.XSUPERACCESS = u.N("SUPERVISOR") == 1 ? 1 : 0;
  g.XUSER_NUMBER = int(u.N("CODIGO"));
  int style = u.HasField("BUTTONSTYL") ? int(u.N("BUTTONSTYL")) : 0;
  g.XBUTTON_STYLE = style == 1 ? 0 : style == 2 ? 5 : 3;
  g.XU_COMP = business;
  g.XIDIOMA = (u.HasField("IDIOMA") ? int(u.N("IDIOMA")) : 0) + 1;
  g.XFECHA_CLAVE = u.HasField("F_CLAVE") ? std::optional<int32_t>(u.D("F_CLAVE")) : std::nullopt;
  g.XNO_SALIR = u.HasField("NO_SALIR") && u.N("NO_SALIR") == 1 ? 1 : 0;
  g.XUSER_ABREVIA = u.HasField("ABREVIA") ? u.S("ABREVIA") : "XX";
  g.XDBACCESS = {};
  std::string sub = u.HasField("SUBBASE") ? u.S("SUBBASE") : "";
  if (!sub.empty() && lib::IS_FILE(nullptr, "SUBBASES")) {
    auto s = lib::USE(nullptr, "SUBBASES", "SUBBASES");
    if (s->Seek(sub)) g.XDBACCESS = {s->S("DIRECTORIO"), sub};
  }
  if (u.HasField("USERNAME") && !u.S("USERNAME").empty()) g.XEMAILNAME = u.S("USERNAME");
  if (u.HasField("USERADDR") && !u.S("USERADDR").empty()) g.XEMAILADDR = u.S("USERADDR");
}

}  // namespace

BusinessLimits limitsOf(const std::string& business) {
  BusinessLimits l;
  auto t = lib::USE(nullptr, "NEGOCIOS", "NEGOCIOS");
  if (t->Seek(business)) {
    if (t->HasField("INTENTOS")) l.intentos = int(t->N("INTENTOS"));
    if (t->HasField("DIAS_CLAVE")) {
      l.diasClave = int(t->N("DIAS_CLAVE"));
      l.hasDias = true;
    }
    if (t->HasField("SIZE_CLAVE")) l.sizeClave = int(t->N("SIZE_CLAVE"));
  }
  return l;
}

// The stored password of the user at the current record, as typed.
std::string storedPassword(const WDBTable& users) {
  std::string stored = users.FieldGet("PASSWORD").text;
  bool scrambled = users.HasField("ADASIPA") && users.N("ADASIPA") == 1;
  return scrambled ? lib::DECRYPT_STRING(stored) : stored;
}

std::string storedForm(const WDBTable& users, const std::string& plain) {
  return users.HasField("ADASIPA") ? lib::ENCRYPT_STRING(plain) : plain;
}

UserLogin::Outcome UserLogin::Verificar(const std::string& name, const std::string& password,
                                        const std::string& business, Mode mode) {
  auto users = lib::USE(nullptr, "USUARIOS", "USUARIOS");
  int width = users->driver().field(users->FieldPos("NOMBRE") - 1).length;
  bool found = users->Seek(lib::businessKey(business) + padded(upper(name), size_t(width)));
  enum { None, UnknownUser, WrongPassword } failure = found ? None : UnknownUser;
  if (found && !lib::samePassword(upper(password), upper(storedPassword(*users)))) failure = WrongPassword;
  if (failure == None && users->HasField("ADASIPA") && users->N("ADASIPA") == 0) {
    scramble(*users);
    scrambleBusiness(*users, business);
  }
  bool supervisor = found && users->N("SUPERVISOR") == 1;
  if (mode == Mode::Login) {
    if (globallyLocked()) {
      if (!supervisor) {
        say(kGlobalLockOthers, "ATENCION");
        return Outcome::EndProgram;
      }
      say(kGlobalLockSupervisor, "ATENCION");
    }
    if (std::optional<LeaveFlag> leave = readLeaveFlag(); leave && leave->moduleMustLeave(17)) {
      if (!supervisor) {
        say(kGlobalLockOthers, "ATENCION");
        return Outcome::EndProgram;
      }
      say(kLeaveSupervisor, "ATENCION");
    }
  }
  if (failure == None) {
    if (users->N("BLOQUEADO") == 1 && !supervisor) {
      say(kUserLocked, "ERROR");
      return mode == Mode::Login ? Outcome::EndProgram : Outcome::Refused;
    }
    if (mode == Mode::Session) return Outcome::Accepted;  // the session's own user: nothing to take
    takeUser(*users, business);
    if (mode == Mode::Login && users->HasField("INFO_ENTER"))
      lib::MODIFY(*users, [&] { users->FieldPut("INFO_ENTER", Value::chars(lib::INFO_TEXT())); });
    loginName = upper(name);
    fullName = users->S("USUARIO");
    return Outcome::Accepted;
  }
  say("Acceso Denegado", "Serie Saltmere", lib::MB_OK | lib::MB_ICONEXCLAMATION);
  ++failures;
  BusinessLimits limits = limitsOf(business);
  if (limits.intentos > 0 && failures >= limits.intentos) {
    say(kTooMany, "ERROR");
    if (failure == WrongPassword) lockUser(*users);
    return mode == Mode::Login ? Outcome::EndProgram : Outcome::Refused;
  }
  return Outcome::TryAgain;
}

UserLogin::Outcome UserLogin::Verif_Session(const std::string& name, const std::string& password) {
  // The locked session stays its user's: his open screens, rights, process state and
  // session record. Another user is turned away before his password is looked at, so that
  // nothing of his account (attempts, locks, scrambling) is touched from here.
  const std::string sessionUser = lib::rtrim(loginName);
  if (lib::rtrim(upper(name)) != sessionUser) {  // compared as names are looked up: blank-padded
    say(kOtherUserFirst + sessionUser + kOtherUserThen, "Atención", lib::MB_OK | lib::MB_ICONEXCLAMATION);
    return Outcome::TryAgain;
  }
  return Verificar(name, password, lib::G().XU_COMP, Mode::Session);
}

UserLogin::Outcome UserLogin::VERIF_CHANGE(const std::string& name, const std::string& password,
                                           const std::string& business) {
  return Verificar(name, password, business, Mode::Change);
}

bool UserLogin::Login(const std::string& title) {
  lib::Globals& g = lib::G();
  lib::ProfileFile ini(lib::profilePath("SALTMERE.INI"));
  bool ended = false;
  static constexpr int kWatch = 1;
  auto init = [&](win::ModalDialog& d) {
    d.SetCaption(title);
    showLoginPictures(d);
    win::CCOMBOBOX business(&d, 601);
    auto n = lib::USE(nullptr, "NEGOCIOS", "NEGOCIOS");
    for (n->GoTop(); !n->Eof(); n->Skip()) business.Add(n->S("DESCRIP"), 0, n->S("CODIGO"));
    if (!business.SeekCargo(ini.getString("LAST_NEG", "LAST_NEG")) && business.Count() > 0) business.SetCurItem(1);
    if (g.XADS_INSTALLINFO.size() >= 8) {
      d.SetDlgItemText(401, "Sesiones: " + serverInstallInfo("sessions"));
      d.SetDlgItemText(402, "Versión: " + serverInstallInfo("server_version"));
    }
    win::timers().start(&d, kWatch, 20000, [&d, &ended] {
      if (readLeaveFlag()) {
        ended = true;
        win::ENDDIALOG(d, 0);
      }
    });
    d.SetFocusTo(500);
  };
  auto accept = [&](win::ModalDialog& d) {
    if (d.FocusedControl() == 500) {  // Enter in the name goes on to the password
      d.SetFocusTo(501);
      return false;
    }
    win::CCOMBOBOX business(&d, 601);
    std::string chosen = business.CurCargo();
    if (chosen.empty()) {
      say("Debe seleccionar una compañía válida", "Error", lib::MB_OK | lib::MB_ICONERROR);
      return false;
    }
    Outcome o = Verificar(d.GetDlgItemText(500), d.GetDlgItemText(501), chosen, Mode::Login);
    ini.writeString("LAST_NEG", "LAST_NEG", chosen);
    if (o == Outcome::TryAgain) {
      d.SetDlgItemText(501, "");
      d.SetFocusTo(501);
      return false;
    }
    if (o != Outcome::Accepted) {
      win::ENDDIALOG(d, 0);
      return false;
    }
    playLoginSound();
    return true;
  };
  int code = win::DIALOG_BOX("XLOGINUSR", nullptr, {init, accept, {}, {}, 0});
  (void)ended;
  return code == 1;
}

void recordSession(const std::string& fullName) {
  lib::Globals& g = lib::G();
  std::string alive = g.PATH + "SALTMERE.ALV";
  if (!xbase::fileExists(alive)) std::ofstream(alive).flush();
  auto t = lib::USE(nullptr, "LOG_E_S", "LOG_E_S");
  lib::ADD(*t, [&] {
    t->FieldPut("FECHA", Value::date(lib::XDATE()));
    t->FieldPut("HORA", Value::chars(lib::XTIME()));
    t->FieldPut("USUARIO", Value::chars(fullName));
    if (t->HasField("INFO_USER")) t->FieldPut("INFO_USER", Value::chars(g.windowsUser() + " / " + g.computerName()));
    if (t->HasField("WS_HOST")) t->FieldPut("WS_HOST", Value::chars(upper(g.computerName())));
    if (t->HasField("MODULO")) t->FieldPut("MODULO", Value::chars(g.EXT_MODULO));
    if (t->HasField("ID_USUARIO")) t->FieldPut("ID_USUARIO", Value::chars(g.XUSER_ABREVIA));
    if (t->HasField("POLL_F")) t->FieldPut("POLL_F", Value::date(lib::XDATE()));
    if (t->HasField("POLL_H")) t->FieldPut("POLL_H", Value::chars(lib::XTIME()));
    g.XREC_E_S = t->RecNo();
  });
}

std::optional<int> passwordDays(const std::string& business) {
  BusinessLimits limits = limitsOf(business);
  auto users = lib::USE(nullptr, "USUARIOS", "USUARIO3");
  char code[8];
  std::snprintf(code, sizeof code, "%4d", lib::G().XUSER_NUMBER);
  if (!limits.hasDias || !users->HasField("DIAS_CLAVE") || !users->Seek(lib::businessKey(business) + code))
    return std::nullopt;
  int a = limits.diasClave, b = int(users->N("DIAS_CLAVE"));
  if (a > 0 && b > 0) return std::min(a, b);
  if (a > 0) return a;
  if (b > 0) return b;
  return std::nullopt;
}

bool passwordExpired(const std::string& business) {
  std::optional<int> days = passwordDays(business);
  const std::optional<int32_t>& changed = lib::G().XFECHA_CLAVE;
  if (!days || !changed) return false;
  return *changed == 0 || lib::XDATE() - *changed > *days;
}

bool applyPasswordAge(const std::string& business) {
  return !passwordExpired(business) || ACT_CLAVE(business) == 1;
}

void LOG_PASSWORD(const std::string& oldScrambled, const std::string& newScrambled, WDBTable& users, int origin) {
  if (!users.HasField("ADASIPA") || !lib::IS_FILE(nullptr, "ADASIPA")) return;
  auto log = lib::USE(nullptr, "ADASIPA");
  lib::ADD(*log, [&] {
    log->FieldPut("INFO_USER", Value::chars(lib::INFO_TEXT()));
    log->FieldPut("USUARIO", Value::chars(lib::G().XUSER_ABREVIA));
    log->FieldPut("P1", Value::chars(oldScrambled));
    log->FieldPut("P2", Value::chars(newScrambled));
    log->FieldPut("FECHA", Value::date(lib::XDATE()));
    log->FieldPut("HORA", Value::chars(lib::XTIME()));
    log->FieldPut("NOMBRE", Value::chars(users.S("NOMBRE")));
    log->FieldPut("ORIGEN", Value::num(origin));
  });
}

ChangeResult changePassword(WDBTable& users, const std::string& business, const std::string& rawCurrent,
                            const std::string& rawFresh, const std::string& rawVerification, int origin, int& misses) {
  std::string current = upper(rawCurrent), fresh = upper(rawFresh), verification = upper(rawVerification);
  auto trimmed = [](std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  };
  if (users.Eof()) {
    say("Usuario Inexistente", "Error", lib::MB_OK | lib::MB_ICONERROR);
    return ChangeResult::TryAgain;
  }
  BusinessLimits limits = limitsOf(business);
  int minimum = std::max({limits.sizeClave, users.HasField("SIZE_CLAVE") ? int(users.N("SIZE_CLAVE")) : 0, 3});
  if (int(trimmed(fresh).size()) < minimum) {
    say("La Clave Nueva debe tener al menos " + std::to_string(minimum) + " dígitos", "Error",
        lib::MB_OK | lib::MB_ICONERROR);
    return ChangeResult::TryAgain;
  }
  if (!lib::samePassword(current, upper(storedPassword(users)))) {
    say("La Clave de Acceso Actual no coincide con la verificación", "Error", lib::MB_OK | lib::MB_ICONERROR);
    ++misses;
    if (misses >= std::max(limits.intentos, 1)) {  // a limit of 0 is reached at the first miss
      say(kTooMany, "Error", lib::MB_OK | lib::MB_ICONERROR);
      lockUser(users);
      return ChangeResult::Exhausted;
    }
    return ChangeResult::TryAgain;
  }
  if (!lib::samePassword(fresh, verification)) {
    say("La Clave de Acceso Nueva no coincide con la verificación", "Error", lib::MB_OK | lib::MB_ICONERROR);
    return ChangeResult::TryAgain;
  }
  if (lib::samePassword(fresh, current)) {
    say("La Clave de Acceso Nueva no puede ser igual a la actual", "Error", lib::MB_OK | lib::MB_ICONERROR);
    return ChangeResult::TryAgain;
  }
  std::string stored = users.FieldGet("PASSWORD").text;
  std::string oldScrambled =
      users.HasField("ADASIPA") && users.N("ADASIPA") == 1 ? stored : lib::ENCRYPT_STRING(stored);
  std::string newStored = storedForm(users, padded(trimmed(fresh), 10));
  lib::MODIFY(users, [&] {
    users.FieldPut("PASSWORD", Value::chars(newStored));
    if (users.HasField("ADASIPA")) users.FieldPut("ADASIPA", Value::num(1));
    if (users.HasField("F_CLAVE")) users.FieldPut("F_CLAVE", Value::date(lib::XDATE()));
    if (users.HasField("H_CLAVE")) users.FieldPut("H_CLAVE", Value::chars(lib::XTIME()));
    if (users.HasField("INFO_CLAVE")) users.FieldPut("INFO_CLAVE", Value::chars(lib::INFO_TEXT()));
  });
  LOG_PASSWORD(oldScrambled, newStored, users, origin);
  lib::G().XFECHA_CLAVE = lib::XDATE();
  say("La Clave fue actualizada con Éxito", "Informe", lib::MB_OK | lib::MB_ICONINFORMATION);
  return ChangeResult::Changed;
}

int ACT_CLAVE(const std::string& business) {
  if (!lib::G().XFECHA_CLAVE) return 1;
  int misses = 0;
  auto accept = [&](win::ModalDialog& d) {
    int focus = d.FocusedControl();
    if (focus == 501 || focus == 502) {  // Enter moves 501 -> 502 -> 503 -> Aceptar
      d.SetFocusTo(focus + 1);
      return false;
    }
    auto users = lib::USE(nullptr, "USUARIOS", "USUARIO3");
    char code[8];
    std::snprintf(code, sizeof code, "%4d", lib::G().XUSER_NUMBER);
    if (!users->Seek(lib::businessKey(business) + code)) users->GoTo(users->RecCount() + 1);
    ChangeResult r = changePassword(*users, business, d.GetDlgItemText(501), d.GetDlgItemText(502),
                                    d.GetDlgItemText(503), 1, misses);
    if (r == ChangeResult::Exhausted) win::ENDDIALOG(d, 0);
    return r == ChangeResult::Changed;
  };
  return win::DIALOG_BOX("ACT_CLAVE", nullptr, {[](win::ModalDialog& d) { d.SetFocusTo(501); }, accept, {}, {}, 0});
}

void playLoginSound() {
#ifdef CONFIGURA_HAS_SOUND
  std::string path = xbase::findFileNoCase(lib::G().PATH + "SALTMERE.WAV");
  if (path.empty() || win::isVirtualTime() || win::Driver::installed() || QMediaDevices::audioOutputs().isEmpty())
    return;
  static QSoundEffect* effect = new QSoundEffect;
  effect->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
  effect->play();
#endif
}

}  // namespace app
