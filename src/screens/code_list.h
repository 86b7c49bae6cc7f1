// The short lists — a code and a description per record of the business unit, with
// perhaps a few more fields — share one form: the list screen, an editor that is a modal
// dialog with the code (500) and the description (501), an add that refuses an empty or
// repeated code, a modify that carries a changed code into the tables that refer to it, and
// a delete that asks first and then blanks the code in those tables or deletes the records
// that hold it.
//
// Such a list is data: a CodeListDefinition names the screen class the menu opens, its
// table, texts, references and the rights of its "Editar" entries, and says what little the
// list adds (further controls of its editor, the rows a new record needs elsewhere).
// REGISTER_CODE_LIST makes the menu open it.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "screens/list_screen.h"
#include "screens/recode.h"
#include "win/main_frame.h"

namespace win {
class WDIAG;
}

namespace screens {

class FORM;

struct CodeListDefinition {
  std::string screen;               // the screen class the menu names ("UBIC_ROM")
  std::string table;                // ordered by its tag of the same name: business unit + code
  int menuId = 0;                   // its "Editar" menu
  std::array<int, 3> entries = {};  // the rights of "Agregar", "Modificar" and "Borrar"
  std::string codePicture;          // "!!!!": the code column's picture
  std::string editor;               // the modal dialog
  std::string duplicateAdd;         // "" = no check on add
  std::string duplicateModify;
  std::string deleteQuestion;                              // asked as it is
  std::vector<RecodeStep> references;                      // where the code is carried
  std::string recodeText = "Actualizando Referencias...";  // the progress window's line while recoding
  // The editor's further controls bound to the record (and their lists filled for the
  // business unit).
  std::function<void(FORM&, lib::WDBTable* record, const std::string& negocio)> bind = {};
  // What a new record needs in other tables.
  std::function<void(const std::string& negocio, const std::string& code)> afterAdd = {};
  std::array<std::string, 3> captions = {"Agregar ", "Modificar ", "Borrar  "};  // of its entries
  std::string descriptionTitle = "Descripción";  // the title of the list's second column
  // A deleted code left as it is in the references (they keep a code without its entry);
  // otherwise it is blanked there, or their records deleted, as each reference says.
  bool deleteKeepsReferences = false;
  // Further "Editar" entries of the list, after its three; their actions get the CODE_LIST.
  std::vector<win::EditEntry> moreEntries = {};
};

class CODE_LIST : public LIST_SCREEN {
 public:
  CODE_LIST(CodeListDefinition definition, std::string dialog, std::string negocio);
  std::string name() const override { return code_.screen; }

  // The operations behind the list's "Editar" entries.
  void AGREGAR();
  void MODIFICAR();
  void BORRAR();

 protected:
  void DOBLE_CLICK() override { MODIFICAR(); }

 private:
  enum class Mode { Add, Modify };
  void EDITAR(Mode mode);
  bool SAVE_DATOS(win::WDIAG& dialog, FORM& form, lib::WDBTable& record, Mode mode);

  const CodeListDefinition code_;
};

// The menu entry naming the list's screen class opens it; its "Editar" entries are those of
// the definition.
void REGISTER_CODE_LIST(const CodeListDefinition& definition);

}  // namespace screens
