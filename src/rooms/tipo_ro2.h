// The room type editor (dialog AGREGAR_TIPO_ROM) over the TIPO_ROM screen: mode 1 adds a
// type, 2 modifies the one under the list's cursor. A new type gets its availability rows
// from the closing day; a changed code is carried into every table that names the type
// (TYPE_REFERENCES); a changed class moves the type's rooms from one class to the other.
// In both modes the type's occupancy ceiling goes into its availability rows and its rooms
// take its class.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "lib/wdbtable.h"
#include "win/wdiag.h"

namespace rooms {

class TIPO_ROM;

class TIPO_RO2 : public win::WDIAG {
 public:
  enum Mode { kAdd = 1, kModify = 2 };
  TIPO_RO2(TIPO_ROM* list, const std::string& dialog, const std::string& negocio, Mode mode);

 private:
  void AbrirBases();
  void CerrarBases();
  void OnNCDESTROY() override { CerrarBases(); }
  void LOAD_CLASES();
  void LOAD_ALLOTMENT();
  void LOAD_TARIFAS();
  void LOAD_PUNTOS();
  void LOAD_GRUPOS();
  void readRecord();
  void SAVE_DATOS();
  bool validate(const std::string& code);
  bool duplicate(const std::string& code);
  void ADD_TIPO();
  void MOD_TIPO(const std::string& code);
  void writeFields(lib::WDBTable& t, const std::string& code);

  TIPO_ROM* list_;
  Mode mode_;
  uint32_t XRECNO = 0;
  // Its own object on the types, for the duplicate check and the new record; a modified
  // type is rewritten through the list's object, positioned on it.
  std::unique_ptr<lib::WDBTable> TIPO_ROM_;
};

}  // namespace rooms
