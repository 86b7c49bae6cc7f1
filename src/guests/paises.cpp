#include "guests/paises.h"

#include "agencies/segment_lists.h"
#include "guests/countries.h"
#include "lib/messages.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/form.h"
#include "screens/history.h"
#include "screens/messages.h"
#include "screens/tree_menu.h"
#include "screens/unique_code.h"
#include "win/dialog_box.h"
#include "win/message_box.h"
#include "win/wait.h"

namespace guests {

namespace {

using lib::Value;

constexpr int kTree = 901, kCode = 500, kDescription = 501;
constexpr int kRegion = 603, kLanguage = 604, kGroup = 601;
constexpr size_t kCodeWidth = 4;

enum Command { kAdd = 9201, kModify, kDelete };

const agencies::SegmentLists kSegments = agencies::segmentLists(601, 602);

std::string countryKey(const std::string& negocio, const std::string& country) {
  return lib::businessKey(negocio) + lib::padded(lib::trim(country), kCodeWidth);
}

// Refuses in `d` with `text`, the focus back on the code.
bool refuse(win::ModalDialog& d, const std::string& text) {
  win::MESSAGE_BOX(&d, text, "Error", lib::MB_OK | lib::MB_ICONERROR);
  d.SetFocusTo(kCode);
  return false;
}

}  // namespace

void PAISES::INIT() {
  if (!Init(nullptr, DIALOG)) return;
  TREE = std::make_unique<win::TREEVIEW>(this, kTree);
  ADD(TREE.get());
  ADD_BUTTON(win::IDOK, [this] { ENDDIALOG(); });
  CREATE(DIALOG);
  screens::DEFINE_TREE_MENU(*TREE, {{kAdd, "Agregar..."}, {kModify, "Modificar..."}, {kDelete, "Borrar..."}});
  LOAD_TREE();
}

int PAISES::OnCOMMAND(int id, int notification) {
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

// The countries under the root, each with its states, sorted by text; the item of `level`,
// `country` and `code` (the one just saved) chosen and shown.
void PAISES::LOAD_TREE(int level, const std::string& country, const std::string& code) {
  screens::LOAD_CODE_TREE(*TREE, items_,
                          {"Países",
                           {"PAISES", "PAISES", lib::businessKey(NEGOCIO)},
                           [&](const std::string& c) {
                             return screens::CodeTreeRecords{"DET_PAIS", "DET_PAIS", countryKey(NEGOCIO, c)};
                           }},
                          level, country, code);
}

const PAISES::Item* PAISES::chosen() const {
  auto it = items_.find(TREE->Selected());
  return it == items_.end() ? nullptr : &it->second;
}

// On the root a country, on a country one of its states; nothing below.
void PAISES::AGREGAR() {
  CALL_LEVEL();
  const Item* item = chosen();
  if (!item || item->level == 2) return;
  if (item->level == 0)
    E_PAIS(true, *item);
  else
    E_D_PAIS(true, *item);
}

void PAISES::MODIFICAR() {
  CALL_LEVEL();
  const Item* item = chosen();
  if (!item || item->level == 0) return;
  if (item->level == 1)
    E_PAIS(false, *item);
  else
    E_D_PAIS(false, *item);
}

// A changed code goes into the reservations, their stays, the country's states and the
// agency statistics; lists without a selection keep the record's codes.
void PAISES::E_PAIS(bool adding, const Item& item) {
  const Item edited = item;
  auto record = lib::USE(this, "PAISES", "PAISES");
  if (!adding) record->GoTo(edited.recno);
  std::unique_ptr<screens::FORM> form;
  std::string code;
  const int answer = win::DIALOG_BOX(
      "MODIPAIS", this,
      {[&](win::ModalDialog& d) {
         form = std::make_unique<screens::FORM>(d);
         lib::WDBTable* t = record.get();
         form->UPPER(kCode, t, "CODIGO");
         form->TRIMMED(kDescription, t, "DESCRIP");
         form->FLAG(1010, t, "EXCLUYE_CI");
         form->FLAG(1011, t, "NO_P_REG");
         form->OPTION(t, "TIPO", {{1001, 0}, {1002, 1}, {1003, 2}}, 1001);
         form->OPTION(t, "TIPO_APART", {{1004, 0}, {1005, 1}, {1006, 2}});
         agencies::BIND_SEGMENTOS(d, *form, t, NEGOCIO, kSegments);
         form->CODE(kRegion, t, "REGION");
         form->CODE(kLanguage, t, "IDIOMA");
         agencies::LLENA_SEGMENTOS(d, NEGOCIO, kSegments);
         screens::LOAD_LISTA(d, {kRegion}, "REG_SB", "REG_SB", NEGOCIO, "DESCRIP", true);
         screens::LOAD_LISTA(d, {kLanguage}, "IDIOMAS", "IDIOMAS", NEGOCIO, "DESCRIP", true);
         if (adding) {
           form->CLEAR();
         } else {
           agencies::MUESTRA_SEGMENTOS(d, *t, NEGOCIO, kSegments);
           form->LOAD();
         }
         form->FILTROS();
         d.SetFocusTo(kCode);
       },
       [&](win::ModalDialog& d) {
         code = form->text(kCode);
         if (code.empty()) return refuse(d, "Debe definir el Código");
         const uint32_t editing = adding ? 0 : edited.recno;
         if (screens::CODIGO_DEFINIDO(*record, NEGOCIO, code, editing))
           return refuse(d, adding ? "Código del país ya definido..." : "Código de país ya definido...");
         if (adding) {
           lib::ADD(*record, [&] {
             record->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
             form->SAVE(record.get());
           });
           return true;
         }
         lib::MODIFY(*record, [&] {
           if (code != edited.code) {
             win::WAIT wait(&d);
             wait.PUT_TEXT("Un momento por favor...", "Recodificando referencias...");
             screens::AVISA_FALTANTES(screens::RECODIFICA(COUNTRY_REFERENCES(), NEGOCIO, edited.code, code, &wait));
           }
           form->SAVE(record.get());
         });
         return true;
       }});
  lib::KILLTABLA(record);
  if (answer == win::IDOK) LOAD_TREE(1, code, code);
}

// A changed code goes into the reservations and stays of the state's country.
void PAISES::E_D_PAIS(bool adding, const Item& item) {
  const Item edited = item;
  auto record = lib::USE(this, "DET_PAIS", "DET_PAIS");
  if (!adding) record->GoTo(edited.recno);
  std::unique_ptr<screens::FORM> form;
  std::string code;
  const int answer = win::DIALOG_BOX(
      "MODIDETPAIS", this,
      {[&](win::ModalDialog& d) {
         form = std::make_unique<screens::FORM>(d);
         form->UPPER(kCode, record.get(), "CODIGO");
         form->TRIMMED(kDescription, record.get(), "DESCRIP");
         form->CODE(kGroup, record.get(), "GRUPO");
         screens::LOAD_LISTA(d, {kGroup}, "GRP_EST", "GRP_EST", NEGOCIO, "DESCRIP", true);
         if (adding)
           form->CLEAR();
         else
           form->LOAD();
         form->FILTROS();
         d.SetFocusTo(kCode);
       },
       [&](win::ModalDialog& d) {
         code = form->text(kCode);
         if (code.empty()) return refuse(d, "Debe definir el Código");
         const uint32_t editing = adding ? 0 : edited.recno;
         bool taken = false;
         lib::EACH_RECORD("DET_PAIS", "DET_PAIS", countryKey(NEGOCIO, edited.group) + lib::padded(code, kCodeWidth),
                          [&](const lib::WDBTable& s) { taken = taken || s.RecNo() != editing; });
         if (taken) return refuse(d, "Éste código ya fue definido...");
         if (adding) {
           lib::ADD(*record, [&] {
             record->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
             record->FieldPut("COD_PAIS", Value::chars(edited.group));
             form->SAVE(record.get());
           });
           return true;
         }
         if (code != edited.code) {
           win::WAIT wait(&d);
           wait.PUT_TEXT("Un momento por favor...", "Recodificando referencias...");
           RECODIFICA_ESTADO(NEGOCIO, edited.group, edited.code, code);
         }
         record->GoTo(editing);
         lib::MODIFY(*record, [&] { form->SAVE(record.get()); });
         return true;
       }});
  lib::KILLTABLA(record);
  if (answer == win::IDOK) LOAD_TREE(2, edited.group, code);
}

void PAISES::BORRAR() {
  CALL_LEVEL();
  const Item* chosenItem = chosen();
  if (!chosenItem || chosenItem->level == 0) return;
  const Item item = *chosenItem;
  if (win::MESSAGE_BOX(this, "Desea borrar el item seleccionado : " + item.text, "Advertencia",
                       lib::MB_OKCANCEL | lib::MB_ICONSTOP) != lib::IDOK)
    return;
  if (item.level == 1) {
    BORRA_PAIS(NEGOCIO, item.recno);
  } else {
    auto t = lib::USE(nullptr, "DET_PAIS", "DET_PAIS");
    t->GoTo(item.recno);
    lib::MODIFY(*t, [&] {
      screens::REGISTRA_BAJA(*t);
      t->Delete();
    });
    lib::KILLTABLA(t);
  }
  LOAD_TREE(item.level == 2 ? 1 : 0, item.group, item.group);
}

}  // namespace guests
