// "Historial de Cambios": the change history of one record (screens/history.h), newest
// first — date, time, user, field, value before and after, workstation. Opened from the
// "Editar" entry every list screen has; it only shows.
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace screens {

class HIST_CAMBIOS : public LIST_SCREEN {
 public:
  // The history of the record `key` of `table`; `title` says which record it is.
  HIST_CAMBIOS(std::string negocio, std::string table, std::string key, std::string title);
  void INIT() override;
  std::string name() const override { return "HIST_CAMBIOS"; }

 protected:
  void AbrirBases() override;
  void MontarColumnas() override;
  void ConfigBrow() override;

 private:
  const std::string table_, key_, title_;
};

}  // namespace screens
