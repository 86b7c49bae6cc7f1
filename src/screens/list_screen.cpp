#include "screens/list_screen.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "screens/history.h"
#include "screens/history_screen.h"
#include "screens/messages.h"
#include "win/wait.h"

namespace screens {

LIST_SCREEN::LIST_SCREEN(std::string dialog, std::string negocio, ListDefinition definition)
    : SCREEN(std::move(dialog), std::move(negocio), definition.menuId), def_(std::move(definition)) {}

void LIST_SCREEN::INIT() {
  AbrirBases();
  if (!Init(nullptr, DIALOG, def_.resizable)) return;
  OB = std::make_unique<win::WBLISTBOX>(this, 700, TABLA);
  ADD(OB.get());
  ADD_BUTTON(win::IDOK, [this] { ENDDIALOG(); });
  BOTONES();
  CREATE(DIALOG);
  if (def_.resizable) {
    FIX_OBJ(700, 1);
    FIX_OBJ(win::IDOK, 3);
  }
  MontarColumnas();
  ConfigBrow();
  OB->doubleclick = [this](win::WBLISTBOX&) { DOBLE_CLICK(); };
}

void LIST_SCREEN::AbrirBases() {
  TABLA = USE(def_.table, mainTag());
}

void LIST_SCREEN::MontarColumnas() {
  for (const Column& c : def_.columns)
    win::AGREGARCOL(*OB, TABLA, c.heading, c.field, c.picture, c.block, c.align, false, c.adjust);
}

void LIST_SCREEN::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, mainTag()}}, 1, NEGOCIO);
}

void LIST_SCREEN::CerrarBases() {
  if (OB) CLOSEBROWSE(*OB);
  SCREEN::CerrarBases();
  TABLA = nullptr;
}

bool LIST_SCREEN::hasRecord() const {
  return TABLA && !TABLA->Eof() && OB && OB->nMaxRec > 0;
}

void LIST_SCREEN::REFRESCA(bool added, uint32_t recno) {
  if (recno) TABLA->GoTo(recno);
  if (added) OB->nMaxRec += 1;
  OB->SHOWDATA();
  OB->REFRESHALL();
}

void LIST_SCREEN::SIN_GRID(const std::function<void()>& work) {
  DISABLE_BROWSE(*OB);
  struct Attach {
    LIST_SCREEN* list;
    ~Attach() { list->ENABLE_BROWSE(*list->OB); }
  } attach{this};
  work();
}

void LIST_SCREEN::HISTORIAL() {
  CALL_LEVEL_AS(routine("HISTORIAL"));
  if (!hasRecord()) {
    notice("No hay un registro seleccionado.");
    return;
  }
  const std::string key = CLAVE_HISTORIAL(*TABLA);
  std::string title = "Tabla " + TABLA->Name + ", registro " + key;
  if (TABLA->HasField("DESCRIP") && !TABLA->S("DESCRIP").empty()) title += ": " + lib::trim(TABLA->S("DESCRIP"));
  OPEN<HIST_CAMBIOS>(NEGOCIO, TABLA->Name, key, title);
}

bool LIST_SCREEN::BORRA_REGISTRO(const std::string& question, const std::function<void(win::WAIT&)>& cascade) {
  CALL_LEVEL_AS(routine("BORRA_REGISTRO"));
  if (!hasRecord() || !confirm(question)) return false;
  lib::WDBTable& t = *TABLA;
  const uint32_t deleting = t.RecNo();
  if (cascade)
    SIN_GRID([&] {
      win::WAIT wait(this);
      wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
      cascade(wait);
      wait.TERMINAR();
    });
  t.GoTo(deleting);
  lib::MODIFY(t, [&] {
    REGISTRA_BAJA(t);
    t.Delete();
  });
  t.Skip();
  OB->nMaxRec = OB->nMaxRec > 0 ? OB->nMaxRec - 1 : 0;
  OB->SHOWDATA();
  OB->REFRESHALL();
  return true;
}

}  // namespace screens
