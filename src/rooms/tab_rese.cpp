#include "rooms/tab_rese.h"

#include <algorithm>

#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "rooms/availability.h"
#include "rooms/availability_screens.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/main_frame.h"
#include "win/message_box.h"
#include "xbase/date.h"

namespace rooms {

namespace {

using lib::Value;
constexpr int kRoom = 500, kDate = 501, kReservation = 502;
constexpr size_t kReservationWidth = 10;

std::string trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::string upperText(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return s;
}

void error(const std::string& text) {
  win::MESSAGE_BOX(nullptr, text, "Error", 16);
}

}  // namespace

TAB_RESE::TAB_RESE(const std::string& dialog, const std::string& negocio) {
  NEGOCIO = negocio;
  AbrirBases();
  if (!Init(nullptr, dialog, true)) return;
  OB = std::make_unique<win::WBLISTBOX>(this, 700, TABLA.get());
  ADD(OB.get());
  ADD_BUTTON(win::IDOK, [this] { ENDDIALOG(); });
  CREATE(dialog);
  FIX_OBJ(700, 1);
  FIX_OBJ(win::IDOK, 3);
  MontarColumnas();
  ConfigBrow();
}

void TAB_RESE::AbrirBases() {
  TABLA = lib::USE(this, "TAB_RESE", "TAB_RES2");
  T_EST_HA = lib::USE(this, "T_EST_HA", "T_EST_HA");
  ROOMS = lib::USE(this, "ROOMS", "ROOMS");
}

void TAB_RESE::CerrarBases() {
  if (OB) CLOSEBROWSE(*OB);
  lib::KILLTABLA(TABLA);
  lib::KILLTABLA(T_EST_HA);
  lib::KILLTABLA(ROOMS);
}

void TAB_RESE::MontarColumnas() {
  win::AGREGARCOL(*OB, TABLA.get(), "Habitación ", "CODIGO", std::string(15, '!'));
  win::AGREGARCOL(*OB, TABLA.get(), "Fecha      ", "FECHA");
  win::AGREGARCOL(*OB, TABLA.get(), "Reservación", "RESERVA", std::string(10, '!'));
  // The state's description through the row's state code.
  win::AGREGARCOL(*OB, TABLA.get(), "Estado", "", std::string(20, 'X'), [this]() {
    std::string key = PADR(NEGOCIO, kNegocioWidth) + PADR(TABLA->S("T_EST_HA"), 2);
    return Value::chars(T_EST_HA->Seek(key) ? T_EST_HA->S("DESCRIP") : std::string());
  });
  win::AGREGARCOL(*OB, TABLA.get(), "Hasta Fec", "F_FINAL");
  win::AGREGARCOL(*OB, TABLA.get(), "Motivo", "MOTIVO_BLO", std::string(40, 'X'));
}

void TAB_RESE::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, "TAB_RES2"}, {2, "TAB_RESE"}}, 1, PADR(NEGOCIO, kNegocioWidth));
}

void TAB_RESE::SHOW_MENU() {
  if (win::MainFrame* frame = win::MainFrame::instance()) frame->MENUSET(kMenuId, this, NEGOCIO);
}

void TAB_RESE::HIDE_MENU() {
  if (win::MainFrame* frame = win::MainFrame::instance()) frame->MENUSET(0, this, NEGOCIO);
}

bool TAB_RESE::hasRecord() const {
  return TABLA && !TABLA->Eof() && OB && OB->nMaxRec > 0;
}

void TAB_RESE::ADD_TAB_RESE() {
  win::DIALOG_BOX(nullptr, "AGREGAR_TAB_RESE", this,
                  [this](win::ModalDialog& d, int msg, int wParam, int) { return CTRLAGREGAR(d, msg, wParam, kAdd); });
}

void TAB_RESE::MOD_TAB_RESE() {
  if (!hasRecord()) return;
  win::DIALOG_BOX(nullptr, "AGREGAR_TAB_RESE", this, [this](win::ModalDialog& d, int msg, int wParam, int) {
    return CTRLAGREGAR(d, msg, wParam, kModify);
  });
}

int TAB_RESE::CTRLAGREGAR(win::ModalDialog& d, int message, int wParam, Mode mode) {
  if (message == win::WM_INITDIALOG) {
    win::WEDIT room(&d, kRoom), reservation(&d, kReservation);
    room.SetLimit(int(kRoomWidth));
    win::WEDIT(&d, kDate).SetLimit(8);
    reservation.SetLimit(int(kReservationWidth));
    if (mode == kModify) {
      room.TEXT(TABLA->S("CODIGO"));
      win::WEDIT(&d, kDate).TEXT(lib::DTOC(TABLA->D("FECHA")));
      reservation.TEXT(TABLA->S("RESERVA"));
    } else {
      win::WEDIT(&d, kDate).TEXT(lib::DTOC(lib::XDATE()));
    }
    d.SetFocusTo(kRoom);
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

bool TAB_RESE::SAVE_DATOS(win::ModalDialog& d, Mode mode) {
  const std::string room = upperText(trimmed(d.GetDlgItemText(kRoom)));
  const int32_t date = dateOfEdit(d, kDate);
  const std::string reservation = upperText(trimmed(d.GetDlgItemText(kReservation)));
  const std::string neg = PADR(NEGOCIO, kNegocioWidth);
  // A row names a room of the business and a night; without them it would count nowhere.
  if (room.empty() || !ROOMS->Seek(neg + PADR(room, kRoomWidth))) {
    error("La Habitación no existe...");
    d.SetFocusTo(kRoom);
    return false;
  }
  const std::string clase = ROOMS->S("CLASE");
  if (date == 0) {
    error("Fecha no válida...");
    d.SetFocusTo(kDate);
    return false;
  }
  lib::WDBTable& t = *TABLA;
  const uint32_t editing = mode == kModify ? t.RecNo() : 0;
  // One row per room and night: a second one would be counted twice by the recalculations.
  const std::string saveOrder = t.Order();
  t.SetOrder("TAB_RES2");
  bool duplicate = false;
  if (t.Seek(neg + PADR(room, kRoomWidth) + xbase::dtos(date))) {
    if (t.RecNo() == editing) t.Skip();
    duplicate = !t.Eof() && t.S("NEGOCIO") == trimmed(NEGOCIO) && t.S("CODIGO") == room && t.D("FECHA") == date;
  }
  t.SetOrder(saveOrder);
  if (editing) t.GoTo(editing);
  if (duplicate) {
    error("Código Ya definido...");
    d.SetFocusTo(kRoom);
    return false;
  }
  if (mode == kAdd) {
    std::string freeState;
    {
      auto hotel = lib::USE(this, "F_HOTEL", "F_HOTEL");
      if (hotel->Seek(neg)) freeState = hotel->S("LIBRE");
      lib::KILLTABLA(hotel);
    }
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
    t.GoTo(added);
    OB->nMaxRec += 1;
  } else {
    t.GoTo(editing);
    lib::MODIFY(t, [&] {
      t.FieldPut("CODIGO", Value::chars(room));
      t.FieldPut("FECHA", Value::date(date));
      t.FieldPut("RESERVA", Value::chars(reservation));
      t.FieldPut("CLASE", Value::chars(clase));
    });
  }
  OB->SHOWDATA();
  OB->REFRESHALL();
  return true;
}

void TAB_RESE::DEL_TAB_RESE() {
  if (!hasRecord()) return;
  if (win::MESSAGE_BOX(this, "Desea borrar ??\rSe borrarán todas las referencias en las habitaciones.", "Advertencia",
                       33) != 1)
    return;
  lib::WDBTable& t = *TABLA;
  lib::MODIFY(t, [&] { t.Delete(); });
  t.Skip();
  OB->nMaxRec = OB->nMaxRec > 0 ? OB->nMaxRec - 1 : 0;
  OB->SHOWDATA();
  OB->REFRESHALL();
}

}  // namespace rooms
