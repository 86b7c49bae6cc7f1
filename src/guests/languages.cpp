#include "guests/languages.h"

#include <memory>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "screens/registry.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/wdiag.h"

namespace guests {

namespace {

using lib::Value;

// The confirmation captions of the editor, 502 to 526 in this order.
constexpr const char* kConfirmation[] = {
    "TITULO",  "LABEL1",   "LABEL2",  "LABEL3",  "LABEL4",   "LABEL5",  "LABEL6",    "LABEL7",    "LABEL8",
    "LABEL9",  "LABEL10",  "NINHOS",  "ADULTOS", "N_GRATIS", "LABEL11", "T_NINHOS",  "T_ADULTOS", "T_N_GRATIS",
    "TXT_PAQ", "TXT_PAQ2", "LABEL12", "LABEL13", "LABEL14",  "LABEL15", "TXT_NACION"};
constexpr int kFirstConfirmation = 502, kSwitchLanguage = 601;

// The 23 captions of the card's "Otros Datos", 501 to 523 of IDIOMA3.
constexpr const char* kCardCaptions[] = {
    "TXT_T_REG", "TXT_IDCARD", "TXT_NOMBRE", "TXT_C_OUT",  "TXT_FIRMA",  "TXT_HAB",    "TXT_COMP",   "TXT_RESID",
    "TXT_PAIS",  "TXT_T_CRED", "TXT_TELEF",  "TXT_PASAP",  "TXT_LLEGA",  "TXT_PAX",    "TXT_CLIENT", "TXT_SALIDA",
    "TXT_EMAIL", "TXT_F_NAC",  "TXT_T_IDEN", "TXT_F_HUES", "TXT_RESERV", "TXT_F_HUE2", "TXT_F_HUE3"};
constexpr int kCaptions = int(std::size(kCardCaptions));

// The card's lines: 1 to 8 in 501-508, 9 to 16 in 513-520; the vouchers 509, 510; the rate 511.
int cardLineId(int line) {
  return line <= 8 ? 500 + line : 504 + line;
}

struct MergeField {
  const char *caption, *code;
};
constexpr MergeField kMergeFields[] = {{"Identificacion", "<<cedula>>"},
                                       {"Nombre Completo", "<<nombre>>"},
                                       {"ID Cliente Frecuente", "<<id_clie>>"},
                                       {"Fecha", "<<fecha>>"},
                                       {"Hora", "<<hora>>"}};

// The language under the list's cursor, or the user told there is none.
template <typename S>
void openOnCurrent(screens::CODE_LIST& list, const std::function<void(uint32_t)>& open) {
  if (!list.hasRecord() || lib::trim(list.TABLA->S("CODIGO")).empty())
    return screens::error("Debe seleccionar un idioma válido");
  open(list.TABLA->RecNo());
}

void openCard(win::WDIAG& screen) {
  auto& list = static_cast<screens::CODE_LIST&>(screen);
  openOnCurrent<IDIOMA2>(list, [&](uint32_t recno) { screens::OPEN<IDIOMA2>(&list, list.NEGOCIO, recno); });
}

void openMail(win::WDIAG& screen, int kind) {
  auto& list = static_cast<screens::CODE_LIST&>(screen);
  openOnCurrent<IDIOMA3>(list, [&](uint32_t recno) { screens::OPEN<IDIOMA3>(&list, list.NEGOCIO, recno, kind); });
}

}  // namespace

screens::CodeListDefinition languages() {
  return {.screen = "IDIOMAS",
          .table = "IDIOMAS",
          .menuId = 3141,
          .entries = {3142, 3143, 3144},
          .codePicture = "!!",
          .editor = "AGREGAR_IDIOMAS",
          .duplicateAdd = "Código de Idioma ya definido...",
          .duplicateModify = "Código Ya definido...",
          .deleteQuestion = "Desea borrarlo?\rSe borrarán todas las referencias.",
          .references = {{"D_T_RES", "IDIOMA", "D_T_RES2"}, {"ENC_RES", "IDIOMA", "ENC_RES3"}},
          .bind =
              [](screens::FORM& form, lib::WDBTable* record, const std::string&) {
                for (int i = 0; i < int(std::size(kConfirmation)); ++i)
                  form.TRIMMED(kFirstConfirmation + i, record, kConfirmation[i]);
                // The position in the list is the switch's code.
                form.CHOICE(kSwitchLanguage, record, "COD_IDIOMA",
                            {{"Por Defecto...", 0}, {"Español", 1}, {"Inglés", 2}, {"Francés", 3}, {"Alemán", 4}});
              },
          .moreEntries = {{3618, "Definición Datos Tarjeta", openCard},
                          {4687, "Texto para Email de Confirmación de Registro de Cliente Frecuente",
                           [](win::WDIAG& s) { openMail(s, 1); }},
                          {5141, "Texto para Email de Confirmación para retiro de membresia de Cliente Frecuente",
                           [](win::WDIAG& s) { openMail(s, 2); }}}};
}

IDIOMA2::IDIOMA2(screens::LIST_SCREEN* list, const std::string& negocio, uint32_t recno)
    : SCREEN("IDIOMA2", negocio), LIST(list), RECNO(recno) {}

void IDIOMA2::INIT() {
  IDIOMAS = USE("IDIOMAS", "IDIOMAS");
  IDIOMAS->GoTo(RECNO);
  if (!Init(LIST, DIALOG)) return;
  ADD_BUTTON(win::IDOK, [this] { GUARDAR(); });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  ADD_BUTTON(201, [this] { OTROS_DATOS(); });
  CREATE(DIALOG);
  for (int line = 1; line <= 16; ++line)
    SetDlgItemText(cardLineId(line), lib::trim(IDIOMAS->S("TREG_COM" + std::to_string(line))));
  SetDlgItemText(509, lib::trim(IDIOMAS->S("TREG_COMP1")));
  SetDlgItemText(510, lib::trim(IDIOMAS->S("TREG_COMP2")));
  SetDlgItemText(511, lib::trim(IDIOMAS->S("ROT_TARIFA")));
  for (const char* field : kCardCaptions) CAPTIONS.push_back(lib::trim(IDIOMAS->S(field)));
  EDITOR_OF(LIST);
  SetFocusTo(cardLineId(1));
}

// The 23 captions in their dialog: "Aceptar" takes them, "Cancelar" leaves them as they were.
void IDIOMA2::OTROS_DATOS() {
  CALL_LEVEL();
  std::vector<std::string> edited = CAPTIONS;
  const int answer = win::DIALOG_BOX("IDIOMA3", this,
                                     {[&](win::ModalDialog& d) {
                                        for (int i = 0; i < kCaptions; ++i)
                                          d.SetDlgItemText(501 + i, edited[size_t(i)]);
                                        d.SetFocusTo(501);
                                      },
                                      [&](win::ModalDialog& d) {
                                        for (int i = 0; i < kCaptions; ++i)
                                          edited[size_t(i)] = lib::trim(d.GetDlgItemText(501 + i));
                                        return true;
                                      }});
  if (answer == win::IDOK) CAPTIONS = edited;
}

void IDIOMA2::GUARDAR() {
  CALL_LEVEL();
  IDIOMAS->GoTo(RECNO);
  lib::MODIFY(*IDIOMAS, [&] {
    for (int line = 1; line <= 16; ++line)
      IDIOMAS->FieldPut("TREG_COM" + std::to_string(line), Value::chars(lib::trim(GetDlgItemText(cardLineId(line)))));
    IDIOMAS->FieldPut("TREG_COMP1", Value::chars(lib::trim(GetDlgItemText(509))));
    IDIOMAS->FieldPut("TREG_COMP2", Value::chars(lib::trim(GetDlgItemText(510))));
    IDIOMAS->FieldPut("ROT_TARIFA", Value::chars(lib::trim(GetDlgItemText(511))));
    for (int i = 0; i < kCaptions; ++i) IDIOMAS->FieldPut(kCardCaptions[i], Value::chars(CAPTIONS[size_t(i)]));
  });
  ENDDIALOG();
}

IDIOMA3::IDIOMA3(screens::LIST_SCREEN* list, const std::string& negocio, uint32_t recno, int kind)
    : SCREEN("ED_TXT_CF1", negocio), LIST(list), RECNO(recno), KIND(kind) {}

void IDIOMA3::INIT() {
  IDIOMAS = USE("IDIOMAS", "IDIOMAS");
  IDIOMAS->GoTo(RECNO);
  if (!Init(LIST, DIALOG)) return;
  ADD(std::make_unique<win::CLISTBOX>(this, 901));
  ADD(std::make_unique<win::WEDIT>(this, 501));
  ADD_BUTTON(win::IDOK, [this] { ACEPTAR(); });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  ADD_BUTTON(201, [this] { AGREGAR_CAMPO(); });
  CREATE(DIALOG);
  const std::string n = std::to_string(KIND);
  SetDlgItemText(502, lib::trim(IDIOMAS->S("ROT_CFREC" + n)));
  SetDlgItemText(501, IDIOMAS->S("TXT_CFREC" + n));
  win::CLISTBOX fields(this, 901);
  for (const MergeField& f : kMergeFields) fields.Add(f.caption, f.code);
  EDITOR_OF(LIST);
  SetFocusTo(502);
}

// The merge field chosen goes into the body where its cursor is.
void IDIOMA3::AGREGAR_CAMPO() {
  const std::string code = win::CLISTBOX(this, 901).CurCargo();
  if (code.empty()) return;
  win::WEDIT(this, 501).InsertAtCursor(code);
  SetFocusTo(501);
}

void IDIOMA3::ACEPTAR() {
  CALL_LEVEL();
  const std::string n = std::to_string(KIND);
  IDIOMAS->GoTo(RECNO);
  lib::MODIFY(*IDIOMAS, [&] {
    IDIOMAS->FieldPut("ROT_CFREC" + n, Value::chars(lib::trim(GetDlgItemText(502))));
    IDIOMAS->FieldPut("TXT_CFREC" + n, Value::chars(GetDlgItemText(501)));
  });
  ENDDIALOG();
}

}  // namespace guests
