// "Clases de Habitaciones" (menu 3095): the room classes of the business unit, used for
// statistics and forecasting; each room type belongs to one. Its editor is CLAS_RO2 (dialog
// AGREGAR_CLAS_ROM, mode 0 adds, 1 modifies the class whose record number it is given).
// Deleting a class leaves its types and rooms without class and deletes the class's
// availability rows.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lib/wdbtable.h"
#include "rooms/recode.h"
#include "win/browse.h"
#include "win/wdiag.h"

namespace rooms {

// The tables that name a room class, in the order a changed class code is carried into them.
const std::vector<RecodeStep>& CLASS_REFERENCES();

class CLAS_ROM : public win::WDIAG, public win::ADD2BROWSE {
 public:
  static constexpr int kMenuId = 3095;

  CLAS_ROM(const std::string& dialog, const std::string& negocio);

  void SHOW_MENU() override;
  void HIDE_MENU() override;
  void OnNCDESTROY() override { CerrarBases(); }

  void ADD_CLAS_ROM();
  void MOD_CLAS_ROM();
  void DEL_CLAS_ROM();

  void refreshClasses(bool added);

  std::unique_ptr<lib::WDBTable> CLAS_ROM_;
  std::unique_ptr<win::WBLISTBOX> OB;

 private:
  void AbrirBases();
  void CerrarBases();
  void MontarColumnas();
  void ConfigBrow();
  bool hasClass() const;
};

}  // namespace rooms
