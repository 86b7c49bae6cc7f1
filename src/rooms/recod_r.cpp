#include "rooms/recod_r.h"

#include "lib/use.h"
#include "rooms/room_util.h"
#include "win/controls.h"
#include "win/wait.h"

namespace rooms {

namespace {

constexpr int kOriginal = 501, kNew = 502;
constexpr size_t kRoomCode = 15;

bool roomExists(const std::string& negocio, const std::string& code) {
  auto rooms = lib::USE(nullptr, "ROOMS", "ROOMS");
  bool found = rooms->Seek(keyPart(*rooms, "NEGOCIO", negocio) + keyPart(*rooms, "CODIGO", code));
  lib::KILLTABLA(rooms);
  return found;
}

}  // namespace

const std::vector<RecodeStep>& ROOM_REFERENCES() {
  static const std::vector<RecodeStep> steps = {
      {"ROOMS", "CODIGO", "ROOMS"},
      // Rooms connected to this one name it too.
      {"ROOMS", "COD_ROOM2", "", false},
      {"DET_RES2", "COD_ROOMS", "DET_RS28"},
      {"TAB_RESE", "CODIGO", "TAB_RES2"},
      {"DET_ROM1", "ROOM", "DET_ROM1"},
      {"DET_ROM2", "ROOM", "DET_ROM2"},
      {"DET_ROM3", "CODIGO", "DET_ROM3"},
      {"DET_FOL", "ROOM", ""},
      {"DET_FOL", "HAB_ORIGEN", ""},
      {"ENC_FOL", "ROOM", ""},
      {"DET_FAC", "ROOM", ""},
      {"ENC_FAC", "ROOM", ""},
      {"RECADOS", "ROOM", "RECADOS"},
      {"LLAMADAS", "ROOM", "LLAMADAS"},
      {"LIMBO", "ROOM", "LIMBO"},
      {"EVENTOS", "ROOM2", ""},
      {"EVENTOS", "ROOM", ""},
  };
  return steps;
}

RECOD_R::RECOD_R(const std::string& dialog, const std::string& negocio) {
  NEGOCIO = negocio;
  if (!Init(nullptr, dialog)) return;
  ADD(std::make_unique<win::WEDIT>(this, kOriginal));
  ADD(std::make_unique<win::WEDIT>(this, kNew));
  ADD_BUTTON(win::IDOK, [this] { PROCESAR(); });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE(dialog);
  for (int id : {kOriginal, kNew}) win::WEDIT(this, id).SetLimit(int(kRoomCode));
  SetFocusTo(kOriginal);
}

void RECOD_R::PROCESAR() {
  const std::string original = pad(upper(trim(GetDlgItemText(kOriginal))), kRoomCode);
  const std::string target = pad(upper(trim(GetDlgItemText(kNew))), kRoomCode);
  if (trim(original).empty() || !roomExists(NEGOCIO, original)) {
    error("Habitación Origen no existe!");
    SetFocusTo(kOriginal);
    return;
  }
  if (trim(target).empty() || roomExists(NEGOCIO, target)) {
    error("Habitación Destino YA existe!");
    SetFocusTo(kNew);
    return;
  }
  if (!confirm("Desea recodificar la Habitación?")) return;
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...");
    RECODIFICA(ROOM_REFERENCES(), NEGOCIO, original, target, &wait);
    wait.TERMINAR();
  }
  notice("Habitación recodificada con Éxito!", "Confirmación");
  ENDDIALOG();
}

}  // namespace rooms
