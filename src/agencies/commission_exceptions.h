// "Excepciones de Comisiones" (E_COMIS2): the commission exceptions of the agency being
// edited, on the editor's working copy (DET_AG3W, each row remembering the DET_AGE3 record
// it came from). Rows are added, changed and marked deleted there; nothing reaches DET_AGE3
// until the agency is saved, and a cancelled agency leaves DET_AGE3 as it was.
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace agencies {

class E_COMIS2 : public screens::LIST_SCREEN {
 public:
  E_COMIS2(screens::SCREEN* editor, lib::WDBTable* working, const std::string& negocio);
  void INIT() override;

  void AGREGAR();
  void MODIFICAR();
  void BORRAR();

 protected:
  void AbrirBases() override;
  void BOTONES() override;
  void ConfigBrow() override;
  void DOBLE_CLICK() override { MODIFICAR(); }

 private:
  screens::SCREEN* editor_;
  lib::WDBTable* working_;
  lib::WDBTable* ENC_RACK = nullptr;
};

// The working copy written back to DET_AGE3 for `agency`: rows marked deleted that came from
// DET_AGE3 delete their record, new ones are appended, the others rewrite theirs.
void GRABA_EXCEPCIONES(lib::WDBTable& working, const std::string& negocio, const std::string& agency);
// The agency's DET_AGE3 rows copied into the (empty) working copy.
void CARGA_EXCEPCIONES(lib::WDBTable& working, const std::string& negocio, const std::string& agency);

}  // namespace agencies
