#include "cashier/cargos.h"

#include "cashier/cargo_groups.h"
#include "cashier/code_references.h"
#include "cashier/listado_cargos.h"
#include "cashier/m_cargo.h"
#include "cashier/simula_imp.h"
#include "lib/picture.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/listing.h"
#include "screens/messages.h"
#include "screens/registry.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace cashier {

namespace {

constexpr int kTree = 901;
constexpr int kListing = 201, kPassword = 202, kVirtual = 203;
constexpr int kGroup = 601, kSubgroup = 602;

// The tree's pop-up menu.
enum TreeCommand { kTreeAdd = 9201, kTreeModify, kTreeDelete };

}  // namespace

CARGOS::CARGOS(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"TRANSACS",
                   "TRANSACS1",
                   kMenuId,
                   {{"Cód.", "CODIGO", "!!!!", 0, 16},
                    {"Descripción", "DESCRIP", std::string(40, '!')},
                    {"T.Comis", "T_COMIS", "99", 2, 30}}}) {}

void CARGOS::BOTONES() {
  TREE = std::make_unique<win::TREEVIEW>(this, kTree);
  ADD(TREE.get());
  ADD_BUTTON(kListing, [this] { LISTADO(); });
  ADD_BUTTON(kPassword, [this] { ACT_CLAVE(); });
  // The virtual transactions the codes are totalled under, a list of their own.
  ADD_BUTTON(kVirtual, [this] {
    if (const screens::ScreenOpener* open = screens::screenOpener("TRA_VIRT"))
      (*open)({"TRA_VIRT", "TRA_VIRT", NEGOCIO, 0, "Transacciones Virtuales"});
  });
}

void CARGOS::INIT() {
  LIST_SCREEN::INIT();
  if (!window()) return;
  TREE->DEFINE_MENU({{kTreeAdd, "Agregar..."}, {kTreeModify, "Modificar..."}, {kTreeDelete, "Borrar..."}});
  TREE->ON_LEFT_CLICK([this](win::TreeNode node) { TREE_CLICK(node); });
  LOAD_TREE();
}

int CARGOS::OnCOMMAND(int id, int notification) {
  switch (id) {
    case kTreeAdd:
      TREE_AGREGAR();
      return 1;
    case kTreeModify:
      TREE_MODIFICAR();
      return 1;
    case kTreeDelete:
      TREE_BORRAR();
      return 1;
    default:
      return WDIAG::OnCOMMAND(id, notification);
  }
}

// The root, the groups of the business under it and each group's sub-groups, sorted; the
// item that was chosen is chosen again when it is still there (else the root).
void CARGOS::LOAD_TREE() {
  const int level = NIVEL;
  const std::string linea = LINEA, sublinea = SUBLINEA;
  TREE->ZAP_TREE();
  items_.clear();
  win::TreeNode root = TREE->ADDLASTCHILD(TREE->GETROOT(), "Clasificaciones");
  items_[root] = {0, "", "", "Clasificaciones", 0};
  std::map<std::string, win::TreeNode> groups;
  lib::EACH_RECORD("ENC_CARG", "ENC_CARG", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& g) {
    const std::string code = lib::trim(g.S("CODIGO"));
    win::TreeNode node = TREE->ADDLASTCHILD(root, g.S("DESCRIP"), code, "", g.RecNo());
    items_[node] = {1, code, "", g.S("DESCRIP"), g.RecNo()};
    groups[code] = node;
  });
  lib::EACH_RECORD("DET_CARG", "DET_CARG", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& s) {
    auto parent = groups.find(lib::trim(s.S("LINEA")));
    if (parent == groups.end()) return;
    const std::string code = lib::trim(s.S("CODIGO"));
    win::TreeNode node = TREE->ADDLASTCHILD(parent->second, s.S("DESCRIP"), code, "", s.RecNo());
    items_[node] = {2, parent->first, code, s.S("DESCRIP"), s.RecNo()};
  });
  TREE->SORT(true);
  TREE->EXPAND(root);
  win::TreeNode again = root;
  for (const auto& [node, item] : items_)
    if (item.level == level && item.linea == linea && item.sublinea == sublinea) again = node;
  for (const auto& [node, item] : items_)
    if (item.level == 2 && node == again) TREE->EXPAND(groups[item.linea]);
  TREE->Select(again);
  TREE->REFRESH();
  SCOPE(items_[again]);
}

const CARGOS::Item* CARGOS::chosen() const {
  auto it = items_.find(TREE->Selected());
  return it == items_.end() ? nullptr : &it->second;
}

void CARGOS::TREE_CLICK(win::TreeNode node) {
  auto it = items_.find(node);
  if (it != items_.end()) SCOPE(it->second);
}

// The root shows the codes of the business (TRANSACS1), a group its codes (TRANSACS2), a
// sub-group its own (TRANSACS3), and a new code goes into that sub-group.
void CARGOS::SCOPE(const Item& item) {
  NIVEL = item.level;
  LINEA = item.linea;
  SUBLINEA = item.sublinea;
  std::string scope = TABLA->KeyPart("NEGOCIO", NEGOCIO), tag = "TRANSACS1";
  if (item.level >= 1) {
    scope += TABLA->KeyPart("LINEA", item.linea);
    tag = "TRANSACS2";
  }
  if (item.level == 2) {
    scope += TABLA->KeyPart("SUBLINEA", item.sublinea);
    tag = "TRANSACS3";
  }
  SET_SCOPE(*OB, scope);
  SET_INDEXCOL(*OB, 1, tag);
  ORDERSHOW(*OB);
}

void CARGOS::TREE_AGREGAR() {
  CALL_LEVEL();
  const Item* item = chosen();
  if (!item || item->level == 2) return screens::error("No se permite agregar en este nivel");
  EDITA_GRUPO(*item, true);
}

void CARGOS::TREE_MODIFICAR() {
  CALL_LEVEL();
  const Item* item = chosen();
  if (!item || item->level == 0) return screens::error("No se permite modificar en este nivel");
  EDITA_GRUPO(*item, false);
}

// E_ENC_CARG: a group (adding on the root, changing a group) or a sub-group (adding on a
// group, changing a sub-group), code and description.
void CARGOS::EDITA_GRUPO(const Item& item, bool adding) {
  const bool isGroup = adding ? item.level == 0 : item.level == 1;
  const uint32_t recno = adding ? 0 : item.recno;
  std::string code = adding ? "" : isGroup ? item.linea : item.sublinea;
  std::string description = adding ? "" : item.text;
  const std::string linea = item.linea;
  const int answer = win::DIALOG_BOX(
      "E_ENC_CARG", this,
      {[&](win::ModalDialog& d) {
         d.SetCaption(isGroup ? "Grupo de Transacciones" : "Sub-Grupo de Transacciones");
         d.ADD(std::make_unique<win::WEDIT>(&d, 500))->SetLimit(2);
         d.ADD(std::make_unique<win::WEDIT>(&d, 501))->SetLimit(40);
         d.SetDlgItemText(500, code);
         d.SetDlgItemText(501, description);
         d.SetFocusTo(500);
       },
       [&](win::ModalDialog& d) {
         code = lib::upper(lib::trim(d.GetDlgItemText(500)));
         description = lib::trim(d.GetDlgItemText(501));
         std::string refusal;
         SIN_GRID([&] {
           refusal = isGroup ? GUARDA_GRUPO(NEGOCIO, recno, code, description)
                             : GUARDA_SUBGRUPO(NEGOCIO, linea, recno, code, description);
         });
         if (refusal.empty()) return true;
         screens::error(refusal);
         d.SetFocusTo(500);
         return false;
       }});
  if (answer != win::IDOK) return;
  // The item saved is the one chosen afterwards.
  if (isGroup) {
    NIVEL = 1;
    LINEA = code;
    SUBLINEA = "";
  } else {
    NIVEL = 2;
    LINEA = linea;
    SUBLINEA = code;
  }
  LOAD_TREE();
}

void CARGOS::TREE_BORRAR() {
  CALL_LEVEL();
  const Item* chosenItem = chosen();
  if (!chosenItem) return;
  const Item item = *chosenItem;
  if (item.level == 0) return screens::error("No se permite borrar en este nivel");
  if (!screens::confirm("Desea borrar el ítem seleccionado?: " + item.text)) return;
  std::string refusal;
  SIN_GRID([&] {
    refusal = item.level == 1 ? BORRA_GRUPO(NEGOCIO, item.linea) : BORRA_SUBGRUPO(NEGOCIO, item.linea, item.sublinea);
  });
  if (!refusal.empty()) return screens::error(refusal);
  NIVEL = item.level - 1;
  SUBLINEA = "";
  if (NIVEL == 0) LINEA = "";
  LOAD_TREE();
}

void CARGOS::ADD_CARGO() {
  CALL_LEVEL();
  if (NIVEL != 2) return screens::error("No se permite agregar en este nivel " + std::to_string(NIVEL));
  screens::OPEN<M_CARGO>(this, NEGOCIO, M_CARGO::kAdd);
}

void CARGOS::MOD_CARGO() {
  CALL_LEVEL();
  if (NIVEL != 2) return screens::error("No se permite modificar en este nivel " + std::to_string(NIVEL));
  if (hasRecord()) screens::OPEN<M_CARGO>(this, NEGOCIO, M_CARGO::kModify);
}

// The code goes with what belongs to it alone (code_references.h).
void CARGOS::DEL_CARGO() {
  CALL_LEVEL();
  if (NIVEL != 2) return screens::error("No se permite borrar en este nivel");
  if (!hasRecord()) return;
  const std::string code = lib::trim(TABLA->S("CODIGO"));
  screens::CascadeReport report;
  if (BORRA_REGISTRO("Desea borrar este Cargo?\rSe borrarán todas las referencias.",
                     [&](win::WAIT& wait) { report = BORRA_CARGO(NEGOCIO, code, &wait); }))
    screens::AVISA_FALTANTES(report);
}

// CAMBIA_CLAS: the group, then one of its sub-groups.
void CARGOS::CAMBIA_CLAS() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  const uint32_t recno = TABLA->RecNo();
  std::string linea, sublinea;
  auto fillSubgroups = [this](win::ModalDialog& d) {
    win::CCOMBOBOX sub(&d, kSubgroup);
    sub.Clear();
    const std::string group = win::CCOMBOBOX(&d, kGroup).CurCargo();
    if (group.empty()) return;
    lib::EACH_RECORD("DET_CARG", "DET_CARG", lib::businessKey(NEGOCIO) + lib::padded(group, 2),
                     [&](const lib::WDBTable& s) { sub.Add(s.S("DESCRIP"), 0, lib::trim(s.S("CODIGO"))); });
  };
  const int answer = win::DIALOG_BOX(
      "CAMBIA_CLAS", this,
      {[&](win::ModalDialog& d) {
         d.SetDlgItemText(400, lib::trim(TABLA->S("CODIGO")) + " - " + TABLA->S("DESCRIP"));
         auto* groups = d.ADD(std::make_unique<win::CCOMBOBOX>(&d, kGroup));
         d.ADD(std::make_unique<win::CCOMBOBOX>(&d, kSubgroup));
         lib::EACH_RECORD("ENC_CARG", "ENC_CARG", lib::businessKey(NEGOCIO),
                          [&](const lib::WDBTable& g) { groups->Add(g.S("DESCRIP"), 0, lib::trim(g.S("CODIGO"))); });
       },
       [&](win::ModalDialog& d) {
         linea = win::CCOMBOBOX(&d, kGroup).CurCargo();
         sublinea = win::CCOMBOBOX(&d, kSubgroup).CurCargo();
         if (linea.empty()) {
           screens::error("Falta definir el encabezado");
           return false;
         }
         if (sublinea.empty()) {
           screens::error("Falta definir el detalle");
           return false;
         }
         return true;
       },
       // A group chosen offers its sub-groups.
       [&](win::ModalDialog& d, int id, int) {
         if (id != kGroup) return false;
         fillSubgroups(d);
         return true;
       }});
  if (answer != win::IDOK) return;
  SIN_GRID([&] { MUEVE_CARGO(recno, linea, sublinea); });
  OB->GOTOP();
  OB->REFRESHALL();
}

void CARGOS::SIMULA_IMP() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  SIMULA_IMPUESTOS(this, NEGOCIO, lib::trim(TABLA->S("CODIGO")));
}

// ACT_CLAVE_C: the new void password, given to every code that asks for one.
void CARGOS::ACT_CLAVE() {
  CALL_LEVEL();
  std::string clave;
  const int answer = win::DIALOG_BOX("ACT_CLAVE_C", this,
                                     {[](win::ModalDialog& d) {
                                        d.ADD(std::make_unique<win::WEDIT>(&d, 500))->SetLimit(10);
                                        d.SetFocusTo(500);
                                      },
                                      [&](win::ModalDialog& d) {
                                        clave = lib::trim(d.GetDlgItemText(500));
                                        return true;
                                      }});
  if (answer != win::IDOK) return;
  size_t n = 0;
  SIN_GRID([&] { n = ACTUALIZA_CLAVE(NEGOCIO, clave); });
  screens::notice(lib::TRANSFORM_NUMBER(double(n), "9,999") + " claves actualizadas", "Confirmación");
}

void CARGOS::LISTADO() {
  CALL_LEVEL();
  screens::IMPRIME_LISTADO("Listado de Transacciones", LISTADO_TRANSACCIONES(NEGOCIO), "LISTADO_TRANSACCIONES.PDF");
}

}  // namespace cashier
