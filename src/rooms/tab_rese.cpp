#include "rooms/tab_rese.h"

#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/availability.h"
#include "rooms/availability_screens.h"
#include "rooms/hotel_day.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "xbase/date.h"

namespace rooms {

namespace {

using lib::Value;
constexpr int kRoom = 500, kDate = 501, kReservation = 502;
constexpr size_t kReservationWidth = 10;

}  // namespace

TAB_RESE::TAB_RESE(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"TAB_RESE",
                   "TAB_RES2",
                   kMenuId,
                   {{"Habitación ", "CODIGO", std::string(15, '!')},
                    {"Fecha      ", "FECHA", ""},
                    {"Reservación", "RESERVA", std::string(10, '!')},
                    // The state's description through the row's state code.
                    {"Estado", "", std::string(20, 'X'), 0, 0,
                     [this]() {
                       std::string key = lib::businessKey(NEGOCIO) + lib::padded(TABLA->S("T_EST_HA"), 2);
                       return Value::chars(T_EST_HA->Seek(key) ? T_EST_HA->S("DESCRIP") : std::string());
                     }},
                    {"Hasta Fec", "F_FINAL", ""},
                    {"Motivo", "MOTIVO_BLO", std::string(40, 'X')}},
                   true}) {}

void TAB_RESE::AbrirBases() {
  LIST_SCREEN::AbrirBases();
  T_EST_HA = USE("T_EST_HA", "T_EST_HA");
  ROOMS = USE("ROOMS", "ROOMS");
}

void TAB_RESE::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, "TAB_RES2"}, {2, "TAB_RESE"}}, 1, lib::businessKey(NEGOCIO));
}

void TAB_RESE::ADD_TAB_RESE() {
  CALL_LEVEL();
  EDITAR(Mode::Add);
}

void TAB_RESE::MOD_TAB_RESE() {
  CALL_LEVEL();
  if (hasRecord()) EDITAR(Mode::Modify);
}

void TAB_RESE::EDITAR(Mode mode) {
  win::DIALOG_BOX("AGREGAR_TAB_RESE", this,
                  {[&](win::ModalDialog& d) {
                     win::WEDIT room(&d, kRoom), reservation(&d, kReservation);
                     room.SetLimit(int(kRoomWidth));
                     win::WEDIT(&d, kDate).SetLimit(10);  // dd/mm/yy, or dd/mm/yyyy
                     reservation.SetLimit(int(kReservationWidth));
                     if (mode == Mode::Modify) {
                       room.TEXT(TABLA->S("CODIGO"));
                       win::WEDIT(&d, kDate).TEXT(lib::DTOC(TABLA->D("FECHA")));
                       reservation.TEXT(TABLA->S("RESERVA"));
                     } else {
                       win::WEDIT(&d, kDate).TEXT(lib::DTOC(lib::XDATE()));
                     }
                     d.SetFocusTo(kRoom);
                   },
                   [&](win::ModalDialog& d) { return SAVE_DATOS(d, mode); }});
}

bool TAB_RESE::SAVE_DATOS(win::WDIAG& d, Mode mode) {
  const std::string room = lib::upper(lib::trim(d.GetDlgItemText(kRoom)));
  const int32_t date = dateOfEdit(d, kDate);
  const std::string reservation = lib::upper(lib::trim(d.GetDlgItemText(kReservation)));
  const std::string neg = lib::businessKey(NEGOCIO);
  // A row names a room of the business and a night; without them it would count nowhere.
  if (room.empty() || !ROOMS->Seek(neg + lib::padded(room, kRoomWidth))) {
    screens::error("La Habitación no existe...");
    d.SetFocusTo(kRoom);
    return false;
  }
  const std::string clase = ROOMS->S("CLASE");
  if (date == 0) {
    screens::error("Fecha no válida...");
    d.SetFocusTo(kDate);
    return false;
  }
  lib::WDBTable& t = *TABLA;
  const uint32_t editing = mode == Mode::Modify ? t.RecNo() : 0;
  // One row per room and night: a second one would be counted twice by the recalculations.
  const std::string saveOrder = t.Order();
  t.SetOrder("TAB_RES2");
  bool duplicate = false;
  if (t.Seek(neg + lib::padded(room, kRoomWidth) + xbase::dtos(date))) {
    if (t.RecNo() == editing) t.Skip();
    duplicate = !t.Eof() && t.S("NEGOCIO") == lib::trim(NEGOCIO) && t.S("CODIGO") == room && t.D("FECHA") == date;
  }
  t.SetOrder(saveOrder);
  if (editing) t.GoTo(editing);
  if (duplicate) {
    screens::error("Código Ya definido...");
    d.SetFocusTo(kRoom);
    return false;
  }
  if (mode == Mode::Add) {
    const std::string freeState = ESTADO_LIBRE(NEGOCIO);
    auto own = lib::USE(this, "TAB_RESE", "TAB_RES2");
    lib::ADD(*own, [&] {
      own->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
      own->FieldPut("CODIGO", Value::chars(room));
      own->FieldPut("FECHA", Value::date(date));
      own->FieldPut("RESERVA", Value::chars(reservation));
      // Born as the generation makes rows: free, of the room's class, not pre-assigned.
      own->FieldPut("T_EST_HA", Value::chars(freeState));
      own->FieldPut("CLASE", Value::chars(clase));
      own->FieldPut("PREASIGN", Value::num(0));
    });
    const uint32_t added = own->RecNo();
    lib::KILLTABLA(own);
    REFRESCA(true, added);
  } else {
    t.GoTo(editing);
    lib::MODIFY(t, [&] {
      t.FieldPut("CODIGO", Value::chars(room));
      t.FieldPut("FECHA", Value::date(date));
      t.FieldPut("RESERVA", Value::chars(reservation));
      t.FieldPut("CLASE", Value::chars(clase));
    });
    REFRESCA(false);
  }
  return true;
}

void TAB_RESE::DEL_TAB_RESE() {
  CALL_LEVEL();
  BORRA_REGISTRO("Desea borrar ??\rSe borrarán todas las referencias en las habitaciones.", {});
}

}  // namespace rooms
