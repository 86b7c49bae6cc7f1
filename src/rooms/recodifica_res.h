// "Recodificar Reservas": the reservations of one room type handed to another type, for a
// type that no room has any more. A modal dialog (RECODIFICA_RES) asks for the new type; the
// reserved type lines (DET_RES1, CDET_RS1, PDET_RS1) and the nightly rows (DET_RES9) of the
// business unit change from the old type to it. The statistics are recalculated afterwards
// by the user.
#pragma once

#include <string>
#include <vector>

#include "rooms/recode.h"

namespace win {
class ModalDialog;
class WDIAG;
}  // namespace win

namespace rooms {

// The tables whose reservations name a type, in the order they are recoded.
const std::vector<RecodeStep>& RESERVATION_TYPE_REFERENCES();

class RECODIFICA_RES {
 public:
  RECODIFICA_RES(win::WDIAG* owner, const std::string& negocio, const std::string& tipo);
  // Runs the dialog; true when the reservations were recoded.
  bool run();

 private:
  int CTRLRECODIFICA(win::ModalDialog& dialog, int message, int wParam);
  void LOAD_TIPOS(win::ModalDialog& dialog);
  void PROCESAR(win::ModalDialog& dialog, const std::string& nuevo);

  win::WDIAG* owner_;
  std::string NEGOCIO;
  std::string tipo_;
  bool done_ = false;
};

}  // namespace rooms
