#include "rooms/rooms_screen.h"

#include <algorithm>

#include "lib/picture.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "rooms/availability.h"
#include "rooms/recod_r.h"
#include "rooms/room_counters.h"
#include "rooms/room_details.h"
#include "rooms/room_retype.h"
#include "rooms/room_util.h"
#include "win/dialog_box.h"
#include "win/entry_filters.h"
#include "win/main_frame.h"
#include "win/wait.h"

namespace rooms {

namespace {

using lib::Value;

constexpr int kGrid = 700, kTree = 901;

// The tree's pop-up menu.
enum TreeCommand {
  kExpandAll = 9101,
  kExpandItem,
  kCollapseAll,
  kCollapseItem,
  kClearAll,
  kClearSubtree,
  kSearch,
  kClearSearch,
};

// The editor's controls.
constexpr int kCode = 500, kDescription = 501, kConnectText = 502, kConnectedRoom = 503, kOwnerShare = 504,
              kComment = 505, kNotes = 506, kReservation = 507, kFirstPhoto = 510;
constexpr int kType = 601, kLocation = 602, kState = 603;
constexpr int kAccessories = 901, kQualities = 902;
constexpr int kClearReservation = 1006;
constexpr const char* kOwnerSharePicture = "999.99";

// The editor's check boxes and the 0/1 fields they edit.
constexpr struct {
  int id;
  const char* field;
} kFlags[] = {{1001, "NO_CHKOUT"}, {1002, "FUMADO"}, {1003, "MINUSVA"}, {1004, "EXCLUIR"}, {1005, "INCLU_INV"}};

// The editor's drop-down lists that name a record of another table; `blank` is the entry
// that stands for no value (first, or last when `blankLast`).
struct Lookup {
  int id;
  const char* field;  // of ROOMS
  const char* table;
  const char* text;  // shown field of the table
  const char* blank;
  bool blankLast;
};
constexpr Lookup kLookups[] = {
    {602, "UBICA", "UBIC_ROM", "DESCRIP", nullptr, false},
    {603, "T_EST_HA", "T_EST_HA", "DESCRIP", nullptr, false},
    {604, "CLIENTE", "CLIENTES", "NOMBRE", "***Sin Cliente***", false},
    {605, "COD_RACK", "ENC_RACK", "DESCRIP", "***SIN DATO***", false},
    {606, "TIPO_RES", "E_T_RES", "DESCRIP", "***SIN DATO***", false},
    {607, "AGENCIA", "AGENCIAS", "DESCRIP", "***SIN DATO***", false},
    {608, "T1", "TIP_RES1", "DESCRIP", "***SIN DATO***", false},
    {609, "T2", "TIP_RES2", "DESCRIP", "***SIN DATO***", false},
    {610, "COD_SA", "SA_TS", "DESCRIP", "***Ninguna***", true},
};

std::string photoField(int n) {
  return "FOTO" + std::to_string(n);
}

void expandAll(win::TREEVIEW& tree, win::TreeNode node, bool expand) {
  for (win::TreeNode child : tree.Children(node)) expandAll(tree, child, expand);
  if (node != tree.GETROOT()) tree.EXPAND(node, expand);
}

void markAll(win::TREEVIEW& tree, win::TreeNode node, bool marked) {
  for (win::TreeNode child : tree.Children(node)) {
    tree.MARK(child, marked);
    markAll(tree, child, marked);
  }
}

// Marks the nodes whose text contains `text` (upper and lower case alike); the first one.
win::TreeNode markMatches(win::TREEVIEW& tree, win::TreeNode node, const std::string& text) {
  win::TreeNode first = nullptr;
  for (win::TreeNode child : tree.Children(node)) {
    if (upper(tree.Text(child)).find(text) != std::string::npos) {
      tree.MARK(child, true);
      if (!first) first = child;
    }
    if (win::TreeNode below = markMatches(tree, child, text); below && !first) first = below;
  }
  return first;
}

}  // namespace

// --- ROOMS ------------------------------------------------------------------------------

ROOMS::ROOMS(const std::string& dialog, const std::string& negocio) {
  NEGOCIO = negocio;
  AbrirBases();
  if (!Init(nullptr, dialog)) return;
  OB = std::make_unique<win::WBLISTBOX>(this, kGrid, ROOMS_.get());
  ADD(OB.get());
  TREE = std::make_unique<win::TREEVIEW>(this, kTree);
  ADD(TREE.get());
  ADD_BUTTON(win::IDOK, [this] { ENDDIALOG(); });
  for (Criterio c : {kNinguno, kPorUbicacion, kPorTipo})
    ADD(std::make_unique<win::WRADIOBUTTON>(this, c), [this, c](win::WDIAG&, win::WCONTROL&, int) {
      if (IsDlgButtonChecked(c)) CRITERIO(c);
      return 1;
    });
  CREATE(dialog);
  MontarColumnas();
  ConfigBrow();
  TREE->DEFINE_MENU({{kExpandAll, "Expander..."},
                     {kExpandItem, "Expander item"},
                     {kCollapseAll, "Colapsar..."},
                     {kCollapseItem, "Colapsar item"},
                     {0, ""},
                     {kClearAll, "Limpiar Todo..."},
                     {kClearSubtree, "Limpiar Sub-Arbol"},
                     {0, ""},
                     {kSearch, "Buscar..."},
                     {kClearSearch, "Limpiar Busqueda"}});
  TREE->ON_LEFT_CLICK([this](win::TreeNode node) { TREE_CLICK(node); });
  CheckDlgButton(kNinguno, true);
  CRITERIO(kNinguno);
  OB->doubleclick = [this](win::WBLISTBOX&) { MOD_ROOMS(); };
}

void ROOMS::AbrirBases() {
  ROOMS_ = lib::USE(this, "ROOMS", "ROOMS");
}

void ROOMS::CerrarBases() {
  if (OB) CLOSEBROWSE(*OB);
  lib::KILLTABLA(ROOMS_);
}

void ROOMS::MontarColumnas() {
  lib::WDBTable* r = ROOMS_.get();
  win::AGREGARCOL(*OB, r, "Habitación", "CODIGO", std::string(15, '!'));
  win::AGREGARCOL(*OB, r, "Descripción", "DESCRIP", std::string(40, '!'));
  win::AGREGARCOL(*OB, r, "Tipo", "TIPO", "!!!!");
  win::AGREGARCOL(*OB, r, "Ubicación", "UBICA", "!!!!");
  win::AGREGARCOL(*OB, r, "Estado", "T_EST_HA", "!!!!");
}

void ROOMS::ConfigBrow() {
  lib::SELECT(ROOMS_->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, "ROOMS"}}, 1, NEGOCIO);
}

void ROOMS::SHOW_MENU() {
  if (win::MainFrame* frame = win::MainFrame::instance()) frame->MENUSET(kMenuId, this, NEGOCIO);
}

void ROOMS::HIDE_MENU() {
  if (win::MainFrame* frame = win::MainFrame::instance()) frame->MENUSET(0, this, NEGOCIO);
}

int ROOMS::OnCOMMAND(int id, int notification) {
  if (id >= kExpandAll && id <= kClearSearch) {
    TREE_MENU(id);
    return 1;
  }
  return WDIAG::OnCOMMAND(id, notification);
}

void ROOMS::CRITERIO(Criterio c) {
  criterio = c;
  TREE->ZAP_TREE();
  switch (c) {
    case kNinguno:
      TREE->ADDLASTCHILD(TREE->GETROOT(), "Ninguno");
      TREE->Enable(false);
      break;
    case kPorUbicacion:
      LOAD_TREE("Ubicaciones de Habitación", "UBIC_ROM");
      break;
    case kPorTipo:
      LOAD_TREE("Tipos de Habitación", "TIPO_ROM");
      break;
  }
  SCOPE_ROOMS("ROOMS", "");
}

// One item per record of `table` (the locations or the types of the business unit) under a
// top item bearing the tree's name: the description, with the code beside it.
void ROOMS::LOAD_TREE(const std::string& name, const std::string& table) {
  TREE->Enable(true);
  win::TreeNode top = TREE->ADDLASTCHILD(TREE->GETROOT(), name);
  auto t = lib::USE(this, table, table);
  const std::string key = keyPart(*t, "NEGOCIO", NEGOCIO);
  t->SetScope(Value::chars(key), Value::chars(key));
  for (t->GoTop(); !t->Eof(); t->Skip())
    TREE->ADDLASTCHILD(top, t->S("DESCRIP"), t->S("CODIGO"), t->S("CODIGO"), t->RecNo(), "XXXX");
  lib::KILLTABLA(t);
  TREE->SORT(true);
  TREE->EXPAND(top);
  TREE->REFRESH();
}

void ROOMS::TREE_CLICK(win::TreeNode node) {
  const std::string code = TREE->Value(node);
  if (criterio == kNinguno || !node || TREE->Children(nullptr).empty() || node == TREE->Children(nullptr).front()) {
    SCOPE_ROOMS("ROOMS", "");
    return;
  }
  SCOPE_ROOMS(criterio == kPorUbicacion ? "ROOMS3" : "ROOMS2", code);
}

// The grid shows the rooms of the business unit on `tag`, or with a code those of one
// location (ROOMS3) or type (ROOMS2).
void ROOMS::SCOPE_ROOMS(const std::string& tag, const std::string& code) {
  std::string scope = keyPart(*ROOMS_, "NEGOCIO", NEGOCIO);
  if (tag != "ROOMS") scope += keyPart(*ROOMS_, tag == "ROOMS3" ? "UBICA" : "TIPO", code);
  SET_SCOPE(*OB, scope);
  SET_INDEXCOL(*OB, 1, tag);
  ORDERSHOW(*OB);
}

void ROOMS::TREE_MENU(int command) {
  win::TreeNode selected = TREE->Selected();
  switch (command) {
    case kExpandAll:
      expandAll(*TREE, TREE->GETROOT(), true);
      break;
    case kExpandItem:
      if (selected) expandAll(*TREE, selected, true);
      break;
    case kCollapseAll:
      expandAll(*TREE, TREE->GETROOT(), false);
      break;
    case kCollapseItem:
      if (selected) expandAll(*TREE, selected, false);
      break;
    case kClearAll:
      markAll(*TREE, TREE->GETROOT(), false);
      TREE->ClearSelection();
      SCOPE_ROOMS("ROOMS", "");
      break;
    case kClearSubtree:
      if (selected) {
        TREE->MARK(selected, false);
        markAll(*TREE, selected, false);
      }
      break;
    case kSearch:
      BUSCAR_TREE();
      break;
    case kClearSearch:
      markAll(*TREE, TREE->GETROOT(), false);
      break;
  }
  TREE->REFRESH();
}

// "Buscar...": the items whose text contains the text asked for are marked, the first one
// is selected and shown.
void ROOMS::BUSCAR_TREE() {
  std::string text;
  int accepted = win::DIALOG_BOX(nullptr, "BUSCA_TREE", this, [&](win::ModalDialog& d, int msg, int wParam, int) {
    if (msg == win::WM_INITDIALOG) {
      d.SetFocusTo(500);
      return 1;
    }
    if (msg != win::WM_COMMAND) return 0;
    int id = wParam & 0xFFFF;
    if (id == win::IDOK) {
      text = upper(trim(d.GetDlgItemText(500)));
      win::ENDDIALOG(d, 1);
      return 1;
    }
    if (id == win::IDCANCEL) {
      win::ENDDIALOG(d, 2);
      return 1;
    }
    return 0;
  });
  if (accepted != 1 || text.empty()) return;
  markAll(*TREE, TREE->GETROOT(), false);
  if (win::TreeNode first = markMatches(*TREE, TREE->GETROOT(), text)) {
    TREE->Select(first);
  } else {
    notice("No se encontró: " + text, "Aviso");
  }
}

bool ROOMS::hasRoom() const {
  return ROOMS_ && !ROOMS_->Eof() && OB && OB->nMaxRec > 0;
}

void ROOMS::refreshRooms(bool added) {
  if (added) OB->nMaxRec += 1;
  OB->SHOWDATA();
  OB->REFRESHALL();
}

void ROOMS::ADD_ROOMS() {
  win::open<EDIT_ROOM>(this, NEGOCIO, EDIT_ROOM::kAdd);
}

void ROOMS::MOD_ROOMS() {
  if (!hasRoom()) return;
  win::open<EDIT_ROOM>(this, NEGOCIO, EDIT_ROOM::kModify);
}

void ROOMS::DEL_ROOMS() {
  if (!hasRoom()) return;
  if (!confirm(cascadeQuestion("Desea borrar la Habitación?"))) return;
  lib::WDBTable& r = *ROOMS_;
  const uint32_t deleting = r.RecNo();
  const std::string room = r.S("CODIGO"), tipo = r.S("TIPO");
  const int32_t desde = CIERRE_DIA(NEGOCIO);
  DISABLE_BROWSE(*OB);
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
    ROOM_BORRADA(NEGOCIO, room, tipo, desde);
    wait.TERMINAR();
  }
  ENABLE_BROWSE(*OB);
  r.GoTo(deleting);
  lib::MODIFY(r, [&] { r.Delete(); });
  r.Skip();
  OB->nMaxRec = OB->nMaxRec > 0 ? OB->nMaxRec - 1 : 0;
  OB->SHOWDATA();
  OB->REFRESHALL();
}

// --- EDIT_ROOM --------------------------------------------------------------------------

EDIT_ROOM::EDIT_ROOM(ROOMS* list, const std::string& negocio, Mode mode) : list_(list), mode_(mode) {
  NEGOCIO = negocio;
  if (mode == kModify) XRECNO = list->ROOMS_->RecNo();
  AbrirBases();
  if (!Init(list, "AGREGAR_ROOM")) return;
  for (int id : {kCode, kDescription, kConnectText, kConnectedRoom, kOwnerShare, kComment, kNotes, kReservation})
    ADD(std::make_unique<win::WEDIT>(this, id));
  for (int n = 0; n < 9; ++n) ADD(std::make_unique<win::WEDIT>(this, kFirstPhoto + n));
  ADD(std::make_unique<win::CCOMBOBOX>(this, kType));
  for (const Lookup& l : kLookups) ADD(std::make_unique<win::CCOMBOBOX>(this, l.id));
  for (const auto& f : kFlags) ADD(std::make_unique<win::WCHECKBOX>(this, f.id));
  ADD(std::make_unique<win::WCHECKBOX>(this, kClearReservation));
  ADD(std::make_unique<win::CLISTBOX>(this, kAccessories));
  ADD(std::make_unique<win::CLISTBOX>(this, kQualities));
  ADD_BUTTON(win::IDOK, [this] { SAVE_DATOS(); });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE("AGREGAR_ROOM");
  LOAD_TIPOS();
  LOAD_LISTAS();
  LOAD_DETALLES();
  win::WEDIT code(this, kCode);
  code.SetLimit(int(widthOf(*list->ROOMS_, "CODIGO")));
  win::WEDIT(this, kReservation).ReadOnly(true);
  if (mode == kModify) {
    readRecord();
  } else {
    win::CCOMBOBOX(this, 610).SeekCargo("");
    SetDlgItemText(kOwnerShare, lib::TRANSFORM_NUMBER(0, kOwnerSharePicture));
  }
  win::WEDIT share(this, kOwnerShare);
  win::ONLYNUMBER(share, kOwnerSharePicture);
  EDITOR_OF(list);
  SetFocusTo(kCode);
}

void EDIT_ROOM::AbrirBases() {
  TIPO_ROM = lib::USE(this, "TIPO_ROM", "TIPO_ROM");
}

void EDIT_ROOM::CerrarBases() {
  lib::KILLTABLA(TIPO_ROM);
}

void EDIT_ROOM::LOAD_TIPOS() {
  win::CCOMBOBOX types(this, kType);
  const std::string key = keyPart(*TIPO_ROM, "NEGOCIO", NEGOCIO);
  TIPO_ROM->SetScope(Value::chars(key), Value::chars(key));
  for (TIPO_ROM->GoTop(); !TIPO_ROM->Eof(); TIPO_ROM->Skip())
    types.Add(TIPO_ROM->S("DESCRIP"), 0, TIPO_ROM->S("CODIGO"));
  TIPO_ROM->ClearScope();
}

void EDIT_ROOM::LOAD_LISTAS() {
  for (const Lookup& l : kLookups) {
    win::CCOMBOBOX box(this, l.id);
    if (l.blank && !l.blankLast) box.Add(l.blank, 0, "");
    if (lib::IS_FILE(nullptr, l.table)) {
      auto t = lib::USE(nullptr, std::string(l.table), std::string(l.table));
      const std::string key = keyPart(*t, "NEGOCIO", NEGOCIO);
      t->SetScope(Value::chars(key), Value::chars(key));
      for (t->GoTop(); !t->Eof(); t->Skip()) box.Add(t->S(l.text), 0, t->S("CODIGO"));
      lib::KILLTABLA(t);
    }
    if (l.blank && l.blankLast) box.Add(l.blank, 0, "");
  }
}

void EDIT_ROOM::LOAD_DETALLES() {
  win::CLISTBOX accessories(this, kAccessories), qualities(this, kQualities);
  for (const DetailItem& i : ITEMS_DE(kAccesorios, NEGOCIO)) accessories.Add(i.description, i.code);
  for (const DetailItem& i : ITEMS_DE(kCualidades, NEGOCIO)) qualities.Add(i.description, i.code);
}

void EDIT_ROOM::readRecord() {
  lib::WDBTable& r = *list_->ROOMS_;
  r.GoTo(XRECNO);
  SetDlgItemText(kCode, r.S("CODIGO"));
  SetDlgItemText(kDescription, r.S("DESCRIP"));
  SetDlgItemText(kConnectText, r.S("CONNECT_TO"));
  SetDlgItemText(kConnectedRoom, r.S("COD_ROOM2"));
  SetDlgItemText(kOwnerShare, lib::TRANSFORM_NUMBER(r.N("PORCENT_D"), kOwnerSharePicture));
  SetDlgItemText(kComment, r.S("COMENTARIO"));
  SetDlgItemText(kNotes, r.S("NOTAS"));
  SetDlgItemText(kReservation, r.S("COD_RES"));
  for (int n = 1; n <= 9; ++n) SetDlgItemText(kFirstPhoto + n - 1, r.S(photoField(n)));
  win::CCOMBOBOX(this, kType).SeekCargo(r.S("TIPO"));
  for (const Lookup& l : kLookups) win::CCOMBOBOX(this, l.id).SeekCargo(r.S(l.field));
  for (const auto& f : kFlags) CheckDlgButton(f.id, r.N(f.field) == 1);
  const std::string room = r.S("CODIGO");
  for (auto [id, kind] : {std::pair{kAccessories, &kAccesorios}, std::pair{kQualities, &kCualidades}}) {
    std::set<std::string> marked = MARCADOS(*kind, NEGOCIO, room);
    win::CLISTBOX list(this, id);
    for (int i = 1; i <= list.Count(); ++i) list.SetSel(i, marked.count(list.ItemCargo(i)) > 0);
  }
}

std::set<std::string> EDIT_ROOM::selected(int listId) const {
  std::set<std::string> out;
  win::CLISTBOX list(const_cast<EDIT_ROOM*>(this), listId);
  for (int i : list.Selected()) out.insert(list.ItemCargo(i));
  return out;
}

bool EDIT_ROOM::validate() {
  auto refuse = [this](const char* text, int focus) {
    error(text);
    SetFocusTo(focus);
    return false;
  };
  if (trim(GetDlgItemText(kCode)).empty()) return refuse("Debe definir el Código", kCode);
  const std::string tipo = win::CCOMBOBOX(this, kType).CurCargo();
  if (tipo.empty()) return refuse("Debe definir el Tipo de Habitación", kType);
  if (win::CCOMBOBOX(this, kLocation).CurCargo().empty()) return refuse("Debe definir la Ubicación", kLocation);
  if (win::CCOMBOBOX(this, kState).CurCargo().empty()) return refuse("Debe definir el Estado de la Habitación", kState);
  const std::string connected = upper(trim(GetDlgItemText(kConnectedRoom)));
  if (!connected.empty()) {
    auto rooms = lib::USE(this, "ROOMS", "ROOMS");
    bool exists = rooms->Seek(keyPart(*rooms, "NEGOCIO", NEGOCIO) + keyPart(*rooms, "CODIGO", connected));
    bool sameType = exists && rooms->S("TIPO") == tipo;
    lib::KILLTABLA(rooms);
    if (!exists) return refuse("El número de habitación asociado como conexion no existe", kConnectedRoom);
    if (!sameType) return refuse("La habitación conexa debe ser del mismo tipo", kConnectedRoom);
  }
  return true;
}

void EDIT_ROOM::writeFields(lib::WDBTable& r, const std::string& clase) {
  r.FieldPut("CODIGO", Value::chars(upper(trim(GetDlgItemText(kCode)))));
  r.FieldPut("DESCRIP", Value::chars(trim(GetDlgItemText(kDescription))));
  r.FieldPut("TIPO", Value::chars(win::CCOMBOBOX(this, kType).CurCargo()));
  r.FieldPut("CLASE", Value::chars(clase));
  for (const Lookup& l : kLookups) r.FieldPut(l.field, Value::chars(win::CCOMBOBOX(this, l.id).CurCargo()));
  r.FieldPut("CONNECT_TO", Value::chars(trim(GetDlgItemText(kConnectText))));
  r.FieldPut("COD_ROOM2", Value::chars(upper(trim(GetDlgItemText(kConnectedRoom)))));
  r.FieldPut("PORCENT_D", Value::num(lib::readNumber(GetDlgItemText(kOwnerShare))));
  r.FieldPut("COMENTARIO", Value::chars(trim(GetDlgItemText(kComment))));
  r.FieldPut("NOTAS", Value::chars(GetDlgItemText(kNotes)));
  for (int n = 1; n <= 9; ++n) r.FieldPut(photoField(n), Value::chars(trim(GetDlgItemText(kFirstPhoto + n - 1))));
  for (const auto& f : kFlags) r.FieldPut(f.field, Value::num(IsDlgButtonChecked(f.id) ? 1 : 0));
}

void EDIT_ROOM::SAVE_DATOS() {
  if (!validate()) return;
  const std::string code = upper(trim(GetDlgItemText(kCode)));
  ROOMS& list = *list_;
  list.DISABLE_BROWSE(*list.OB);
  bool saved = false;
  if (mode_ == kAdd) {
    auto rooms = lib::USE(this, "ROOMS", "ROOMS");
    if (rooms->Seek(keyPart(*rooms, "NEGOCIO", NEGOCIO) + keyPart(*rooms, "CODIGO", code))) {
      lib::KILLTABLA(rooms);
      list.ENABLE_BROWSE(*list.OB);
      error("Código Ya definido...");
      SetFocusTo(kCode);
      return;
    }
    lib::KILLTABLA(rooms);
    ADD_ROOM();
    saved = true;
  } else {
    saved = MOD_ROOM();
  }
  list.ENABLE_BROWSE(*list.OB);
  if (!saved) return;
  GUARDA_MARCAS(kAccesorios, NEGOCIO, code, selected(kAccessories));
  GUARDA_MARCAS(kCualidades, NEGOCIO, code, selected(kQualities));
  list.refreshRooms(mode_ == kAdd);
  ENDDIALOG();
}

// A new room: appended with its type's class; then, when the type exists, a room more of
// the type, the class and the hotel from the closing day, and its reservation-table rows
// for every date already generated.
void EDIT_ROOM::ADD_ROOM() {
  const std::string tipo = win::CCOMBOBOX(this, kType).CurCargo();
  const std::optional<std::string> clase = CLASE_DEL_TIPO(NEGOCIO, tipo);
  auto rooms = lib::USE(this, "ROOMS", "ROOMS");
  lib::ADD(*rooms, [&] {
    rooms->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
    writeFields(*rooms, clase.value_or(""));
  });
  const uint32_t added = rooms->RecNo();
  const std::string code = rooms->S("CODIGO");
  lib::KILLTABLA(rooms);
  const int32_t desde = CIERRE_DIA(NEGOCIO);
  win::WAIT wait(this);
  wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
  ROOM_AGREGADA(NEGOCIO, code, tipo, desde);
  wait.TERMINAR();
  list_->ROOMS_->GoTo(added);
}

// The room rewritten from the controls; a changed type first carries the room's
// reservations and counters to the new type, a changed code renames the room's rows
// everywhere. False (nothing changed) when the entry is refused.
bool EDIT_ROOM::MOD_ROOM() {
  lib::WDBTable& r = *list_->ROOMS_;
  const std::string code = upper(trim(GetDlgItemText(kCode)));
  const std::string tipo = win::CCOMBOBOX(this, kType).CurCargo();
  {
    auto rooms = lib::USE(this, "ROOMS", "ROOMS");
    bool taken =
        rooms->Seek(keyPart(*rooms, "NEGOCIO", NEGOCIO) + keyPart(*rooms, "CODIGO", code)) && rooms->RecNo() != XRECNO;
    lib::KILLTABLA(rooms);
    if (taken) {
      error("Código de Habitación ya existe...");
      SetFocusTo(kCode);
      return false;
    }
  }
  r.GoTo(XRECNO);
  const std::string oldCode = r.S("CODIGO"), oldType = r.S("TIPO");
  const bool codeChanged = oldCode != code, typeChanged = oldType != tipo;
  const int32_t desde = CIERRE_DIA(NEGOCIO);
  if (codeChanged && typeChanged && ROOM_COMPROMETIDA(NEGOCIO, oldCode, desde)) {
    error(
        "No se puede cambiar el tipo de habitación pues se encuentra asociada a reservaciones.\r\nDebe quitar las "
        "preasignaciones de esta habitación o hacerle checkout");
    return false;
  }
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
    if (typeChanged) CAMBIA_TIPO_ROOM(NEGOCIO, oldCode, code, oldType, tipo, desde, &wait);
    if (codeChanged) {
      RENOMBRA_TAB_RESE(NEGOCIO, oldCode, code, desde);
      // What else names the room follows it (the record itself is rewritten below, and
      // the reservation table keeps the old code before the closing day).
      for (const RecodeStep& step : ROOM_REFERENCES())
        if (!(step.table == "ROOMS" && step.field == "CODIGO") && step.table != "TAB_RESE")
          REEMPLAZA_CODIGO(step, NEGOCIO, oldCode, code);
    }
    wait.TERMINAR();
  }
  const std::string clase = CLASE_DEL_TIPO(NEGOCIO, tipo).value_or("");
  if (typeChanged) CLASE_TAB_RESE(NEGOCIO, code, clase, desde);
  r.GoTo(XRECNO);
  lib::MODIFY(r, [&] {
    writeFields(r, clase);
    if (IsDlgButtonChecked(kClearReservation)) r.FieldPut("COD_RES", Value::chars(""));
  });
  return true;
}

}  // namespace rooms
