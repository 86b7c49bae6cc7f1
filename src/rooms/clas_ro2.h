// The room class editor (dialog AGREGAR_CLAS_ROM) over the CLAS_ROM screen: mode 0 adds a
// class, 1 modifies the class at record XRECNO. A changed code is carried into the rooms,
// types and availability rows of the class (CLASS_REFERENCES); the class's occupancy
// ceiling goes into its class-total availability rows from the closing day on.
#pragma once

#include <cstdint>
#include <string>

#include "lib/wdbtable.h"
#include "win/wdiag.h"

namespace rooms {

class CLAS_ROM;

class CLAS_RO2 : public win::WDIAG {
 public:
  enum Mode { kAdd = 0, kModify = 1 };
  CLAS_RO2(CLAS_ROM* list, const std::string& dialog, const std::string& negocio, Mode mode, uint32_t recno);

 private:
  void AbrirBases();
  void CerrarBases();
  void OnNCDESTROY() override { CerrarBases(); }
  void LOAD_CLASES();
  void LOAD_BRAZALETES();
  void readRecord();
  void COMBINAR_CHANGED();
  void SAVE_DATOS();
  bool duplicate(const std::string& code);
  void writeFields(lib::WDBTable& t, const std::string& code);

  CLAS_ROM* list_;
  Mode MODO_E;
  uint32_t XRECNO = 0;
  std::unique_ptr<lib::WDBTable> CLAS_ROM_;
};

}  // namespace rooms
