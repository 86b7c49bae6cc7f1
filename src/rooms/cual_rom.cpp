#include "rooms/cual_rom.h"

#include "lib/wdbtable.h"
#include "rooms/recode.h"
#include "rooms/room_details.h"
#include "rooms/room_util.h"
#include "win/dialog_box.h"

namespace rooms {

namespace {

const RecodeStep kRowsOfQuality{"DET_ROM2", "CODIGO", "DET_ROM22"};
constexpr int kShowOnCard = 1001;

}  // namespace

CUAL_ROM::CUAL_ROM(const std::string& dialog, const std::string& negocio)
    : CODE_LIST(dialog, negocio,
                {"CUAL_ROM", kMenuId, "!!!!", "AGREGAR_TIPO_CUAL", "Código ya definido...", "Código Ya definido...",
                 cascadeQuestion("Desea borrar la Cualidad?")}) {}

void CUAL_ROM::loadExtras(win::ModalDialog& dialog, lib::WDBTable& record) {
  dialog.CheckDlgButton(kShowOnCard, record.N("SHOW_REG") == 1);
}

void CUAL_ROM::storeExtras(win::ModalDialog& dialog, lib::WDBTable& record) {
  record.FieldPut("SHOW_REG", lib::Value::num(dialog.IsDlgButtonChecked(kShowOnCard) ? 1 : 0));
}

void CUAL_ROM::afterAdd(const std::string& code) {
  FILAS_PARA_ROOMS(kCualidades, NEGOCIO, code);
}

void CUAL_ROM::recode(const std::string& oldCode, const std::string& newCode, win::WAIT&) {
  REEMPLAZA_CODIGO(kRowsOfQuality, NEGOCIO, oldCode, newCode);
}

void CUAL_ROM::deleteReferences(const std::string& code, win::WAIT&) {
  BORRA_REFERENCIAS(kRowsOfQuality, NEGOCIO, code);
}

}  // namespace rooms
