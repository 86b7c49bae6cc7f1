// "Edición de Temporada: Precios Base" (E_TD_TEM), opened from TAR_DINA (which takes no input
// meanwhile): a dynamic season of a rate type — description, start and end — and, one working
// row per room type of the business unit (T_TDTEM), its base value, floor and ceiling, edited
// in place (a letter, a digit or Enter on "Valor", "Piso" or "Techo"; the cursor then moves
// down). "Aceptar" stores the season under the code its dates make and carries that code into
// its stored values, appending the values a room type did not have.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "screens/screen.h"
#include "win/browse.h"

namespace rates {

class TAR_DINA;

class E_TD_TEM : public screens::SCREEN, public win::ADD2BROWSE, public win::EDITCELL {
 public:
  // `recno` 0: a new season of `rack`.
  E_TD_TEM(TAR_DINA* tree, const std::string& negocio, const std::string& rack, uint32_t recno);
  void INIT() override;

 protected:
  void CerrarBases() override;

 private:
  void CARGAR();
  bool TECLA(win::WBLISTBOX& grid, int qtKey, const std::string& text);
  void GRABAR();

  TAR_DINA* const tree_;
  const std::string RACK;
  const uint32_t XRECNO;
  std::string codigo_;  // the season's code as stored ("" when new)
  std::unique_ptr<lib::WDBTable> rows_;
  std::unique_ptr<win::WBLISTBOX> OB;
};

// "%", "N" or "?" for a value's TIPO; "Exacto", ".10", ".25", ".50", ".00" or "?" for REDONDEO.
std::string TIPO_VALOR(int tipo);
std::string REDONDEO_VALOR(int redondeo);

}  // namespace rates
