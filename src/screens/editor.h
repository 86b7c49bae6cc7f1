// An editor over a list screen: a screen of its own, bound to one record of the list's
// table, that adds a record (mode kAdd) or modifies the one under the list's cursor
// (kModify). While it is open the list takes no input; when it closes the list is enabled
// and raised again.
//
// INIT: AbrirBases (an object of the editor's own on the list's table, on the record being
// modified), the window, BIND (the controls bound to their fields), buttons 1 (SAVE_DATOS)
// and 2 (close), CREATE, LOAD_LISTAS, CARGAR, the numeric entry filters. SAVE_DATOS checks
// (VALIDA) and keeps the editor open with the user told why; otherwise, with the list's
// grid detached, AGREGA or MODIFICA, then the list shows the saved record and the editor
// closes.
#pragma once

#include <cstdint>
#include <string>

#include "screens/form.h"
#include "screens/list_screen.h"

namespace screens {

class EDITOR : public SCREEN {
 public:
  enum Mode { kAdd, kModify };
  void INIT() override;

 protected:
  EDITOR(LIST_SCREEN* list, std::string dialog, std::string negocio, Mode mode);

  // The record's table; an editor that needs more tables opens them after this.
  virtual void AbrirBases();
  // The controls bound to the record (FORM_) and any others of the editor.
  virtual void BIND() = 0;
  // The drop-down lists' entries.
  virtual void LOAD_LISTAS() {}
  // The controls from the record when modifying (FORM_.LOAD), as a new record when adding.
  virtual void CARGAR();
  // The typed code is there and unique in the business unit; the dates are dates. An editor
  // with further checks adds them (REHUSA tells the user and keeps the editor open).
  virtual bool VALIDA(const std::string& code);
  // A new record: NEGOCIO and the bound fields. False when the entry is refused.
  virtual bool AGREGA(const std::string& code);
  // The record rewritten from the controls. False when the entry is refused.
  virtual bool MODIFICA(const std::string& code);

  void SAVE_DATOS();
  bool REHUSA(const std::string& text, int focus);

  LIST_SCREEN* const LISTA;
  const Mode MODO_E;
  const uint32_t XRECNO;              // the record modified (0 when adding)
  lib::WDBTable* REGISTRO = nullptr;  // the editor's own object on the list's table
  FORM FORM_;
  int CODE_ID = 500;  // the code's edit
  std::string DUPLICADO_ALTA = "Código Ya definido...";
  std::string DUPLICADO_MODIFICA = "Código Ya definido...";
};

}  // namespace screens
