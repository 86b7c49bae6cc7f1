#include "rooms/clas_rom.h"

#include "lib/record_protocol.h"
#include "lib/use.h"
#include "rooms/clas_ro2.h"
#include "rooms/room_util.h"
#include "win/main_frame.h"
#include "win/wait.h"

namespace rooms {

namespace {

constexpr int kGrid = 700;

// What a deleted class leaves: rooms and types without class, no class combining with it.
const std::vector<RecodeStep> kClassLeaves = {
    {"ROOMS", "CLASE", "ROOMS8"},
    {"TIPO_ROM", "CLASE", "TIPO_ROM2"},
    {"CLAS_ROM", "OTRA_CLASE", "", false},
};
// Its availability rows: the class-total rows and the rows of every type under the class.
const RecodeStep kAvailabilityOfClass{"STAT_TIP", "XCLASE", "STAT_TIP9"};

}  // namespace

const std::vector<RecodeStep>& CLASS_REFERENCES() {
  static const std::vector<RecodeStep> steps = {
      {"ROOMS", "CLASE", "ROOMS8"},
      {"TIPO_ROM", "CLASE", "TIPO_ROM2"},
      {"CLAS_ROM", "OTRA_CLASE", "", false},
      {"STAT_TIP", "CLASE", "STAT_TIP4"},
      {"STAT_TIP", "XCLASE", "STAT_TIP9", false},
      {"TAB_RESE", "CLASE", ""},
      {"DET_RES9", "CLASE", ""},
      {"ENC_RACK", "CLASE", ""},
  };
  return steps;
}

CLAS_ROM::CLAS_ROM(const std::string& dialog, const std::string& negocio) {
  NEGOCIO = negocio;
  AbrirBases();
  if (!Init(nullptr, dialog)) return;
  OB = std::make_unique<win::WBLISTBOX>(this, kGrid, CLAS_ROM_.get());
  ADD(OB.get());
  ADD_BUTTON(win::IDOK, [this] { ENDDIALOG(); });
  CREATE(dialog);
  MontarColumnas();
  ConfigBrow();
  OB->doubleclick = [this](win::WBLISTBOX&) { MOD_CLAS_ROM(); };
}

void CLAS_ROM::AbrirBases() {
  CLAS_ROM_ = lib::USE(this, "CLAS_ROM", "CLAS_ROM");
}

void CLAS_ROM::CerrarBases() {
  if (OB) CLOSEBROWSE(*OB);
  lib::KILLTABLA(CLAS_ROM_);
}

void CLAS_ROM::MontarColumnas() {
  lib::WDBTable* t = CLAS_ROM_.get();
  win::AGREGARCOL(*OB, t, "Código", "CODIGO", "!!!!", {}, 0, false, 16);
  win::AGREGARCOL(*OB, t, "Descripción", "DESCRIP", std::string(40, '!'));
  win::AGREGARCOL(*OB, t, "Cantidad", "CANTIDAD", "999999", {}, 1, false, 12);
}

void CLAS_ROM::ConfigBrow() {
  lib::SELECT(CLAS_ROM_->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, "CLAS_ROM"}}, 1, NEGOCIO);
}

void CLAS_ROM::SHOW_MENU() {
  if (win::MainFrame* frame = win::MainFrame::instance()) frame->MENUSET(kMenuId, this, NEGOCIO);
}

void CLAS_ROM::HIDE_MENU() {
  if (win::MainFrame* frame = win::MainFrame::instance()) frame->MENUSET(0, this, NEGOCIO);
}

bool CLAS_ROM::hasClass() const {
  return CLAS_ROM_ && !CLAS_ROM_->Eof() && OB && OB->nMaxRec > 0;
}

void CLAS_ROM::refreshClasses(bool added) {
  if (added) OB->nMaxRec += 1;
  OB->SHOWDATA();
  OB->REFRESHALL();
}

void CLAS_ROM::ADD_CLAS_ROM() {
  win::open<CLAS_RO2>(this, "AGREGAR_CLAS_ROM", NEGOCIO, CLAS_RO2::kAdd, 0u);
}

void CLAS_ROM::MOD_CLAS_ROM() {
  if (!hasClass()) return;
  win::open<CLAS_RO2>(this, "AGREGAR_CLAS_ROM", NEGOCIO, CLAS_RO2::kModify, CLAS_ROM_->RecNo());
}

// The class goes; its rooms and types stay, without class, and its availability rows go.
void CLAS_ROM::DEL_CLAS_ROM() {
  if (!hasClass()) return;
  if (!confirm(cascadeQuestion("Desea borrar el Tipo de la Habitación?"))) return;
  lib::WDBTable& t = *CLAS_ROM_;
  const uint32_t deleting = t.RecNo();
  const std::string clase = t.S("CODIGO");
  DISABLE_BROWSE(*OB);
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
    for (const RecodeStep& step : kClassLeaves) REEMPLAZA_CODIGO(step, NEGOCIO, clase, "");
    wait.PUT_TEXT("", "", "Eliminando referencias en STAT_TIP...");
    BORRA_REFERENCIAS(kAvailabilityOfClass, NEGOCIO, clase);
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

}  // namespace rooms
