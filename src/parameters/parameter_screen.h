// What the four parameter screens share: the business unit's record of each parameter
// table the screen edits (created when missing, so that saving always has it), the
// controls bound to their fields in one form, the tab pages, and the record written back
// under its lock.
//
// INIT: ABRIRBASES, the window, the tab pages, CONTROLES, CREATE, LOAD_LISTAS, LOAD_DATOS
// (the records created when missing and shown), the first page.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "screens/form.h"
#include "screens/screen.h"

namespace parameters {

class PARAMETER_SCREEN : public screens::SCREEN {
 public:
  void INIT() override;
  void TERMINAR() { ENDDIALOG(); }

 protected:
  struct Page {
    std::string dialog, name;
  };
  PARAMETER_SCREEN(std::string dialog, std::string negocio, std::vector<Page> pages = {}, int tabWidth = 100);

  // A parameter table the screen edits, open for the screen on its NEGOCIO order.
  lib::WDBTable* PARAMETRO(const std::string& table);

  virtual void ABRIRBASES() = 0;
  virtual void CONTROLES() = 0;
  virtual void LOAD_LISTAS() {}
  // Each parameter table on the business unit's record (created when missing), then the
  // form and its numeric entry filters.
  virtual void LOAD_DATOS();
  // The form's fields of `table` into the business unit's record (created when missing).
  void GRABA(lib::WDBTable* table);

  screens::FORM form_{*this};

 private:
  std::vector<Page> pages_;
  int tabWidth_;
  std::vector<lib::WDBTable*> parameters_;
};

}  // namespace parameters
