#include "rooms/recod_r.h"

#include "lib/text.h"
#include "lib/use.h"
#include "rooms/room_references.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/wait.h"

namespace rooms {

namespace {

constexpr int kOriginal = 501, kNew = 502;
constexpr size_t kRoomCode = 15;

bool roomExists(const std::string& negocio, const std::string& code) {
  auto rooms = lib::USE(nullptr, "ROOMS", "ROOMS");
  bool found = rooms->Seek(rooms->KeyPart("NEGOCIO", negocio) + rooms->KeyPart("CODIGO", code));
  lib::KILLTABLA(rooms);
  return found;
}

}  // namespace

void RECOD_R::INIT() {
  if (!Init(nullptr, DIALOG)) return;
  for (int id : {kOriginal, kNew}) ADD(std::make_unique<win::WEDIT>(this, id))->SetLimit(int(kRoomCode));
  ADD_BUTTON(win::IDOK, [this] { PROCESAR(); });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE(DIALOG);
  SetFocusTo(kOriginal);
}

void RECOD_R::PROCESAR() {
  CALL_LEVEL();
  const std::string original = lib::padded(lib::upper(lib::trim(GetDlgItemText(kOriginal))), kRoomCode);
  const std::string target = lib::padded(lib::upper(lib::trim(GetDlgItemText(kNew))), kRoomCode);
  if (lib::trim(original).empty() || !roomExists(NEGOCIO, original)) {
    screens::error("Habitación Origen no existe!");
    SetFocusTo(kOriginal);
    return;
  }
  if (lib::trim(target).empty() || roomExists(NEGOCIO, target)) {
    screens::error("Habitación Destino YA existe!");
    SetFocusTo(kNew);
    return;
  }
  if (!screens::confirm("Desea recodificar la Habitación?")) return;
  screens::CascadeReport report;
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...");
    report = screens::RECODIFICA(ROOM_REFERENCES(), NEGOCIO, original, target, &wait);
    wait.TERMINAR();
  }
  screens::AVISA_FALTANTES(report);
  screens::notice("Habitación recodificada con Éxito!", "Confirmación");
  ENDDIALOG();
}

}  // namespace rooms
