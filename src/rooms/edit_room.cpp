#include "rooms/edit_room.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/hotel_day.h"
#include "rooms/room_counters.h"
#include "rooms/room_details.h"
#include "rooms/room_references.h"
#include "rooms/room_retype.h"
#include "screens/history.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/wait.h"

namespace rooms {

namespace {

using lib::Value;

constexpr int kConnectedRoom = 503, kReservation = 507, kFirstPhoto = 510;
constexpr int kType = 601, kLocation = 602, kState = 603;
constexpr int kAccessories = 901, kQualities = 902;
constexpr int kClearReservation = 1006;

// The check boxes and the 0/1 fields they edit.
constexpr struct {
  int id;
  const char* field;
} kFlags[] = {{1001, "NO_CHKOUT"}, {1002, "FUMADO"}, {1003, "MINUSVA"}, {1004, "EXCLUIR"}, {1005, "INCLU_INV"}};

// The drop-down lists that name a record of another table; `blank` is the entry that stands
// for no value (first, or last when `blankLast`).
struct Lookup {
  int id;
  const char* field;  // of ROOMS
  const char* table;
  const char* text;  // shown field of the table
  const char* blank;
  bool blankLast;
};
constexpr Lookup kLookups[] = {
    {kLocation, "UBICA", "UBIC_ROM", "DESCRIP", nullptr, false},
    {kState, "T_EST_HA", "T_EST_HA", "DESCRIP", nullptr, false},
    {604, "CLIENTE", "CLIENTES", "NOMBRE", "***Sin Cliente***", false},
    {605, "COD_RACK", "ENC_RACK", "DESCRIP", "***SIN DATO***", false},
    {606, "TIPO_RES", "E_T_RES", "DESCRIP", "***SIN DATO***", false},
    {607, "AGENCIA", "AGENCIAS", "DESCRIP", "***SIN DATO***", false},
    {608, "T1", "TIP_RES1", "DESCRIP", "***SIN DATO***", false},
    {609, "T2", "TIP_RES2", "DESCRIP", "***SIN DATO***", false},
    {610, "COD_SA", "SA_TS", "DESCRIP", "***Ninguna***", true},
};

std::string photoField(int n) {
  return "FOTO" + std::to_string(n);
}

}  // namespace

EDIT_ROOM::EDIT_ROOM(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "AGREGAR_ROOM", negocio, mode) {
  DUPLICADO_MODIFICA = "Código de Habitación ya existe...";
}

void EDIT_ROOM::BIND() {
  lib::WDBTable* r = REGISTRO;
  FORM_.UPPER(500, r, "CODIGO");
  FORM_.TRIMMED(501, r, "DESCRIP");
  FORM_.TRIMMED(502, r, "CONNECT_TO");
  FORM_.UPPER(kConnectedRoom, r, "COD_ROOM2");
  FORM_.NUMBER(504, r, "PORCENT_D", "999.99");
  FORM_.TRIMMED(505, r, "COMENTARIO");
  FORM_.TEXT(506, r, "NOTAS");
  ADD(std::make_unique<win::WEDIT>(this, kReservation))->ReadOnly(true);  // shown: the front desk keeps it
  for (int n = 1; n <= 9; ++n) FORM_.TRIMMED(kFirstPhoto + n - 1, r, photoField(n));
  FORM_.CODE_OR_BLANK(kType, r, "TIPO");
  for (const Lookup& l : kLookups) FORM_.CODE_OR_BLANK(l.id, r, l.field);
  for (const auto& f : kFlags) FORM_.FLAG(f.id, r, f.field);
  ADD(std::make_unique<win::WCHECKBOX>(this, kClearReservation));
  ADD(std::make_unique<win::CLISTBOX>(this, kAccessories));
  ADD(std::make_unique<win::CLISTBOX>(this, kQualities));
}

void EDIT_ROOM::LOAD_LISTAS() {
  screens::LOAD_LISTA(*this, {kType}, "TIPO_ROM", "TIPO_ROM", NEGOCIO);
  for (const Lookup& l : kLookups) {
    win::CCOMBOBOX box(this, l.id);
    if (l.blank && !l.blankLast) box.Add(l.blank, 0, "");
    screens::LOAD_LISTA(*this, {l.id}, l.table, l.table, NEGOCIO, l.text, true);
    if (l.blank && l.blankLast) box.Add(l.blank, 0, "");
  }
  win::CLISTBOX accessories(this, kAccessories), qualities(this, kQualities);
  for (const DetailItem& i : ITEMS_DE(kAccesorios, NEGOCIO)) accessories.Add(i.description, i.code);
  for (const DetailItem& i : ITEMS_DE(kCualidades, NEGOCIO)) qualities.Add(i.description, i.code);
}

void EDIT_ROOM::CARGAR() {
  EDITOR::CARGAR();
  if (MODO_E == kAdd) {
    win::CCOMBOBOX(this, 610).SeekCargo("");
    return;
  }
  lib::WDBTable& r = *REGISTRO;
  SetDlgItemText(kReservation, r.S("COD_RES"));
  const std::string room = r.S("CODIGO");
  for (auto [id, kind] : {std::pair{kAccessories, &kAccesorios}, std::pair{kQualities, &kCualidades}}) {
    std::set<std::string> marked = MARCADOS(*kind, NEGOCIO, room);
    win::CLISTBOX list(this, id);
    for (int i = 1; i <= list.Count(); ++i) list.SetSel(i, marked.count(list.ItemCargo(i)) > 0);
  }
}

std::set<std::string> EDIT_ROOM::selected(int listId) const {
  std::set<std::string> out;
  win::CLISTBOX list(const_cast<EDIT_ROOM*>(this), listId);
  for (int i : list.Selected()) out.insert(list.ItemCargo(i));
  return out;
}

bool EDIT_ROOM::VALIDA(const std::string& code) {
  if (code.empty()) return REHUSA("Debe definir el Código", CODE_ID);
  const std::string tipo = FORM_.text(kType);
  if (tipo.empty()) return REHUSA("Debe definir el Tipo de Habitación", kType);
  if (FORM_.text(kLocation).empty()) return REHUSA("Debe definir la Ubicación", kLocation);
  if (FORM_.text(kState).empty()) return REHUSA("Debe definir el Estado de la Habitación", kState);
  const std::string connected = FORM_.text(kConnectedRoom);
  if (!connected.empty()) {
    auto rooms = lib::USE(this, "ROOMS", "ROOMS");
    bool exists = rooms->Seek(rooms->KeyPart("NEGOCIO", NEGOCIO) + rooms->KeyPart("CODIGO", connected));
    bool sameType = exists && rooms->S("TIPO") == tipo;
    lib::KILLTABLA(rooms);
    if (!exists) return REHUSA("El número de habitación asociado como conexion no existe", kConnectedRoom);
    if (!sameType) return REHUSA("La habitación conexa debe ser del mismo tipo", kConnectedRoom);
  }
  return EDITOR::VALIDA(code);
}

void EDIT_ROOM::GUARDA_DETALLES(const std::string& code) {
  GUARDA_MARCAS(kAccesorios, NEGOCIO, code, selected(kAccessories));
  GUARDA_MARCAS(kCualidades, NEGOCIO, code, selected(kQualities));
}

// A new room: appended with its type's class; then, when the type exists, a room more of
// the type, the class and the hotel from the closing day, and its reservation-table rows
// for every date already generated.
bool EDIT_ROOM::AGREGA(const std::string& code) {
  const std::string tipo = FORM_.text(kType);
  lib::ADD(*REGISTRO, [&] {
    REGISTRO->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
    FORM_.SAVE(REGISTRO);
    REGISTRO->FieldPut("CLASE", Value::chars(CLASE_DEL_TIPO(NEGOCIO, tipo).value_or("")));
  });
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
    ROOM_AGREGADA(NEGOCIO, code, tipo, CIERRE_DIA(NEGOCIO));
    wait.TERMINAR();
  }
  GUARDA_DETALLES(code);
  return true;
}

// The room rewritten from the controls; a changed type first carries the room's
// reservations and counters to the new type, a changed code renames the room's rows
// everywhere. False (nothing changed) when a room with reservations would change both.
bool EDIT_ROOM::MODIFICA(const std::string& code) {
  lib::WDBTable& r = *REGISTRO;
  const std::string tipo = FORM_.text(kType);
  r.GoTo(XRECNO);
  const std::string oldCode = lib::trim(r.S("CODIGO")), oldType = r.S("TIPO");
  const bool codeChanged = oldCode != code, typeChanged = lib::trim(oldType) != tipo;
  const int32_t desde = CIERRE_DIA(NEGOCIO);
  if (codeChanged && typeChanged && ROOM_COMPROMETIDA(NEGOCIO, oldCode, desde)) {
    screens::error(
        "No se puede cambiar el tipo de habitación pues se encuentra asociada a reservaciones.\r\nDebe quitar las "
        "preasignaciones de esta habitación o hacerle checkout");
    return false;
  }
  screens::CascadeReport report;
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
    if (typeChanged) CAMBIA_TIPO_ROOM(NEGOCIO, oldCode, code, oldType, tipo, desde, &wait);
    if (codeChanged) {
      RENOMBRA_TAB_RESE(NEGOCIO, oldCode, code, desde);
      // What else names the room follows it (the record itself is rewritten below, and
      // the reservation table keeps the old code before the closing day).
      for (const screens::RecodeStep& step : ROOM_REFERENCES())
        if (!(step.table == "ROOMS" && step.field == "CODIGO") && step.table != "TAB_RESE")
          screens::REEMPLAZA_CODIGO(step, NEGOCIO, oldCode, code, &report);
    }
    wait.TERMINAR();
  }
  screens::AVISA_FALTANTES(report);
  const std::string clase = CLASE_DEL_TIPO(NEGOCIO, tipo).value_or("");
  if (typeChanged) CLASE_TAB_RESE(NEGOCIO, code, clase, desde);
  r.GoTo(XRECNO);
  lib::MODIFY(r, [&] {
    // The form's fields and those written here, one change in the history.
    screens::CON_HISTORIAL(r, [&] {
      FORM_.SAVE(&r, false);
      r.FieldPut("CLASE", Value::chars(clase));
      if (IsDlgButtonChecked(kClearReservation)) r.FieldPut("COD_RES", Value::chars(""));
    });
  });
  GUARDA_DETALLES(code);
  return true;
}

}  // namespace rooms
