// The breakdown of a rate type (or of one of its special breakdowns) while its editor is
// open: eight working copies, the percentage and the fixed-amount components of each guest
// line ("01" adult regular, "02" adult additional, "03" child regular, "04" child
// additional), each in a temporary table of this workstation with its grid on the editor's
// tab pages. Each row remembers the stored record it came from; nothing reaches DET_RACK or
// DET_RAK2 until GRABAR.
//
// Grids: percentage lines on 711–714, fixed-amount lines on 721–724; each grid's buttons are
// its id × 10 + 1 ("Agregar "), + 2 ("Modificar") and + 3 ("Borrar"). A click on the first
// column ("N R") of a fixed-amount grid toggles NO_RESTAR.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "lib/wdbtable.h"
#include "screens/screen.h"
#include "win/browse.h"

namespace rates {

class DESGLOSE : public win::ADD2BROWSE {
 public:
  // `especial` blank: the rate type's own breakdown.
  DESGLOSE(screens::SCREEN& screen, const std::string& negocio, const std::string& especial);

  // The working tables and the grids, with their buttons (before the screen's CREATE).
  void BIND();
  // The grids' columns and scopes (after CREATE).
  void CONFIGURA();
  // The working copies from the stored components of `rack` (blank when adding).
  void CARGAR(const std::string& rack);
  // "Aplicar Datos Adulto Normal a demás Ventanas": asks, and on OK lines "02"–"04" become
  // copies of line "01"'s percentage rows (as new rows).
  void PROPAGAR();
  // The working copies into the stored components of `rack` (under the special `especial`,
  // when one was renamed): removed rows delete their records, new rows append, the others
  // rewrite theirs.
  void GRABAR(const std::string& rack);
  void GRABAR(const std::string& rack, const std::string& especial);
  // The grids are closed before their tables.
  void CERRAR();

  static constexpr int kPercentGrid = 711, kFixedGrid = 721;

 private:
  struct Line {
    std::unique_ptr<lib::WDBTable> table;
    std::unique_ptr<win::WBLISTBOX> grid;
    std::vector<uint32_t> removed;  // stored records of rows removed
  };
  Line& line(bool fixed, int n) { return (fixed ? fixed_ : percent_)[size_t(n)]; }
  void AGREGAR(bool fixed, int n);
  void MODIFICAR(bool fixed, int n);
  void BORRAR(bool fixed, int n);
  void TOGGLE_NR(int n);
  // The component dialog on the working row (`recno` 0: a new row). True when saved.
  bool COMPONENTE(bool fixed, int n, uint32_t recno);
  void REFRESCA(Line& l, uint32_t recno);
  void VACIA(Line& l);

  screens::SCREEN& screen_;
  const std::string negocio_;
  std::string especial_;
  std::array<Line, 4> percent_, fixed_;
};

// "01" … "04".
std::string lineaDesglose(int n);

}  // namespace rates
