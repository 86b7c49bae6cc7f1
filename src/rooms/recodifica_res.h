// "Recodificar Reservas": the reservations of one room type handed to another type, for a
// type that no room has any more. A modal dialog (RECODIFICA_RES) asks for the new type; the
// reserved type lines (DET_RES1, CDET_RS1, PDET_RS1) and the nightly rows (DET_RES9) of the
// business unit change from the old type to it (RESERVATION_TYPE_REFERENCES). The
// statistics are recalculated afterwards by the user.
#pragma once

#include <string>

namespace win {
class ModalDialog;
class WDIAG;
}  // namespace win

namespace rooms {

class RECODIFICA_RES {
 public:
  RECODIFICA_RES(win::WDIAG* owner, const std::string& negocio, const std::string& tipo);
  // Runs the dialog; true when the reservations were recoded.
  bool run();

 private:
  void LOAD_TIPOS(win::ModalDialog& dialog);
  bool PROCESAR(win::ModalDialog& dialog);

  win::WDIAG* owner_;
  std::string NEGOCIO;
  std::string tipo_;
  bool done_ = false;
};

}  // namespace rooms
