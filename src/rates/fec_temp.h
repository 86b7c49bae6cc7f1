// "Asignar Fecha a Temporada" (menu 3071, dialog FEC_TEMP): the dates of the seasons, each a
// day/month range recurring every year. Its editor E_FEC_TE needs a season, a start and an
// end that are dates of the current year, and refuses a second range of the season with the
// same start day.
#pragma once

#include <string>

#include "screens/editor.h"
#include "screens/list_screen.h"

namespace rates {

class FEC_TEMP : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 3071;
  FEC_TEMP(const std::string& dialog, const std::string& negocio);

  void ADD_FEC_TEMP();
  void MOD_FEC_TEMP();
  void DEL_FEC_TEMP();

 protected:
  void DOBLE_CLICK() override { MOD_FEC_TEMP(); }
};

class E_FEC_TE : public screens::EDITOR {
 public:
  E_FEC_TE(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

 protected:
  void BIND() override;
  void LOAD_LISTAS() override;
  bool VALIDA(const std::string& code) override;
};

}  // namespace rates
