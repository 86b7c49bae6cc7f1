// The short lists of the rooms menu — locations, accessories, qualities and type groups —
// share one form: a grid of code and description over one table of the business unit, an
// editor that is a modal dialog with the code (500) and the description (501) run through
// the screen's CTRLAGREGAR procedure (mode 0 adds, 1 modifies the record under the grid
// cursor), a delete that asks first, and the cascades that carry a changed or deleted code
// into the tables that refer to it. CODE_LIST is that form; each screen class names its
// table, texts and cascades and keeps the program's ADD_/MOD_/DEL_ operations.
#pragma once

#include <memory>
#include <string>

#include "lib/wdbtable.h"
#include "win/browse.h"
#include "win/wdiag.h"

namespace win {
class ModalDialog;
class WAIT;
}  // namespace win

namespace rooms {

class CODE_LIST : public win::WDIAG, public win::ADD2BROWSE {
 public:
  enum Mode { kAdd = 0, kModify = 1 };

  struct Definition {
    std::string table;         // and the order by business unit + code
    int menuId = 0;            // its "Editar" menu
    std::string codePicture;   // "!!!!"
    std::string editor;        // the modal dialog
    std::string duplicateAdd;  // "" = no check on add
    std::string duplicateModify;
    std::string deleteQuestion;  // asked as it is
  };

  void SHOW_MENU() override;
  void HIDE_MENU() override;
  void OnNCDESTROY() override { CerrarBases(); }

  std::unique_ptr<lib::WDBTable> TABLA;  // the list's table (named by the definition)
  std::unique_ptr<win::WBLISTBOX> OB;

 protected:
  CODE_LIST(const std::string& dialog, const std::string& negocio, Definition definition);

  // The operations behind the screen's "Editar" entries.
  void AGREGAR();
  void MODIFICAR();
  void BORRAR();

  // What a screen adds to the form.
  // Modify mode: the record's further fields into the dialog; both modes: back, inside the
  // record's lock.
  virtual void loadExtras(win::ModalDialog&, lib::WDBTable&) {}
  virtual void storeExtras(win::ModalDialog&, lib::WDBTable&) {}
  virtual void afterAdd(const std::string& /*code*/) {}  // the new record's dependent rows
  virtual void recode(const std::string& /*oldCode*/, const std::string& /*newCode*/, win::WAIT&) {}
  virtual void deleteReferences(const std::string& /*code*/, win::WAIT&) {}

 private:
  void AbrirBases();
  void CerrarBases();
  void MontarColumnas();
  void ConfigBrow();
  int CTRLAGREGAR(win::ModalDialog& dialog, int message, int wParam, Mode mode);
  bool SAVE_DATOS(win::ModalDialog& dialog, Mode mode);
  bool hasRecord() const;
  bool duplicate(const std::string& code, Mode mode, uint32_t editing);

  Definition def_;
};

}  // namespace rooms
