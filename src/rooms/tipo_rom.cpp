#include "rooms/tipo_rom.h"

#include <optional>

#include "lib/record_protocol.h"
#include "lib/use.h"
#include "rooms/recodifica_res.h"
#include "rooms/room_counters.h"
#include "rooms/room_util.h"
#include "rooms/tipo_ro2.h"
#include "win/main_frame.h"
#include "win/wait.h"

namespace rooms {

namespace {

using lib::Value;

constexpr int kGrid = 700;

const RecodeStep kAvailabilityOfType{"STAT_TIP", "TIPO_ROM", "STAT_TIP"};

}  // namespace

const std::vector<RecodeStep>& TYPE_REFERENCES() {
  static const std::vector<RecodeStep> steps = {
      {"ROOMS", "TIPO", "ROOMS2"},           {"TIP_PREC", "T_ROOM", "TIP_PREC11"},
      {"STAT_TIP", "TIPO_ROM", "STAT_TIP"},  {"DET_RES1", "TIPO_ROM", ""},
      {"CDET_RS1", "TIPO_ROM", "CDET_RS12"}, {"PDET_RS1", "TIPO_ROM", "PDET_RS12"},
      {"DET_RES9", "TIPO_ROM", ""},          {"NIV_TARI", "TIPO_ROM", "NIV_TARI3"},
      {"MAP_CIE", "TIPO_ROM", "MAP_CIE2"},   {"MAP_CIE2", "TIPO_ROM", "MAP_CIE22"},
      {"DET_EV11", "TIPO_ROM", "DET_EV112"}, {"AB_E_RCI", "TIPO_ROM", "AB_E_RCI2"},
  };
  return steps;
}

std::vector<std::string> ROOMS_DEL_TIPO(const std::string& negocio, const std::string& tipo) {
  std::vector<std::string> codes;
  auto rooms = lib::USE(nullptr, "ROOMS", "ROOMS2");
  const std::string key = keyPart(*rooms, "NEGOCIO", negocio) + keyPart(*rooms, "TIPO", tipo);
  rooms->SetScope(Value::chars(key), Value::chars(key));
  for (rooms->GoTop(); !rooms->Eof(); rooms->Skip()) codes.push_back(rooms->S("CODIGO"));
  lib::KILLTABLA(rooms);
  return codes;
}

TIPO_ROM::TIPO_ROM(const std::string& dialog, const std::string& negocio) {
  NEGOCIO = negocio;
  AbrirBases();
  if (!Init(nullptr, dialog)) return;
  OB = std::make_unique<win::WBLISTBOX>(this, kGrid, TIPO_ROM_.get());
  ADD(OB.get());
  ADD_BUTTON(win::IDOK, [this] { ENDDIALOG(); });
  CREATE(dialog);
  MontarColumnas();
  ConfigBrow();
  OB->doubleclick = [this](win::WBLISTBOX&) { MOD_TIPO_ROM(); };
}

void TIPO_ROM::AbrirBases() {
  TIPO_ROM_ = lib::USE(this, "TIPO_ROM", "TIPO_ROM");
}

void TIPO_ROM::CerrarBases() {
  if (OB) CLOSEBROWSE(*OB);
  lib::KILLTABLA(TIPO_ROM_);
}

void TIPO_ROM::MontarColumnas() {
  lib::WDBTable* t = TIPO_ROM_.get();
  // Widths from the pictures, widened so that the headings show whole.
  win::AGREGARCOL(*OB, t, "Código", "CODIGO", "!!!!", {}, 0, false, 16);
  win::AGREGARCOL(*OB, t, "Descripción", "DESCRIP", std::string(40, '!'));
  win::AGREGARCOL(*OB, t, "Clase", "CLASE", "!!!!", {}, 0, false, 8);
  win::AGREGARCOL(*OB, t, "Cant x Room", "CANTIDAD", "9999", {}, 2, false, 44);
  win::AGREGARCOL(*OB, t, "Cant Adulto", "CANT_ADULT", "9999", {}, 2, false, 40);
  win::AGREGARCOL(*OB, t, "Cant Niños", "CANT_NINHO", "9999", {}, 2, false, 36);
}

void TIPO_ROM::ConfigBrow() {
  lib::SELECT(TIPO_ROM_->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, "TIPO_ROM"}}, 1, NEGOCIO);
}

void TIPO_ROM::SHOW_MENU() {
  if (win::MainFrame* frame = win::MainFrame::instance()) frame->MENUSET(kMenuId, this, NEGOCIO);
}

void TIPO_ROM::HIDE_MENU() {
  if (win::MainFrame* frame = win::MainFrame::instance()) frame->MENUSET(0, this, NEGOCIO);
}

bool TIPO_ROM::hasType() const {
  return TIPO_ROM_ && !TIPO_ROM_->Eof() && OB && OB->nMaxRec > 0;
}

void TIPO_ROM::refreshTypes(bool added) {
  if (added) OB->nMaxRec += 1;
  OB->SHOWDATA();
  OB->REFRESHALL();
}

void TIPO_ROM::ADD_TIPO_ROM() {
  win::open<TIPO_RO2>(this, "AGREGAR_TIPO_ROM", NEGOCIO, TIPO_RO2::kAdd);
}

void TIPO_ROM::MOD_TIPO_ROM() {
  if (!hasType()) return;
  win::open<TIPO_RO2>(this, "AGREGAR_TIPO_ROM", NEGOCIO, TIPO_RO2::kModify);
}

// The type goes; its rooms stay, without type and class, so its class (and the class's
// availability rows) lose them; the type's own availability rows are deleted.
void TIPO_ROM::DEL_TIPO_ROM() {
  if (!hasType()) return;
  if (!confirm(cascadeQuestion("Desea borrar el Tipo de la Habitación?"))) return;
  lib::WDBTable& t = *TIPO_ROM_;
  const uint32_t deleting = t.RecNo();
  const std::string tipo = t.S("CODIGO"), clase = t.S("CLASE");
  const int32_t desde = CIERRE_DIA(NEGOCIO);
  DISABLE_BROWSE(*OB);
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
    for (const std::string& room : ROOMS_DEL_TIPO(NEGOCIO, tipo)) CLASE_TAB_RESE(NEGOCIO, room, "", desde);
    QUITA_TIPO_A_ROOMS(NEGOCIO, tipo);
    t.GoTo(deleting);
    const double cantidad = t.N("CANTIDAD");
    SUMA_CLASE(NEGOCIO, clase, -cantidad);
    SUMA_DISPONIBLE_CLASE(NEGOCIO, clase, desde, -cantidad);
    wait.PUT_TEXT("", "", "Eliminando referencias en STAT_TIP...");
    BORRA_REFERENCIAS(kAvailabilityOfType, NEGOCIO, tipo);
    wait.TERMINAR();
  }
  ENABLE_BROWSE(*OB);
  t.GoTo(deleting);
  lib::MODIFY(t, [&] { t.Delete(); });
  t.Skip();
  OB->nMaxRec = OB->nMaxRec > 0 ? OB->nMaxRec - 1 : 0;
  OB->SHOWDATA();
  OB->REFRESHALL();
}

void TIPO_ROM::RECODIFICA_RES() {
  if (!hasType()) return;
  rooms::RECODIFICA_RES process(this, NEGOCIO, TIPO_ROM_->S("CODIGO"));
  process.run();
}

}  // namespace rooms
