#include "rooms/code_list.h"

#include "lib/record_protocol.h"
#include "lib/use.h"
#include "rooms/room_util.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/main_frame.h"
#include "win/wait.h"

namespace rooms {

namespace {

using lib::Value;
constexpr int kCode = 500, kDescription = 501;

}  // namespace

CODE_LIST::CODE_LIST(const std::string& dialog, const std::string& negocio, Definition definition)
    : def_(std::move(definition)) {
  NEGOCIO = negocio;
  AbrirBases();
  if (!Init(nullptr, dialog)) return;
  OB = std::make_unique<win::WBLISTBOX>(this, 700, TABLA.get());
  ADD(OB.get());
  ADD_BUTTON(win::IDOK, [this] { ENDDIALOG(); });
  CREATE(dialog);
  MontarColumnas();
  ConfigBrow();
}

void CODE_LIST::AbrirBases() {
  TABLA = lib::USE(this, def_.table, def_.table);
}

void CODE_LIST::CerrarBases() {
  if (OB) CLOSEBROWSE(*OB);
  lib::KILLTABLA(TABLA);
}

void CODE_LIST::MontarColumnas() {
  win::AGREGARCOL(*OB, TABLA.get(), "Código", "CODIGO", def_.codePicture, {}, 0, false,
                  def_.codePicture.size() < 4 ? 30 : 16);
  win::AGREGARCOL(*OB, TABLA.get(), "Descripción", "DESCRIP", std::string(40, '!'));
}

void CODE_LIST::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, def_.table}}, 1, NEGOCIO);
}

void CODE_LIST::SHOW_MENU() {
  if (win::MainFrame* frame = win::MainFrame::instance()) frame->MENUSET(def_.menuId, this, NEGOCIO);
}

void CODE_LIST::HIDE_MENU() {
  if (win::MainFrame* frame = win::MainFrame::instance()) frame->MENUSET(0, this, NEGOCIO);
}

bool CODE_LIST::hasRecord() const {
  return TABLA && !TABLA->Eof() && OB && OB->nMaxRec > 0;
}

void CODE_LIST::AGREGAR() {
  win::DIALOG_BOX(nullptr, def_.editor, this,
                  [this](win::ModalDialog& d, int msg, int wParam, int) { return CTRLAGREGAR(d, msg, wParam, kAdd); });
}

void CODE_LIST::MODIFICAR() {
  if (!hasRecord()) return;
  win::DIALOG_BOX(nullptr, def_.editor, this, [this](win::ModalDialog& d, int msg, int wParam, int) {
    return CTRLAGREGAR(d, msg, wParam, kModify);
  });
}

int CODE_LIST::CTRLAGREGAR(win::ModalDialog& d, int message, int wParam, Mode mode) {
  if (message == win::WM_INITDIALOG) {
    win::WEDIT code(&d, kCode), description(&d, kDescription);
    code.SetLimit(int(widthOf(*TABLA, "CODIGO")));
    description.SetLimit(int(widthOf(*TABLA, "DESCRIP")));
    if (mode == kModify) {
      code.TEXT(TABLA->S("CODIGO"));
      description.TEXT(TABLA->S("DESCRIP"));
      loadExtras(d, *TABLA);
    }
    d.SetFocusTo(kCode);
    return 1;
  }
  if (message != win::WM_COMMAND) return 0;
  int id = wParam & 0xFFFF;
  if (id == win::IDCANCEL) {
    win::ENDDIALOG(d, 2);
    return 1;
  }
  if (id != win::IDOK) return 0;
  if (SAVE_DATOS(d, mode)) win::ENDDIALOG(d, 1);
  return 1;
}

bool CODE_LIST::duplicate(const std::string& code, Mode mode, uint32_t editing) {
  lib::WDBTable& t = *TABLA;
  const std::string key = keyPart(t, "NEGOCIO", NEGOCIO) + keyPart(t, "CODIGO", code);
  bool found = false;
  if (t.Seek(key)) {
    if (mode == kModify && t.RecNo() == editing) t.Skip();
    found = !t.Eof() && t.S("NEGOCIO") == NEGOCIO && t.S("CODIGO") == trim(code);
  }
  if (editing) t.GoTo(editing);
  return found;
}

bool CODE_LIST::SAVE_DATOS(win::ModalDialog& d, Mode mode) {
  const std::string code = upper(trim(d.GetDlgItemText(kCode)));
  const std::string description = trim(d.GetDlgItemText(kDescription));
  if (code.empty()) {
    error("Debe definir el Código");
    d.SetFocusTo(kCode);
    return false;
  }
  lib::WDBTable& t = *TABLA;
  const uint32_t editing = mode == kModify ? t.RecNo() : 0;
  const std::string message = mode == kAdd ? def_.duplicateAdd : def_.duplicateModify;
  if (!message.empty() && duplicate(code, mode, editing)) {
    error(message);
    d.SetFocusTo(kCode);
    return false;
  }
  if (mode == kAdd) {
    auto own = lib::USE(this, def_.table, def_.table);
    lib::ADD(*own, [&] {
      own->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
      own->FieldPut("CODIGO", Value::chars(code));
      own->FieldPut("DESCRIP", Value::chars(description));
      storeExtras(d, *own);
    });
    const uint32_t added = own->RecNo();
    lib::KILLTABLA(own);
    afterAdd(code);
    t.GoTo(added);
    OB->nMaxRec += 1;
  } else {
    const std::string old = t.S("CODIGO");
    if (old != code) {
      win::WAIT wait(this);
      wait.PUT_TEXT("Un momento por favor...", "Recodificando referencias en Habitaciones...");
      recode(old, code, wait);
      wait.TERMINAR();
    }
    t.GoTo(editing);
    lib::MODIFY(t, [&] {
      t.FieldPut("CODIGO", Value::chars(code));
      t.FieldPut("DESCRIP", Value::chars(description));
      storeExtras(d, t);
    });
  }
  OB->SHOWDATA();
  OB->REFRESHALL();
  return true;
}

void CODE_LIST::BORRAR() {
  if (!hasRecord()) return;
  if (!confirm(def_.deleteQuestion)) return;
  lib::WDBTable& t = *TABLA;
  const uint32_t deleting = t.RecNo();
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
    deleteReferences(t.S("CODIGO"), wait);
    wait.TERMINAR();
  }
  t.GoTo(deleting);
  lib::MODIFY(t, [&] { t.Delete(); });
  t.Skip();
  OB->nMaxRec = OB->nMaxRec > 0 ? OB->nMaxRec - 1 : 0;
  OB->SHOWDATA();
  OB->REFRESHALL();
}

}  // namespace rooms
