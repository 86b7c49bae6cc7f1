#include "app/users_screen.h"

#include <set>

#include "app/leave_flag.h"
#include "app/principal.h"
#include "app/rights_store.h"
#include "app/rights_tree.h"
#include "app/screens.h"
#include "app/user_editor.h"
#include "lib/globals.h"
#include "lib/messages.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/history.h"
#include "screens/registry.h"
#include "win/controls.h"
#include "win/main_frame.h"
#include "win/message_box.h"
#include "win/wait.h"

namespace app {

namespace {

using lib::Value;
using win::WCONTROL;
using win::WDIAG;

constexpr int kUsersGrid = 700, kProfilesGrid = 701;
constexpr int kGlobalLock = 1004;
constexpr int kFreeAccess = 1101, kAllButSupervisors = 1102, kEverybody = 1103;
constexpr int kFirstModuleBox = 1111, kModuleBoxes = 16;

int say(const std::string& text, const std::string& title, int flags = lib::MB_OK) {
  return win::MESSAGE_BOX(nullptr, text, title, flags);
}

void collectIds(const std::vector<MenuEntry>& entries, std::set<int>& ids) {
  for (const MenuEntry& e : entries) {
    if (e.isMenu()) collectIds(e.submenu, ids);
    if (e.id >= kFirstRight && e.id <= kLastRight) {
      ids.insert(e.id);
      if (const auto* edit = win::editMenuEntries(e.id))
        for (const win::EditEntry& x : *edit)
          if (x.id >= kFirstRight && x.id <= kLastRight) ids.insert(x.id);
    }
  }
}

// The grid after its table gained (+1) or lost (-1) a record, or had one changed (0).
void showChange(win::WBLISTBOX& grid, int delta) {
  grid.nMaxRec = delta < 0 && grid.nMaxRec == 0 ? 0 : uint32_t(int64_t(grid.nMaxRec) + delta);
  grid.SHOWDATA();
  grid.REFRESHALL();
}

}  // namespace

std::vector<int> moduleRightIds() {
  std::set<int> ids;
  collectIds(moduleMenu(), ids);
  return {ids.begin(), ids.end()};
}

USUARIOS::USUARIOS(PRINCIPAL& principal, const std::string& business)
    : LIST_SCREEN("USUARIOS", business,
                  {"USUARIOS",
                   "USUARIOS",
                   kMenuId,
                   {{"ID", "ABREVIA", "@! XXXX", 0, 8},
                    {"Usuario", "USUARIO", "@X " + std::string(26, 'X')},
                    {"Identificación", "NOMBRE", "@! " + std::string(14, 'X')}}}),
      principal_(principal) {}

void USUARIOS::INIT() {
  LIST_SCREEN::INIT();
  if (!window()) return;
  savedMarks_ = principal_.rights.MENU_CHK();
  showLocks();
}

void USUARIOS::AbrirBases() {
  LIST_SCREEN::AbrirBases();
  USUARIOS_ = TABLA;
  PERFILES = USE("PERFILES", "PERFILES");
}

void USUARIOS::BOTONES() {
  OB2 = std::make_unique<win::WBLISTBOX>(this, kProfilesGrid, PERFILES);
  ADD(OB2.get());
  auto button = [this](int id, void (USUARIOS::*op)()) { ADD_BUTTON(id, [this, op] { (this->*op)(); }); };
  button(101, &USUARIOS::ADD_USER);
  button(102, &USUARIOS::MOD_USER);
  button(103, &USUARIOS::DEL_USER);
  button(104, &USUARIOS::ASIGNAR_PERFIL);
  button(111, &USUARIOS::ADD_PERFIL);
  button(112, &USUARIOS::MOD_PERFIL);
  button(113, &USUARIOS::DEL_PERFIL);
  button(123, &USUARIOS::COMENZAR_DISENO);
  button(131, &USUARIOS::E_CLAVE);
  button(132, &USUARIOS::ARBOL);
  ADD_BUTTON(121, [this] { CARGAR_DISENO(false); });
  ADD_BUTTON(122, [this] { CARGAR_DISENO(true); });
  ADD_BUTTON(124, [this] { MARCAR_TODO(false); });
  ADD_BUTTON(125, [this] { MARCAR_TODO(true); });
  ADD_BUTTON(126, [this] { GUARDAR_DISENO(false); });
  ADD_BUTTON(127, [this] { GUARDAR_DISENO(true); });
  ADD(std::make_unique<win::WCHECKBOX>(this, kGlobalLock), [this](WDIAG&, WCONTROL&, int) {
    globalLockChanged();
    return 1;
  });
  for (int id = kFreeAccess; id <= kEverybody; ++id)
    ADD(std::make_unique<win::WRADIOBUTTON>(this, id), [this](WDIAG&, WCONTROL&, int) {
      leaveFlagChanged();
      return 1;
    });
  for (int i = 0; i < kModuleBoxes; ++i)
    ADD(std::make_unique<win::WCHECKBOX>(this, kFirstModuleBox + i), [this](WDIAG&, WCONTROL&, int) {
      leaveFlagChanged();
      return 1;
    });
}

void USUARIOS::MontarColumnas() {
  LIST_SCREEN::MontarColumnas();
  lib::WDBTable* u = USUARIOS_;
  win::AGREGARCOL(
      *OB, u, "Super", "", "", [u] { return Value::chars(u->N("SUPERVISOR") == 1 ? "\u2713" : ""); }, 0, true, 24);
  win::AGREGARCOL(*OB2, PERFILES, "Descripción", "DESCRIP");
}

void USUARIOS::ConfigBrow() {
  OB->useMaintenanceLook();
  OB2->useMaintenanceLook();
  lib::SELECT(USUARIOS_->Area);
  BROWMARKS(*OB, {{3, "USUARIOS"}}, 1, NEGOCIO);
  lib::SELECT(PERFILES->Area);
  BROWMARKS(*OB2, {{1, "PERFILES"}}, 1, NEGOCIO);
}

void USUARIOS::CerrarBases() {
  if (OB2) CLOSEBROWSE(*OB2);
  LIST_SCREEN::CerrarBases();
  USUARIOS_ = PERFILES = nullptr;
}

void USUARIOS::OnNCDESTROY() {
  // The menu as it was: capture off, the marks of before.
  principal_.rights.setChecks(savedMarks_);
  principal_.request(kCaptureOff, 99);
  CerrarBases();
}

bool USUARIOS::hasProfile() const {
  return PERFILES && !PERFILES->Eof() && OB2 && OB2->nMaxRec > 0;
}

void USUARIOS::refreshUsers(bool added) {
  showChange(*OB, added ? 1 : 0);
}

void USUARIOS::refreshProfiles(bool added) {
  showChange(*OB2, added ? 1 : 0);
}

void USUARIOS::ADD_USER() {
  screens::OPEN<USER_EDITOR>(this, NEGOCIO, USER_EDITOR::kAdd);
}

void USUARIOS::MOD_USER() {
  if (!hasRecord()) return;
  screens::OPEN<USER_EDITOR>(this, NEGOCIO, USER_EDITOR::kModify);
}

void USUARIOS::DEL_USER() {
  if (!hasRecord()) return;
  if (say("Desea borrar el Usuario?", "Advertencia", 33) != lib::IDOK) return;
  if (USUARIOS_->N("SUPERVISOR") == 1 && supervisorsOf(NEGOCIO) <= 1) {
    say("Debe haber al menos un Usuario Supervisor.\r\nEn vista de que Ud. esta tratando de borrar\r\nal unico "
        "Supervisor presente, NO se permite\r\nelimiar al usuario.",
        "ERROR", lib::MB_OK | lib::MB_ICONERROR);
    return;
  }
  int code = int(USUARIOS_->N("CODIGO"));
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
    deleteWhere("F_BROWSE", "F_BROW2", lib::businessKey(NEGOCIO) + lib::STR(code, 4));
    deleteRights(RightsOf::User, NEGOCIO, code);
    deleteWhere("DET_TRA2", "DET_TRA22", lib::businessKey(NEGOCIO) + lib::STR(code, 4));
    wait.TERMINAR();
  }
  lib::MODIFY(*USUARIOS_, [&] { USUARIOS_->Delete(); });
  USUARIOS_->Skip();
  showChange(*OB, -1);
}

void USUARIOS::ADD_PERFIL() {
  screens::OPEN<PROFILE_EDITOR>(this, NEGOCIO, PROFILE_EDITOR::kAdd);
}

void USUARIOS::MOD_PERFIL() {
  if (!hasProfile()) return;
  screens::OPEN<PROFILE_EDITOR>(this, NEGOCIO, PROFILE_EDITOR::kModify);
}

void USUARIOS::DEL_PERFIL() {
  if (!hasProfile()) return;
  if (say("Desea borrar el Perfil de Usuario?", "Advertencia", 33) != lib::IDOK) return;
  deleteRights(RightsOf::Profile, NEGOCIO, int(PERFILES->N("CODIGO")));
  lib::MODIFY(*PERFILES, [&] { PERFILES->Delete(); });
  PERFILES->Skip();
  showChange(*OB2, -1);
}

void USUARIOS::ASIGNAR_PERFIL() {
  if (!hasRecord() || !hasProfile()) return;
  if (say("Se asignará el Perfil " + PERFILES->S("DESCRIP") + "\r" + "al Usuario " + USUARIOS_->S("USUARIO"),
          "Advertencia", 33) != lib::IDOK)
    return;
  // Exactly the profile's rights: every right of the user is cleared first.
  std::vector<bool> rights = readRights(RightsOf::Profile, NEGOCIO, int(PERFILES->N("CODIGO")));
  win::WAIT wait(this);
  wait.PUT_TEXT("Un momento por favor...", "Asignando Perfil...");
  writeRights(RightsOf::User, NEGOCIO, int(USUARIOS_->N("CODIGO")), rights, [&] { wait.PUT_TEXT("", "", ""); });
  wait.TERMINAR();
  say("Perfil asignado!", "Confirmación", lib::MB_OK | lib::MB_ICONINFORMATION);
}

void USUARIOS::CARGAR_DISENO(bool ofProfile) {
  if (ofProfile ? !hasProfile() : !hasRecord()) return;
  win::WAIT wait(this);
  wait.PUT_TEXT("Un momento por favor...", ofProfile ? "Cargando Derechos de Perfil..." : "Cargando Derechos...");
  std::vector<bool> marks = ofProfile ? readRights(RightsOf::Profile, NEGOCIO, int(PERFILES->N("CODIGO")))
                                      : readRights(RightsOf::User, NEGOCIO, int(USUARIOS_->N("CODIGO")));
  principal_.rights.setChecks(marks);
  designLoaded_ = true;
  wait.TERMINAR();
  principal_.frame().rebuildMenu();
}

void USUARIOS::COMENZAR_DISENO() {
  if (!designLoaded_ &&
      say("No se ha cargado ningún Diseño previo de Usuario o Perfil.\rPara modificar el Acceso a un Usuario, "
          "debería primero cargar su Diseño.\r\rDesea continuar?",
          "Advertencia", 33) != lib::IDOK)
    return;
  principal_.request(kCaptureOn, 99);
  Minimize();
}

void USUARIOS::MARCAR_TODO(bool granted) {
  for (int id : moduleRightIds()) principal_.rights.setCheck(id, granted);
  principal_.frame().rebuildMenu();
}

void USUARIOS::GUARDAR_DISENO(bool ofProfile) {
  if (ofProfile ? !hasProfile() : !hasRecord()) return;
  win::WAIT wait(this);
  wait.PUT_TEXT("Un momento por favor...", "Guardando Derechos...");
  auto tick = [&] { wait.PUT_TEXT("", "", ""); };
  if (ofProfile) {
    writeRights(RightsOf::Profile, NEGOCIO, int(PERFILES->N("CODIGO")), principal_.rights.MENU_CHK(), tick);
  } else {
    writeRights(RightsOf::User, NEGOCIO, int(USUARIOS_->N("CODIGO")), principal_.rights.MENU_CHK(), tick);
    principal_.request(kCaptureOff, 99);
  }
  wait.TERMINAR();
}

void USUARIOS::E_CLAVE() {
  screens::OPEN<PASSWORD_PARAMS>(this, NEGOCIO);
}

void USUARIOS::ARBOL() {
  if (!hasRecord()) return;
  showRightsTree(this, USUARIOS_->S("USUARIO"), readRights(RightsOf::User, NEGOCIO, int(USUARIOS_->N("CODIGO"))),
                 USUARIOS_->N("SUPERVISOR") == 1);
}

void USUARIOS::OPTIMIZAR() {
  if (say("Desea optimizar los archivos de Usuarios?", "Advertencia", 33) != lib::IDOK) return;
  CerrarBases();
  win::WAIT wait(this);
  wait.PUT_TEXT("Un momento por favor...");
  struct Step {
    const char* table;
    const char* text;
  } steps[] = {{"USUARIOS", "Usuarios..."},
               {"MENUS", "Accesos..."},
               {"PERFILES", "Perfiles..."},
               {"DET_PERF", "Detalle Perfiles..."}};
  std::string failed;
  for (const Step& s : steps) {
    wait.PUT_TEXT("", s.text);
    if (!lib::PACK_TABLE(s.table)) failed += std::string(failed.empty() ? "" : ", ") + s.table;
  }
  wait.TERMINAR();
  if (!failed.empty())
    say("No se pudieron optimizar (están en uso por otro usuario): " + failed, "Atención",
        lib::MB_OK | lib::MB_ICONEXCLAMATION);
  ENDDIALOG();
}

void USUARIOS::showLocks() {
  showingLocks_ = true;
  bool locked = false;
  if (lib::IS_FILE(nullptr, "F_SYS")) {
    auto sys = lib::USE(nullptr, "F_SYS");
    sys->GoTop();
    locked = !sys->Eof() && sys->HasField("BLOQUEADO") && sys->N("BLOQUEADO") == 1;
  }
  CheckDlgButton(kGlobalLock, locked);
  std::optional<LeaveFlag> flag = readLeaveFlag();
  int radio = !flag ? kFreeAccess : flag->supervisorsToo() ? kEverybody : kAllButSupervisors;
  for (int id = kFreeAccess; id <= kEverybody; ++id) CheckDlgButton(id, id == radio);
  for (int i = 0; i < kModuleBoxes; ++i)
    CheckDlgButton(kFirstModuleBox + i, flag && flag->text.size() > size_t(i + 1) && flag->text[size_t(i + 1)] == '1');
  showingLocks_ = false;
}

void USUARIOS::globalLockChanged() {
  auto sys = lib::USE(nullptr, "F_SYS");
  sys->GoTop();
  bool on = IsDlgButtonChecked(kGlobalLock);
  auto put = [&] {
    screens::CON_HISTORIAL(*sys, [&] { sys->FieldPut("BLOQUEADO", Value::num(on ? 1 : 0)); });
  };
  if (sys->Eof()) {
    lib::ADD(*sys, put);
  } else {
    lib::MODIFY(*sys, put);
  }
}

void USUARIOS::leaveFlagChanged() {
  if (showingLocks_) return;
  if (IsDlgButtonChecked(kFreeAccess)) {
    removeLeaveFlag();
    return;
  }
  std::string text(1, IsDlgButtonChecked(kEverybody) ? '1' : '0');
  for (int i = 0; i < kModuleBoxes; ++i) text += IsDlgButtonChecked(kFirstModuleBox + i) ? '1' : '0';
  if (!writeLeaveFlag(text)) say("No se pudo crear el archivo BLOQUEAD.!", "Error", lib::MB_OK | lib::MB_ICONERROR);
}

void registerUsersScreen() {
  screens::editMenu(USUARIOS::kMenuId,
                    {{3567, "Optimizar Archivos", [](WDIAG& s) { static_cast<USUARIOS&>(s).OPTIMIZAR(); }}});
  registerScreen("USUARIOS", [](const ScreenRequest& r) { screens::OPEN<USUARIOS>(r.principal, r.business); });
}

}  // namespace app
