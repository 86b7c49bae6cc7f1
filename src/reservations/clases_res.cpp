#include "reservations/clases_res.h"

#include "lib/text.h"
#include "lib/use.h"
#include "reservations/reservation_references.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/wait.h"

namespace reservations {

namespace {

constexpr int kNoReserva = 1001, kNoSource = 1002;
constexpr int kLiga = 601, kGrupo = 602;

// A check mark where the flag is set.
lib::Value mark(const lib::WDBTable* t, const char* field) {
  return lib::Value::chars(t && t->N(field) == 1 ? "√" : "");
}

screens::ListDefinition listOf(const ClassKind& kind, const lib::WDBTable* const* table) {
  screens::ListDefinition d{kind.table, kind.table, kind.menuId, {}};
  if (kind.flags) {
    d.columns.push_back({"No Reserva", "NO_RESERVA", "XXXXXXXXXX", 0, 0, [table] { return mark(*table, "NO_RESERVA"); }});
    d.columns.push_back({"No Source", "NO_SOURCE", "XXXXXXXXX", 0, 0, [table] { return mark(*table, "NO_SOURCE"); }});
  }
  d.columns.push_back({"Codigo", "CODIGO", "!!!!", 0, 16});
  d.columns.push_back({"Nombre", "DESCRIP", std::string(40, '!')});
  return d;
}

}  // namespace

const ClassKind& CLASSES_1() {
  static const ClassKind k{"TIP_RES1", "TIP_RES1", 3323, {3324, 3325, 3326}, "E_T_RES1", 1, true, true};
  return k;
}

const ClassKind& CLASSES_2() {
  static const ClassKind k{"TIP_RES2", "TIP_RES2", 3327, {3328, 3329, 3330}, "E_T_RES2", 2, true, false};
  return k;
}

const ClassKind& SUPER_CLASSES_1() {
  static const ClassKind k{"ET_RES1", "E_T_RES1", 6116, {6117, 6118, 6119}, "E_ETRES1", 0, false, false};
  return k;
}

CLASES_RES::CLASES_RES(const ClassKind& kind, const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio, listOf(kind, &TABLA)), kind_(kind) {}

void CLASES_RES::ADD_CLASE() {
  CALL_LEVEL_AS(routine("ADD_" + kind_.screen));
  screens::OPEN<E_CLASE_RES>(this, NEGOCIO, E_CLASE_RES::kAdd);
}

void CLASES_RES::MOD_CLASE() {
  CALL_LEVEL_AS(routine("MOD_" + kind_.screen));
  if (hasRecord()) screens::OPEN<E_CLASE_RES>(this, NEGOCIO, E_CLASE_RES::kModify);
}

// The class goes alone: whatever referred to it keeps the code.
void CLASES_RES::DEL_CLASE() {
  CALL_LEVEL_AS(routine("DEL_" + kind_.screen));
  BORRA_REGISTRO("Desea borrarlo?\rSe borrarán todas las referencias.", [](win::WAIT&) {});
}

E_CLASE_RES::E_CLASE_RES(CLASES_RES* list, const std::string& negocio, Mode mode)
    : EDITOR(list, list->kind().editor, negocio, mode), kind_(list->kind()) {}

void E_CLASE_RES::BIND() {
  lib::WDBTable* t = REGISTRO;
  FORM_.UPPER(500, t, "CODIGO");
  FORM_.TRIMMED(501, t, "DESCRIP");
  if (kind_.flags) {
    FORM_.FLAG(kNoReserva, t, "NO_RESERVA");
    FORM_.FLAG(kNoSource, t, "NO_SOURCE");
  }
  if (kind_.linked) {
    FORM_.CODE(kLiga, t, "LIGA");
    FORM_.CODE(kGrupo, t, "ETRES1");
  }
}

// The accounting links of the statistics (module "09") and the super-classes.
void E_CLASE_RES::LOAD_LISTAS() {
  if (!kind_.linked) return;
  screens::LOAD_LISTA_IF(*this, {kLiga}, "LIGAS", "LIGAS", lib::businessKey(NEGOCIO) + lib::padded("09", 10),
                         [](const lib::WDBTable&) { return true; });
  screens::LOAD_LISTA(*this, {kGrupo}, "E_T_RES1", "E_T_RES1", NEGOCIO);
}

bool E_CLASE_RES::MODIFICA(const std::string& code) {
  REGISTRO->GoTo(XRECNO);
  const std::string old = lib::trim(REGISTRO->S("CODIGO"));
  if (kind_.references && old != code) {
    screens::CascadeReport report;
    {
      win::WAIT wait(this);
      wait.PUT_TEXT("Un momento por favor...");
      report = screens::RECODIFICA(CLASS_REFERENCES(kind_.references), NEGOCIO, old, code, &wait);
      wait.TERMINAR();
    }
    screens::AVISA_FALTANTES(report);
  }
  return EDITOR::MODIFICA(code);
}

}  // namespace reservations
