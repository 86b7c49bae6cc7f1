#include "currencies/t_cambio.h"

#include "currencies/modit_cambio.h"
#include "currencies/pair_rates.h"
#include "currencies/t_camb_2.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"
#include "win/wait.h"

namespace currencies {

namespace {

constexpr int kTree = 905, kAdd = 201;
enum TreeCommand { kAddPair = 9051, kModifyPair, kDeletePair };

// A scope no key begins with: the grid starts empty.
const std::string kNothing = "---";

}  // namespace

T_CAMBIO::T_CAMBIO(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"T_CAMBIO",
                   "T_CAMBIO",
                   kMenuId,
                   {{"Fecha", "FECHA", ""},
                    {"Cambio  ", "CAMBIO", "999,999.99999", 2},
                    {"Cambio 2", "CAMBIO2", "999,999.99999", 2},
                    {"Cambio 3", "CAMBIO3", "999,999.99999", 2},
                    {"Cambio 4", "CAMBIO4", "999,999.99999", 2},
                    {"Cambio 5", "CAMBIO5", "999,999.99999", 2},
                    {"Usr", "USUARIO", "", 0, 8},
                    {"Info Usr", "INFO_USER", ""}}}) {}

void T_CAMBIO::BOTONES() {
  TREE = std::make_unique<win::TREEVIEW>(this, kTree);
  ADD(TREE.get());
  ADD_BUTTON(kAdd, [this] { ADD_T_CAMBIO(); });
}

void T_CAMBIO::INIT() {
  LIST_SCREEN::INIT();
  if (!window()) return;
  TREE->DEFINE_MENU(
      {{kAddPair, "Agregar Referencia"}, {kModifyPair, "Modificar Referencia"}, {kDeletePair, "Borrar Referencia"}});
  TREE->ON_LEFT_CLICK([this](win::TreeNode node) { TREE_CLICK(node); });
  LOAD_TREE();
}

void T_CAMBIO::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, mainTag()}}, 1, kNothing);
}

int T_CAMBIO::OnCOMMAND(int id, int notification) {
  switch (id) {
    case kAddPair:
      ADD_DET_MON();
      return 1;
    case kModifyPair:
      MOD_DET_MON();
      return 1;
    case kDeletePair:
      DEL_DET_MON();
      return 1;
    default:
      return WDIAG::OnCOMMAND(id, notification);
  }
}

// One top item per currency (its name, its code beside it) and under it one item per pair
// expressed in it (the pair's text, the second currency's code beside it).
void T_CAMBIO::LOAD_TREE() {
  TREE->ZAP_TREE();
  const std::string business = lib::businessKey(NEGOCIO);
  lib::EACH_RECORD("MONEDAS", "MONEDAS", business, [&](const lib::WDBTable& currency) {
    const std::string code = currency.S("CODIGO");
    win::TreeNode top =
        TREE->ADDLASTCHILD(TREE->GETROOT(), lib::trim(currency.S("DESCRIP")), code, code, currency.RecNo(), "XX");
    lib::EACH_RECORD("DET_MON", "DET_MON", business + lib::padded(code, 2), [&](const lib::WDBTable& pair) {
      const std::string second = pair.S("MONEDA_2");
      TREE->ADDLASTCHILD(top, lib::trim(pair.S("DESCRIP")), second, second, pair.RecNo(), "XX");
    });
    TREE->EXPAND(top);
  });
  TREE->SORT(true);
  TREE->REFRESH();
  SCOPE_RATES(std::nullopt);
}

bool T_CAMBIO::ES_RELACION(win::TreeNode node) const {
  if (!node) return false;
  for (win::TreeNode top : TREE->Children(nullptr))
    for (win::TreeNode child : TREE->Children(top))
      if (child == node) return true;
  return false;
}

std::string T_CAMBIO::MONEDA_DE(win::TreeNode node) const {
  if (!node) return "";
  for (win::TreeNode top : TREE->Children(nullptr)) {
    if (top == node) return TREE->Value(top);
    for (win::TreeNode child : TREE->Children(top))
      if (child == node) return TREE->Value(top);
  }
  return "";
}

std::optional<RELACION> T_CAMBIO::RELACION_ELEGIDA() const {
  win::TreeNode node = TREE->Selected();
  if (!ES_RELACION(node)) return std::nullopt;
  return RELACION{MONEDA_DE(node), TREE->Value(node), TREE->RecNo(node)};
}

void T_CAMBIO::TREE_CLICK(win::TreeNode node) {
  if (!ES_RELACION(node)) {
    SCOPE_RATES(std::nullopt);
    return;
  }
  SCOPE_RATES(RELACION{MONEDA_DE(node), TREE->Value(node), TREE->RecNo(node)});
}

// The rates of the pair, or none.
void T_CAMBIO::SCOPE_RATES(const std::optional<RELACION>& pair) {
  if (!pair) {
    SET_SCOPE(*OB, kNothing);
    return;
  }
  SET_SCOPE(*OB, TABLA->KeyPart("NEGOCIO", NEGOCIO) + TABLA->KeyPart("MONEDA1", pair->moneda1) +
                     TABLA->KeyPart("MONEDA2", pair->moneda2));
}

std::optional<RELACION> T_CAMBIO::RELACION_REQUERIDA() {
  std::optional<RELACION> pair = RELACION_ELEGIDA();
  if (!pair) screens::error("Debe seleccionar una Relación de Tipo de Cambio");
  return pair;
}

// The grid shows the pair the new rate is for (the tree's selection may have moved by key).
void T_CAMBIO::ADD_T_CAMBIO() {
  std::optional<RELACION> pair = RELACION_REQUERIDA();
  if (!pair) return;
  SCOPE_RATES(pair);
  screens::OPEN<MODIT_CAMBIO>(this, NEGOCIO, MODIT_CAMBIO::kAdd, *pair);
}

void T_CAMBIO::MOD_T_CAMBIO() {
  std::optional<RELACION> pair = RELACION_REQUERIDA();
  if (pair && hasRecord()) screens::OPEN<MODIT_CAMBIO>(this, NEGOCIO, MODIT_CAMBIO::kModify, *pair);
}

void T_CAMBIO::DEL_T_CAMBIO() {
  CALL_LEVEL();
  BORRA_REGISTRO("Desea borrar el tipo de Cambio?", {});
}

// On a currency, or on one of its pairs: a new pair expressed in that currency.
void T_CAMBIO::ADD_DET_MON() {
  CALL_LEVEL();
  const std::string moneda = MONEDA_DE(TREE->Selected());
  if (moneda.empty()) return;
  if (T_CAMB_2(this, NEGOCIO, moneda).run()) LOAD_TREE();
}

void T_CAMBIO::MOD_DET_MON() {
  CALL_LEVEL();
  std::optional<RELACION> pair = RELACION_ELEGIDA();
  if (!pair) return;
  bool changed = false;
  SIN_GRID([&] { changed = T_CAMB_2(this, NEGOCIO, *pair).run(); });
  if (changed) LOAD_TREE();
}

// The pair and every rate of it.
void T_CAMBIO::DEL_DET_MON() {
  CALL_LEVEL();
  std::optional<RELACION> pair = RELACION_ELEGIDA();
  if (!pair || !screens::confirm("Desea borrar la referencia?")) return;
  SIN_GRID([&] {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
    BORRA_TIPOS_DE_CAMBIO(NEGOCIO, pair->moneda1, pair->moneda2);
    auto pairs = lib::USE(nullptr, "DET_MON", "DET_MON");
    pairs->GoTo(pair->recno);
    if (!pairs->Eof() && !pairs->Deleted()) lib::MODIFY(*pairs, [&] { pairs->Delete(); });
    wait.TERMINAR();
  });
  LOAD_TREE();
}

}  // namespace currencies
