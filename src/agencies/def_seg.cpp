#include "agencies/def_seg.h"

#include "agencies/segments.h"
#include "lib/messages.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"
#include "screens/tree_menu.h"
#include "win/dialog_box.h"
#include "win/message_box.h"

namespace agencies {

namespace {

constexpr int kTree = 901, kFirstSet = 1001, kSets = 4;

enum Command { kAdd = 9201, kModify, kDelete };

}  // namespace

void DEF_SEG::INIT() {
  if (!Init(nullptr, DIALOG)) return;
  TREE = std::make_unique<win::TREEVIEW>(this, kTree);
  ADD(TREE.get());
  for (int set = 0; set < kSets; ++set)
    ADD(std::make_unique<win::WRADIOBUTTON>(this, kFirstSet + set), [this, set](win::WDIAG&, win::WCONTROL&, int) {
      if (IsDlgButtonChecked(kFirstSet + set)) CONJUNTO(set);
      return 1;
    });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE(DIALOG);
  screens::DEFINE_TREE_MENU(*TREE, {{kAdd, "Agregar..."}, {kModify, "Modificar..."}, {kDelete, "Borrar..."}});
  CheckDlgButton(kFirstSet, true);
  CONJUNTO(0);
}

int DEF_SEG::OnCOMMAND(int id, int notification) {
  if (TREE && screens::TREE_MENU(*TREE, this, id)) return 1;
  switch (id) {
    case kAdd:
      AGREGAR();
      return 1;
    case kModify:
      MODIFICAR();
      return 1;
    case kDelete:
      BORRAR();
      return 1;
  }
  return SCREEN::OnCOMMAND(id, notification);
}

void DEF_SEG::CONJUNTO(int set) {
  SET = set;
  LOAD_TREE();
}

// The set's segments under the root, each with its details, sorted by text; the item of
// `level`, `segment` and `code` (the one just saved) chosen and shown.
void DEF_SEG::LOAD_TREE(int level, const std::string& segment, const std::string& code) {
  const std::string set = setKey(NEGOCIO, SET);
  screens::LOAD_CODE_TREE(*TREE, items_,
                          {"Segmentos de Mercado",
                           {"ENC_SEG", "ENC_SEG", set},
                           [&](const std::string& seg) {
                             return screens::CodeTreeRecords{"DET_SEG", "DET_SEG2", set + lib::padded(seg, 4)};
                           }},
                          level, segment, code);
}

const DEF_SEG::Item* DEF_SEG::chosen() const {
  auto it = items_.find(TREE->Selected());
  return it == items_.end() ? nullptr : &it->second;
}

// On the root a segment, on a segment one of its details; nothing below.
void DEF_SEG::AGREGAR() {
  CALL_LEVEL();
  const Item* item = chosen();
  if (!item || item->level == 2) return;
  EDITA(item->level == 0, true, *item);
}

void DEF_SEG::MODIFICAR() {
  CALL_LEVEL();
  const Item* item = chosen();
  if (!item || item->level == 0) return;
  EDITA(item->level == 1, false, *item);
}

// E_ENC_SEG / E_DET_SEG: code and description; a duplicate keeps the editor open.
void DEF_SEG::EDITA(bool segment, bool adding, const Item& item) {
  const Item edited = item;
  std::string code, description;
  const int answer =
      win::DIALOG_BOX(segment ? "E_ENC_SEG" : "E_DET_SEG", this,
                      {[&](win::ModalDialog& d) {
                         d.ADD(std::make_unique<win::WEDIT>(&d, 500))->SetLimit(4);
                         d.ADD(std::make_unique<win::WEDIT>(&d, 501))->SetLimit(40);
                         if (!adding) {
                           d.SetDlgItemText(500, lib::trim(edited.code));
                           d.SetDlgItemText(501, lib::trim(edited.text));
                         }
                         d.SetFocusTo(500);
                       },
                       [&](win::ModalDialog& d) {
                         code = lib::upper(lib::trim(d.GetDlgItemText(500)));
                         description = lib::trim(d.GetDlgItemText(501));
                         const uint32_t recno = adding ? 0 : edited.recno;
                         const std::string refusal =
                             segment ? GUARDA_SEGMENTO(NEGOCIO, SET, recno, code, description, this)
                                     : GUARDA_DETALLE(NEGOCIO, SET, edited.group, recno, code, description, this);
                         if (refusal.empty()) return true;
                         win::MESSAGE_BOX(&d, refusal, "Error", lib::MB_OK | lib::MB_ICONERROR);
                         d.SetFocusTo(500);
                         return false;
                       }});
  if (answer != win::IDOK) return;
  LOAD_TREE(segment ? 1 : 2, edited.group, code);
}

void DEF_SEG::BORRAR() {
  CALL_LEVEL();
  const Item* chosenItem = chosen();
  if (!chosenItem || chosenItem->level == 0) return;
  const Item item = *chosenItem;
  if (win::MESSAGE_BOX(this, "Desea borrar el item seleccionado : " + item.text, "Advertencia",
                       lib::MB_OKCANCEL | lib::MB_ICONSTOP) != lib::IDOK)
    return;
  if (item.level == 1)
    BORRA_SEGMENTO(NEGOCIO, SET, item.recno);
  else
    BORRA_DETALLE(item.recno);
  LOAD_TREE(item.level == 2 ? 1 : 0, item.group, item.group);
}

}  // namespace agencies
