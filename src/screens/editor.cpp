#include "screens/editor.h"

#include "lib/record_protocol.h"
#include "screens/messages.h"
#include "screens/unique_code.h"

namespace screens {

EDITOR::EDITOR(LIST_SCREEN* list, std::string dialog, std::string negocio, Mode mode)
    : SCREEN(std::move(dialog), std::move(negocio)),
      LISTA(list),
      MODO_E(mode),
      XRECNO(mode == kModify ? list->TABLA->RecNo() : 0),
      FORM_(*this) {}

void EDITOR::INIT() {
  AbrirBases();
  if (!Init(LISTA, DIALOG)) return;
  BIND();
  ADD_BUTTON(win::IDOK, [this] { SAVE_DATOS(); });
  if (HasControl(win::IDCANCEL)) ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE(DIALOG);
  LOAD_LISTAS();
  CARGAR();
  FORM_.FILTROS();
  EDITOR_OF(LISTA);
  SetFocusTo(CODE_ID);
}

void EDITOR::AbrirBases() {
  REGISTRO = USE(LISTA->definition().table, LISTA->mainTag());
  if (XRECNO) REGISTRO->GoTo(XRECNO);
}

void EDITOR::CARGAR() {
  if (MODO_E == kModify) {
    REGISTRO->GoTo(XRECNO);
    FORM_.LOAD();
  } else {
    FORM_.CLEAR();
  }
}

bool EDITOR::REHUSA(const std::string& text, int focus) {
  error(text);
  SetFocusTo(focus);
  return false;
}

bool EDITOR::VALIDA(const std::string& code) {
  if (code.empty()) return REHUSA("Debe definir el Código", CODE_ID);
  if (!FORM_.VALID()) return false;
  if (CODIGO_DEFINIDO(*REGISTRO, NEGOCIO, code, XRECNO))
    return REHUSA(MODO_E == kAdd ? DUPLICADO_ALTA : DUPLICADO_MODIFICA, CODE_ID);
  return true;
}

bool EDITOR::AGREGA(const std::string&) {
  lib::ADD(*REGISTRO, [&] {
    REGISTRO->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
    FORM_.SAVE(REGISTRO);
  });
  return true;
}

bool EDITOR::MODIFICA(const std::string&) {
  REGISTRO->GoTo(XRECNO);
  lib::MODIFY(*REGISTRO, [&] { FORM_.SAVE(REGISTRO); });
  return true;
}

void EDITOR::SAVE_DATOS() {
  CALL_LEVEL_AS(routine("SAVE_DATOS"));
  const std::string code = FORM_.text(CODE_ID);
  if (!VALIDA(code)) return;
  bool saved = false;
  LISTA->SIN_GRID([&] { saved = MODO_E == kAdd ? AGREGA(code) : MODIFICA(code); });
  if (!saved) return;
  LISTA->REFRESCA(MODO_E == kAdd, REGISTRO->RecNo());
  ENDDIALOG();
}

}  // namespace screens
