#include "rates/def_temp.h"

#include "lib/money.h"
#include "lib/picture.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/copia.h"
#include "screens/messages.h"
#include "screens/recode.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace rates {

namespace {

constexpr int kTree = 901;
enum Command { kAdd = 9011, kModify, kDelete };
constexpr int kCode = 500, kName = 501, kFirstDay = 601, kLastDay = 602, kIndividual = 502, kGroup = 503;

const std::vector<screens::RecodeStep> kSeasonReferences = {
    {"SUBTEMPO", "LINEA", "SUBTEMPO", true, true}, {"FEC_TEMP", "CODIGO", "FEC_TEMP", true, true},
    {"DET_AGE", "TEMPORA", "DET_AGE4", true, true}};

std::string seasonText(const lib::WDBTable& t) {
  const std::string name = lib::trim(t.S("DESCRIP"));
  return lib::trim(t.S("CODIGO")) + (name.empty() ? "" : " - " + name);
}

std::string subSeasonText(const lib::WDBTable& t) {
  return seasonText(t) + " (" + NOMBRE_DIA(int(t.N("DIAI"))) + " a " + NOMBRE_DIA(int(t.N("DIAF"))) + ")";
}

bool refuse(win::ModalDialog& d, const std::string& text, int focus) {
  screens::error(text);
  d.SetFocusTo(focus);
  return false;
}

}  // namespace

std::string NOMBRE_DIA(int day) {
  static const char* const names[] = {"Domingo", "Lunes", "Martes", "Miércoles", "Jueves", "Viernes", "Sabado"};
  return day >= 1 && day <= 7 ? names[day - 1] : "";
}

DEF_TEMP::DEF_TEMP(const std::string& dialog, const std::string& negocio) : SCREEN(dialog, negocio) {}

void DEF_TEMP::INIT() {
  if (!Init(nullptr, DIALOG)) return;
  TREE = std::make_unique<win::TREEVIEW>(this, kTree);
  ADD(TREE.get());
  ADD_BUTTON(win::IDOK, [this] { ENDDIALOG(); });
  ADD_BUTTON(201, [this] { AGREGAR(); });
  ADD_BUTTON(202, [this] { MODIFICAR(); });
  ADD_BUTTON(203, [this] { BORRAR(); });
  CREATE(DIALOG);
  TREE->DEFINE_MENU({{kAdd, "Agregar"}, {kModify, "Modificar"}, {kDelete, "Borrar"}});
  LOAD_TREE();
}

int DEF_TEMP::OnCOMMAND(int id, int notification) {
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
    default:
      return WDIAG::OnCOMMAND(id, notification);
  }
}

// The root, each season (value: its code) and under it its sub-seasons (value: their code);
// `select` ("season" or "season/sub") is chosen afterwards, else the root.
void DEF_TEMP::LOAD_TREE(const std::string& select) {
  TREE->ZAP_TREE();
  root_ = TREE->ADDLASTCHILD(TREE->GETROOT(), "Temporadas", "", "", 0);
  win::TreeNode chosen = root_;
  lib::EACH_RECORD("TEMPORA", "TEMPORA", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& season) {
    const std::string code = lib::trim(season.S("CODIGO"));
    win::TreeNode top = TREE->ADDLASTCHILD(root_, seasonText(season), code, "", season.RecNo());
    if (select == code) chosen = top;
    lib::EACH_RECORD("SUBTEMPO", "SUBTEMPO", lib::businessKey(NEGOCIO) + lib::padded(code, 2),
                     [&](const lib::WDBTable& sub) {
                       const std::string subCode = lib::trim(sub.S("CODIGO"));
                       win::TreeNode n = TREE->ADDLASTCHILD(top, subSeasonText(sub), subCode, "", sub.RecNo());
                       if (select == code + "/" + subCode) chosen = n;
                     });
    TREE->EXPAND(top);
  });
  TREE->EXPAND(root_);
  TREE->REFRESH();
  TREE->Select(chosen);
}

int DEF_TEMP::NIVEL(win::TreeNode node) const {
  if (!node) return -1;
  if (node == root_) return 0;
  for (win::TreeNode season : TREE->Children(root_)) {
    if (season == node) return 1;
    for (win::TreeNode sub : TREE->Children(season))
      if (sub == node) return 2;
  }
  return -1;
}

win::TreeNode DEF_TEMP::PADRE(win::TreeNode node) const {
  for (win::TreeNode season : TREE->Children(root_))
    for (win::TreeNode sub : TREE->Children(season))
      if (sub == node) return season;
  return nullptr;
}

void DEF_TEMP::AGREGAR() {
  CALL_LEVEL();
  win::TreeNode node = TREE->Selected();
  switch (NIVEL(node)) {
    case 0:
      E_TEMPORA(0);
      break;
    case 1:
      E_TEMPO(TREE->Value(node), 0);
      break;
    default:
      screens::error("No se permite agregar en este nivel");
  }
}

void DEF_TEMP::MODIFICAR() {
  CALL_LEVEL();
  win::TreeNode node = TREE->Selected();
  switch (NIVEL(node)) {
    case 1:
      E_TEMPORA(TREE->RecNo(node));
      break;
    case 2:
      E_TEMPO(TREE->Value(PADRE(node)), TREE->RecNo(node));
      break;
    default:
      screens::error("No se permite modificar en este nivel");
  }
}

void DEF_TEMP::BORRAR() {
  CALL_LEVEL();
  win::TreeNode node = TREE->Selected();
  const int nivel = NIVEL(node);
  if (nivel < 1) {
    screens::error("No se permite borrar en este nivel");
    return;
  }
  if (!screens::confirm("Desea borrar el item seleccionado : " + TREE->Text(node))) return;
  const std::string code = TREE->Value(node);
  const std::string table = nivel == 1 ? "TEMPORA" : "SUBTEMPO";
  const uint32_t recno = TREE->RecNo(node);
  screens::CascadeReport report;
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
    if (nivel == 1)
      report = screens::BORRA_CODIGO(kSeasonReferences, NEGOCIO, code);
    else  // the commission rows of this season's sub-season; a same-coded one of another season keeps its own
      BORRA_REGISTROS("DET_AGE", "DET_AGE4",
                      lib::businessKey(NEGOCIO) + lib::padded(TREE->Value(PADRE(node)), 2) + lib::padded(code, 2));
    auto t = lib::USE(nullptr, table, table);
    t->GoTo(recno);
    if (!t->Eof() && !t->Deleted()) lib::MODIFY(*t, [&] { t->Delete(); });
    wait.TERMINAR();
  }
  screens::AVISA_FALTANTES(report);
  LOAD_TREE(nivel == 2 ? TREE->Value(PADRE(node)) : "");
}

// A season: its code (2 characters, unique in the business unit) and description.
bool DEF_TEMP::E_TEMPORA(uint32_t recno) {
  auto seasons = lib::USE(nullptr, "TEMPORA", "TEMPORA");
  std::string saved;
  win::DIALOG_BOX("E_TEMPORA", this,
                  {[&](win::ModalDialog& d) {
                     if (recno) {
                       seasons->GoTo(recno);
                       d.SetDlgItemText(kCode, lib::trim(seasons->S("CODIGO")));
                       d.SetDlgItemText(kName, lib::trim(seasons->S("DESCRIP")));
                     }
                     d.SetFocusTo(kCode);
                   },
                   [&](win::ModalDialog& d) {
                     const std::string code = lib::upper(lib::trim(d.GetDlgItemText(kCode))).substr(0, 2);
                     const std::string name = lib::trim(d.GetDlgItemText(kName));
                     if (code.empty()) return refuse(d, "Debe definir el Código", kCode);
                     if (seasons->Seek(seasons->KeyPart("NEGOCIO", NEGOCIO) + seasons->KeyPart("CODIGO", code)) &&
                         seasons->RecNo() != recno)
                       return refuse(d, "Éste código ya fue definido...", kCode);
                     auto fill = [&] {
                       seasons->FieldPut("CODIGO", lib::Value::chars(code));
                       seasons->FieldPut("DESCRIP", lib::Value::chars(name));
                     };
                     if (!recno) {
                       lib::ADD(*seasons, [&] {
                         seasons->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
                         fill();
                       });
                     } else {
                       seasons->GoTo(recno);
                       const std::string oldCode = lib::trim(seasons->S("CODIGO"));
                       screens::CascadeReport report;
                       if (oldCode != code) {
                         win::WAIT wait(&d);
                         wait.PUT_TEXT("Un momento por favor...");
                         report = screens::RECODIFICA(kSeasonReferences, NEGOCIO, oldCode, code, &wait);
                         wait.TERMINAR();
                       }
                       seasons->GoTo(recno);
                       lib::MODIFY(*seasons, fill);
                       screens::AVISA_FALTANTES(report);
                     }
                     saved = code;
                     return true;
                   }});
  if (!saved.empty()) LOAD_TREE(saved);
  return !saved.empty();
}

// A sub-season of `season`: its code (unique within the season), description, days of the
// week and commissions.
bool DEF_TEMP::E_TEMPO(const std::string& season, uint32_t recno) {
  auto subs = lib::USE(nullptr, "SUBTEMPO", "SUBTEMPO");
  std::string saved;
  win::DIALOG_BOX(
      "AGREGAR_TEMPORADA", this,
      {[&](win::ModalDialog& d) {
         for (int id : {kFirstDay, kLastDay}) {
           win::CCOMBOBOX days(&d, id);
           for (int day = 1; day <= 7; ++day) days.Add(NOMBRE_DIA(day), 0, std::to_string(day));
         }
         if (recno) subs->GoTo(recno);
         d.SetDlgItemText(kCode, recno ? lib::trim(subs->S("CODIGO")) : "");
         d.SetDlgItemText(kName, recno ? lib::trim(subs->S("DESCRIP")) : "");
         if (recno) {
           win::CCOMBOBOX(&d, kFirstDay).SeekCargo(std::to_string(int(subs->N("DIAI"))));
           win::CCOMBOBOX(&d, kLastDay).SeekCargo(std::to_string(int(subs->N("DIAF"))));
         }
         d.SetDlgItemText(kIndividual, lib::TRANSFORM_NUMBER(recno ? subs->N("COM_IND") : 0.0, "999.99"));
         d.SetDlgItemText(kGroup, lib::TRANSFORM_NUMBER(recno ? subs->N("COM_GRUP") : 0.0, "999.99"));
         d.SetFocusTo(kCode);
       },
       [&](win::ModalDialog& d) {
         const std::string code = lib::upper(lib::trim(d.GetDlgItemText(kCode))).substr(0, 2);
         const std::string first = win::CCOMBOBOX(&d, kFirstDay).CurCargo();
         const std::string last = win::CCOMBOBOX(&d, kLastDay).CurCargo();
         if (code.empty()) return refuse(d, "Debe definir el Código", kCode);
         if (first.empty()) return refuse(d, "Debe definir el día de Inicial", kFirstDay);
         if (last.empty()) return refuse(d, "Debe definir el día de Final", kLastDay);
         if (subs->Seek(subs->KeyPart("NEGOCIO", NEGOCIO) + subs->KeyPart("LINEA", season) + subs->KeyPart("CODIGO", code)) &&
             subs->RecNo() != recno)
           return refuse(d, "Código Ya definido...", kCode);
         auto fill = [&] {
           subs->FieldPut("CODIGO", lib::Value::chars(code));
           subs->FieldPut("DESCRIP", lib::Value::chars(lib::trim(d.GetDlgItemText(kName))));
           subs->FieldPut("DIAI", lib::Value::num(std::stoi(first)));
           subs->FieldPut("DIAF", lib::Value::num(std::stoi(last)));
           for (auto [id, field] : {std::pair{kIndividual, "COM_IND"}, std::pair{kGroup, "COM_GRUP"}})
             subs->FieldPut(field, lib::Money::parse(d.GetDlgItemText(id)).value_or(lib::Money()).rounded(2));
         };
         if (recno) {
           subs->GoTo(recno);
           lib::MODIFY(*subs, fill);
         } else {
           lib::ADD(*subs, [&] {
             subs->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
             subs->FieldPut("LINEA", lib::Value::chars(season));
             fill();
           });
         }
         saved = season + "/" + code;
         return true;
       }});
  if (!saved.empty()) LOAD_TREE(saved);
  return !saved.empty();
}

}  // namespace rates
