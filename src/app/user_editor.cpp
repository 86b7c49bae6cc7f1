#include "app/user_editor.h"

#include <algorithm>

#include "app/login.h"
#include "app/rights_store.h"
#include "app/users_screen.h"
#include "lib/globals.h"
#include "lib/messages.h"
#include "lib/passwords.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/history.h"
#include "win/controls.h"
#include "win/entry_filters.h"
#include "win/message_box.h"

namespace app {

namespace {

using lib::padded;
using lib::trim;
using lib::upper;

using lib::Value;
using win::WCONTROL;
using win::WDIAG;

constexpr int kName = 500, kLogin = 501, kPassword = 502, kConfirmation = 503, kAbbreviation = 504;
constexpr int kDays = 505, kMinimum = 506, kOverbooking = 510, kSubBase = 601, kLanguage = 602;
constexpr int kSupervisor = 1001;

// The check boxes and the numeric flag fields they edit.
constexpr struct {
  int id;
  const char* field;
} kFlags[] = {{1001, "SUPERVISOR"}, {1002, "PERMISO1"}, {1003, "BLOQUEADO"}, {1004, "PRECIO_ESP"},
              {1005, "NO_SALIR"},   {1006, "NO_CHAT"},  {1007, "T_SESION"}};

const char* kOnlySupervisor =
    "Debe haber al menos un usuario Supervisor.\r\nEn vista de que no existe tal Supervisor, \r\nel presente usuario "
    "será designado como   \r\nSupervisor.  Queda a su criterio crear un \r\nnuevo Supervisor, o dejar el "
    "presente.\r\n";

int say(const std::string& text, const std::string& title, int flags = lib::MB_OK | lib::MB_ICONEXCLAMATION) {
  return win::MESSAGE_BOX(nullptr, text, title, flags);
}

// Button 1 saves, button 2 closes the editor.
void saveAndCancel(WDIAG& d, std::function<void()> save) {
  d.ADD_BUTTON(win::IDOK, [save] { save(); });
  d.ADD(std::make_unique<win::WPUSHBUTTON>(&d, win::IDCANCEL), [](WDIAG& self, WCONTROL&, int) {
    self.ENDDIALOG();
    return 1;
  });
}

int numberIn(const WDIAG& d, int id) {
  return std::atoi(d.GetDlgItemText(id).c_str());
}

}  // namespace

int supervisorsOf(const std::string& business) {
  auto t = lib::USE(nullptr, "USUARIOS", "USUARIOS");
  std::string key = lib::businessKey(business);
  t->SetScope(Value::chars(key), Value::chars(key));
  int n = 0;
  for (t->GoTop(); !t->Eof(); t->Skip()) n += t->N("SUPERVISOR") == 1 ? 1 : 0;
  return n;
}

USER_EDITOR::USER_EDITOR(USUARIOS* list, const std::string& business, Mode mode)
    : SCREEN("EDIT_USER", business), list_(list), mode_(mode) {
  if (mode == kModify) XRECNO = list->USUARIOS_->RecNo();
}

void USER_EDITOR::INIT() {
  if (!Init(list_, DIALOG)) return;
  for (int id : {kName, kLogin, kPassword, kConfirmation, kAbbreviation, kDays, kMinimum, kOverbooking})
    ADD(std::make_unique<win::WEDIT>(this, id));
  ADD(std::make_unique<win::CCOMBOBOX>(this, kSubBase));
  ADD(std::make_unique<win::CCOMBOBOX>(this, kLanguage));
  for (const auto& f : kFlags) ADD(std::make_unique<win::WCHECKBOX>(this, f.id));
  saveAndCancel(*this, [this] { SAVE_DATOS(); });
  CREATE(DIALOG);
  LOAD_IDIOMAS();
  LOAD_SUBBASES();
  if (mode_ == kModify) readRecord();
  for (int id : {kDays, kMinimum}) {
    win::WEDIT edit(this, id);
    win::ONLYNUMBER(edit, "999");
  }
  EDITOR_OF(list_);
  SetFocusTo(kName);
}

void USER_EDITOR::LOAD_IDIOMAS() {
  win::CCOMBOBOX languages(this, kLanguage);
  languages.Add("Español", 0, "0");
  languages.Add("2ª Idioma", 0, "1");
  languages.SetCurItem(1);
}

void USER_EDITOR::LOAD_SUBBASES() {
  win::CCOMBOBOX bases(this, kSubBase);
  bases.Add("Base de Datos Principal", 0, "");
  if (lib::IS_FILE(nullptr, "SUBBASES")) {
    auto t = lib::USE(nullptr, "SUBBASES", "SUBBASES");
    for (t->GoTop(); !t->Eof(); t->Skip()) bases.Add(t->S("DESCRIP"), 0, t->S("CODIGO"));
  }
  bases.SetCurItem(1);
}

void USER_EDITOR::readRecord() {
  lib::WDBTable& u = *list_->USUARIOS_;
  u.GoTo(XRECNO);
  SetDlgItemText(kName, u.S("USUARIO"));
  SetDlgItemText(kLogin, u.S("NOMBRE"));
  SetDlgItemText(kAbbreviation, u.HasField("ABREVIA") ? u.S("ABREVIA") : "");
  oldPassword_ = u.FieldGet("PASSWORD").text;
  std::string plain = trim(storedPassword(u));
  SetDlgItemText(kPassword, plain);
  SetDlgItemText(kConfirmation, plain);
  for (const auto& f : kFlags) CheckDlgButton(f.id, u.HasField(f.field) && u.N(f.field) == 1);
  wasSupervisor_ = u.N("SUPERVISOR") == 1;
  auto number = [&](int id, const char* field) {
    if (u.HasField(field)) SetDlgItemText(id, std::to_string(int(u.N(field))));
  };
  number(kDays, "DIAS_CLAVE");
  number(kMinimum, "SIZE_CLAVE");
  if (u.HasField("SOBREVENTA")) SetDlgItemText(kOverbooking, u.S("SOBREVENTA"));
  if (u.HasField("IDIOMA")) win::CCOMBOBOX(this, kLanguage).SeekCargo(std::to_string(int(u.N("IDIOMA"))));
  if (u.HasField("SUBBASE")) win::CCOMBOBOX(this, kSubBase).SeekCargo(u.S("SUBBASE"));
  int line = 701;
  for (const char* audit : {"INFO_ENTER", "INFO_BLOQ", "INFO_CLAVE"}) {
    if (u.HasField(audit)) SetDlgItemText(line, u.S(audit));
    ++line;
  }
}

void USER_EDITOR::SAVE_DATOS() {
  const std::string login = upper(trim(GetDlgItemText(kLogin)));
  const std::string abbreviation = upper(trim(GetDlgItemText(kAbbreviation)));
  const std::string password = upper(trim(GetDlgItemText(kPassword)));
  const std::string confirmation = upper(trim(GetDlgItemText(kConfirmation)));
  auto users = lib::USE(this, "USUARIOS", "USUARIOS");
  // There is always a supervisor: the first user of a business, or the only one, stays one.
  int supervisors = supervisorsOf(NEGOCIO);
  if (!IsDlgButtonChecked(kSupervisor) &&
      ((mode_ == kAdd && supervisors == 0) || (mode_ == kModify && wasSupervisor_ && supervisors <= 1))) {
    say(kOnlySupervisor, "ERROR", lib::MB_OK | lib::MB_ICONERROR);
    CheckDlgButton(kSupervisor, true);
  }
  if (login.empty()) {
    say("Debe definirse el Nombre de Usuario", "Error");
    SetFocusTo(kLogin);
    return;
  }
  if (abbreviation.empty()) {
    say("Debe definirse la Abreviatura del Usuario", "Error");
    SetFocusTo(kAbbreviation);
    return;
  }
  int minimum = std::max({limitsOf(NEGOCIO).sizeClave, numberIn(*this, kMinimum), 3});
  if (int(password.size()) < minimum) {
    say("La Clave debe tener al menos " + std::to_string(minimum) + " dígitos", "ATENCION");
    SetFocusTo(kPassword);
    return;
  }
  if (password.size() > 10) {
    say("La Clave no puede tener más de 10 dígitos", "ATENCION");
    SetFocusTo(kPassword);
    return;
  }
  if (password != confirmation) {
    say("Clave distinta a Confirmación", "Error");
    SetFocusTo(kConfirmation);
    return;
  }
  int width = users->driver().field(users->FieldPos("NOMBRE") - 1).length;
  if (users->Seek(lib::businessKey(NEGOCIO) + padded(login, size_t(width))) &&
      (mode_ == kAdd || users->RecNo() != XRECNO)) {
    say("Nombre de Usuario ya existente...", "Error");
    SetFocusTo(kLogin);
    return;
  }

  const std::string stored = storedForm(*users, padded(password, 10));
  int code = 0;
  auto fill = [&] {
    lib::WDBTable& u = *users;
    auto put = [&](const char* field, const Value& v) {
      if (u.HasField(field)) u.FieldPut(field, v);
    };
    if (mode_ == kAdd) {
      put("NEGOCIO", Value::chars(NEGOCIO));
      put("CODIGO", Value::num(code));
    }
    put("USUARIO", Value::chars(trim(GetDlgItemText(kName))));
    put("NOMBRE", Value::chars(login));
    put("ABREVIA", Value::chars(abbreviation));
    for (const auto& f : kFlags) put(f.field, Value::num(IsDlgButtonChecked(f.id) ? 1 : 0));
    put("DIAS_CLAVE", Value::num(numberIn(*this, kDays)));
    put("SIZE_CLAVE", Value::num(numberIn(*this, kMinimum)));
    put("SOBREVENTA", Value::chars(trim(GetDlgItemText(kOverbooking))));
    put("SUBBASE", Value::chars(win::CCOMBOBOX(this, kSubBase).CurCargo()));
    put("IDIOMA", Value::num(std::atoi(win::CCOMBOBOX(this, kLanguage).CurCargo().c_str())));
    bool changed = mode_ == kAdd || !lib::samePassword(password, upper(storedPassword(u)));
    put("PASSWORD", Value::chars(stored));
    put("ADASIPA", Value::num(1));
    if (changed) {
      put("F_CLAVE", Value::date(lib::XDATE()));
      put("H_CLAVE", Value::chars(lib::XTIME()));
      put("INFO_CLAVE", Value::chars(lib::INFO_TEXT()));
    }
    return changed;
  };
  bool changedPassword = false;
  // The change goes into the history with the record, under its lock.
  auto recorded = [&] {
    bool changed = false;
    screens::CON_HISTORIAL(*users, [&] { changed = fill(); });
    return changed;
  };
  if (mode_ == kAdd) {
    code = firstFreeCode(*users, NEGOCIO);
    lib::ADD(*users, [&] { recorded(); });
    createRights(RightsOf::User, NEGOCIO, code);
  } else {
    users->GoTo(XRECNO);
    std::string before = users->FieldGet("PASSWORD").text;
    bool wasScrambled = users->HasField("ADASIPA") && users->N("ADASIPA") == 1;
    lib::MODIFY(*users, [&] { changedPassword = recorded(); });
    if (changedPassword) LOG_PASSWORD(wasScrambled ? before : lib::ENCRYPT_STRING(before), stored, *users, 3);
  }
  uint32_t saved = users->RecNo();
  lib::KILLTABLA(users);
  list_->USUARIOS_->GoTo(saved);
  list_->refreshUsers(mode_ == kAdd);
  ENDDIALOG();
}

PROFILE_EDITOR::PROFILE_EDITOR(USUARIOS* list, const std::string& business, Mode mode)
    : SCREEN("EDIT_PERFIL", business), list_(list), mode_(mode) {}

void PROFILE_EDITOR::INIT() {
  if (!Init(list_, DIALOG)) return;
  ADD(std::make_unique<win::WEDIT>(this, 502));
  saveAndCancel(*this, [this] { SAVE_DATOS(); });
  CREATE(DIALOG);
  if (mode_ == kModify) SetDlgItemText(502, list_->PERFILES->S("DESCRIP"));
  EDITOR_OF(list_);
  SetFocusTo(502);
}

void PROFILE_EDITOR::SAVE_DATOS() {
  std::string description = trim(GetDlgItemText(502));
  if (description.empty()) {
    say("Debe definirse la Descripción del Perfil", "Error");
    return;
  }
  lib::WDBTable& profiles = *list_->PERFILES;
  if (mode_ == kAdd) {
    auto own = lib::USE(this, "PERFILES", "PERFILES");
    int code = firstFreeCode(*own, NEGOCIO);
    lib::ADD(*own, [&] {
      screens::CON_HISTORIAL(*own, [&] {
        own->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
        own->FieldPut("CODIGO", Value::num(code));
        own->FieldPut("DESCRIP", Value::chars(description));
      });
    });
    uint32_t saved = own->RecNo();
    lib::KILLTABLA(own);
    createRights(RightsOf::Profile, NEGOCIO, code);
    profiles.GoTo(saved);
  } else {
    lib::MODIFY(profiles, [&] {
      screens::CON_HISTORIAL(profiles, [&] { profiles.FieldPut("DESCRIP", Value::chars(description)); });
    });
  }
  list_->refreshProfiles(mode_ == kAdd);
  ENDDIALOG();
}

PASSWORD_PARAMS::PASSWORD_PARAMS(USUARIOS* list, const std::string& business)
    : SCREEN("E_CLAVE", business), list_(list) {}

void PASSWORD_PARAMS::INIT() {
  if (!Init(list_, DIALOG)) return;
  for (int id : {500, 501, 502}) ADD(std::make_unique<win::WEDIT>(this, id));
  saveAndCancel(*this, [this] { SAVE_DATOS(); });
  CREATE(DIALOG);
  BusinessLimits l = limitsOf(NEGOCIO);
  SetDlgItemText(500, std::to_string(l.diasClave));
  SetDlgItemText(501, std::to_string(l.sizeClave));
  SetDlgItemText(502, std::to_string(l.intentos));
  for (int id : {500, 501, 502}) {
    win::WEDIT edit(this, id);
    win::ONLYNUMBER(edit, "999");
  }
  EDITOR_OF(list_);
}

void PASSWORD_PARAMS::SAVE_DATOS() {
  auto t = lib::USE(this, "NEGOCIOS", "NEGOCIOS");
  if (!t->Seek(NEGOCIO)) {
    say("No existe la compañía " + NEGOCIO, "Error");
    return;
  }
  lib::MODIFY(*t, [&] {
    screens::CON_HISTORIAL(*t, [&] {
      int id = 500;
      for (const char* field : {"DIAS_CLAVE", "SIZE_CLAVE", "INTENTOS"}) {
        if (t->HasField(field)) t->FieldPut(field, Value::num(numberIn(*this, id)));
        ++id;
      }
    });
  });
  lib::KILLTABLA(t);
  ENDDIALOG();
}

}  // namespace app
