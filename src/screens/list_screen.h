// A list screen: the records of one table of the business unit in a browse grid (control
// 700), in the order of the table's tag by business unit and code, scoped to the business
// unit; push button 1 closes it; its add, modify and delete operations are the "Editar"
// entries of its menu id. A screen class declares the table, tag, menu id and columns, and
// writes only what is its own: the operations, their editor, their cascades.
//
// INIT runs the sequence every list screen follows: AbrirBases, the window from the
// template, the grid, the buttons, CREATE, MontarColumnas, ConfigBrow. Each step is a
// virtual the screen class may extend.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lib/wdbtable.h"
#include "screens/screen.h"
#include "win/browse.h"

namespace win {
class WAIT;
}

namespace screens {

struct Column {
  std::string heading;
  std::string field;
  std::string picture;
  int align = 0;                           // 0 left, 2 right
  int adjust = 0;                          // pixels more than the picture's width, so that the heading shows whole
  std::function<lib::Value()> block = {};  // a computed column (its field names the order)
};

struct ListDefinition {
  std::string table;
  std::string tag;  // "" = the table's own name
  int menuId = 0;
  std::vector<Column> columns;
  // The window may be resized: the grid stretches with it and the close button keeps to
  // the bottom right corner.
  bool resizable = false;
};

class LIST_SCREEN : public SCREEN, public win::ADD2BROWSE {
 public:
  void INIT() override;

  lib::WDBTable* TABLA = nullptr;  // the list's table
  std::unique_ptr<win::WBLISTBOX> OB;

  const ListDefinition& definition() const { return def_; }
  // The list's own order: by business unit and code.
  std::string mainTag() const { return def_.tag.empty() ? def_.table : def_.tag; }

  // A record of the business unit is under the grid's cursor.
  bool hasRecord() const;
  // After an editor saved: the grid shows the table again (one row more after an add),
  // positioned on `recno` when given.
  void REFRESCA(bool added, uint32_t recno = 0);
  // Runs `work` with the grid detached from the table (a cascade moves its records), and
  // attaches it again however `work` ends.
  void SIN_GRID(const std::function<void()>& work);
  // "Historial de Cambios...": the change history of the record under the cursor, in a
  // screen of its own (screens/history_screen.h).
  void HISTORIAL();

 protected:
  LIST_SCREEN(std::string dialog, std::string negocio, ListDefinition definition);

  // The list's table on its tag; a screen that needs more tables opens them after this.
  virtual void AbrirBases();
  // Push buttons besides 1 (close).
  virtual void BOTONES() {}
  virtual void MontarColumnas();
  virtual void ConfigBrow();
  // A double click or Enter on a row (the screen's modify, usually).
  virtual void DOBLE_CLICK() {}
  void CerrarBases() override;

  // The delete protocol: asks `question` ("Advertencia", OK/Cancel); on OK runs `cascade`
  // (when there is one) under the progress window ("Un momento por favor...",
  // "Actualizando Referencias...") with the grid detached, then marks the record under the
  // cursor deleted under its lock (the deletion recorded in the change history) and moves
  // on to the next. False when the user declined or there was nothing to delete.
  bool BORRA_REGISTRO(const std::string& question, const std::function<void(win::WAIT&)>& cascade);

  const ListDefinition def_;
};

}  // namespace screens
