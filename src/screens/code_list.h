// The short lists — a code and a description per record of the business unit, with
// perhaps a few more fields — share one form: the list screen, an editor that is a modal
// dialog with the code (500) and the description (501), an add that refuses an empty or
// repeated code, a modify that carries a changed code into the tables that refer to it, and
// a delete that asks first and then blanks the code in those tables or deletes the records
// that hold it. CODE_LIST is that form; a screen class declares its table, texts and
// references, binds the further fields of its editor, and keeps the program's ADD_/MOD_/DEL_
// operations.
#pragma once

#include <string>
#include <vector>

#include "screens/list_screen.h"
#include "screens/recode.h"

namespace win {
class WDIAG;
}

namespace screens {

class FORM;

struct CodeListDefinition {
  std::string table;         // ordered by its tag of the same name: business unit + code
  int menuId = 0;            // its "Editar" menu
  std::string codePicture;   // "!!!!": the code column's picture
  std::string editor;        // the modal dialog
  std::string duplicateAdd;  // "" = no check on add
  std::string duplicateModify;
  std::string deleteQuestion;                              // asked as it is
  std::vector<RecodeStep> references;                      // where the code is carried
  std::string recodeText = "Actualizando Referencias...";  // the progress window's line while recoding
};

class CODE_LIST : public LIST_SCREEN {
 protected:
  CODE_LIST(std::string dialog, std::string negocio, CodeListDefinition definition);

  // The operations behind the screen's "Editar" entries.
  void AGREGAR();
  void MODIFICAR();
  void BORRAR();
  void DOBLE_CLICK() override { MODIFICAR(); }

  // What a screen adds to the form: its editor's further controls bound to the record, and
  // the rows a new record needs in other tables.
  virtual void BIND(FORM& /*form*/, lib::WDBTable* /*record*/) {}
  virtual void afterAdd(const std::string& /*code*/) {}

  const CodeListDefinition code_;

 private:
  enum class Mode { Add, Modify };
  void EDITAR(Mode mode);
  bool SAVE_DATOS(win::WDIAG& dialog, FORM& form, lib::WDBTable& record, Mode mode);
};

}  // namespace screens
