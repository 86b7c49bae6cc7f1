#include "rates/enc_trel.h"

#include "lib/messages.h"
#include "lib/money.h"
#include "lib/picture.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/copia.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "screens/recode.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/message_box.h"

namespace rates {

namespace {

constexpr int kDetailGrid = 701, kRate = 601, kRoom = 602, kPercent = 1101, kAbsolute = 1102;
constexpr int kAdult = 500, kChild = 501;
constexpr const char* kOffset = "999,999,999.99";

// A renamed sub-type keeps its details and the agencies that name it.
const std::vector<screens::RecodeStep> kSubTypeReferences = {{"DET_TRL1", "CODIGO", "DET_TRL1"},
                                                             {"AGENCIAS", "COD_TREL", ""}};

const char* kindName(double tipo) { return tipo == 1 ? "Valores Absolutos" : "Valores Porcentuales"; }

}  // namespace

ENC_TREL::ENC_TREL(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"ENC_TREL",
                   "ENC_TREL",
                   kMenuId,
                   {{"Código", "CODIGO", std::string(15, '!'), 0, 8}, {"Descripción", "DESCRIP", std::string(40, 'X')}}}) {}

void ENC_TREL::BOTONES() {
  DETALLE = USE("DET_TRL1", "DET_TRL1");
  OB_DETALLE = std::make_unique<win::WBLISTBOX>(this, kDetailGrid, DETALLE, "ENC_TREL_701");
  ADD(OB_DETALLE.get());
  ADD_BUTTON(201, [this] { ADD_DET_TRL1(); });
  ADD_BUTTON(202, [this] { MOD_DET_TRL1(); });
  ADD_BUTTON(203, [this] { DEL_DET_TRL1(); });
}

void ENC_TREL::INIT() {
  LIST_SCREEN::INIT();
  if (!window()) return;
  win::WBLISTBOX& g = *OB_DETALLE;
  lib::WDBTable* d = DETALLE;
  win::AGREGARCOL(g, d, "Tipo Tarifa", "COD_RACK", "!!!!", {}, 0, false, 30);
  win::AGREGARCOL(g, d, "Tipo Room", "TIPO_ROM", "!!!!", {}, 0, false, 26);
  win::AGREGARCOL(g, d, "Tipo", "TIPO", std::string(20, 'X'), [d] { return lib::Value::chars(kindName(d->N("TIPO"))); }, 0,
                  true);
  win::AGREGARCOL(g, d, "Off Adulto", "VALOR_A", kOffset, {}, 2);
  win::AGREGARCOL(g, d, "Off Niño", "VALOR_N", kOffset, {}, 2);
  lib::SELECT(d->Area);
  g.useMaintenanceLook();
  BROWMARKS(g, {{1, "DET_TRL1"}}, 1, "---");
  g.doubleclick = [this](win::WBLISTBOX&) { MOD_DET_TRL1(); };
  OB->selectblock = [this](win::WBLISTBOX&) { MUESTRA_DETALLE(); };
  MUESTRA_DETALLE();
}

void ENC_TREL::MUESTRA_DETALLE() {
  const std::string scope = hasRecord() ? DETALLE->KeyPart("NEGOCIO", NEGOCIO) + DETALLE->KeyPart("CODIGO", TABLA->S("CODIGO"))
                                        : std::string("---");
  SET_SCOPE(*OB_DETALLE, scope, std::nullopt, true);
}

void ENC_TREL::CerrarBases() {
  if (OB_DETALLE) CLOSEBROWSE(*OB_DETALLE);
  LIST_SCREEN::CerrarBases();
  DETALLE = nullptr;
}

void ENC_TREL::ADD_ENC_TREL() {
  screens::OPEN<E_TREL>(this, NEGOCIO, E_TREL::kAdd);
}

void ENC_TREL::MOD_ENC_TREL() {
  if (hasRecord()) screens::OPEN<E_TREL>(this, NEGOCIO, E_TREL::kModify);
}

void ENC_TREL::DEL_ENC_TREL() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  if (win::MESSAGE_BOX(this, "Desea borrar el Sub-Tipo y todas sus definiciones?", "!!! ADVERTENCIA !!!",
                       lib::MB_OKCANCEL | lib::MB_ICONQUESTION) != lib::IDOK)
    return;
  const std::string code = TABLA->S("CODIGO");
  const uint32_t deleting = TABLA->RecNo();
  SIN_GRID([&] {
    BORRA_REGISTROS("DET_TRL1", "DET_TRL1", DETALLE->KeyPart("NEGOCIO", NEGOCIO) + DETALLE->KeyPart("CODIGO", code));
    TABLA->GoTo(deleting);
    lib::MODIFY(*TABLA, [&] { TABLA->Delete(); });
    TABLA->Skip();
  });
  REFRESCA(false);
  MUESTRA_DETALLE();
}

// The detail dialog on record `recno` of DET_TRL1 (0: a new detail of the sub-type under the
// cursor). A rate type and a room type are required, once each pair within the sub-type.
bool ENC_TREL::E_DTRL1(uint32_t recno) {
  const std::string code = TABLA->S("CODIGO");
  auto details = lib::USE(nullptr, "DET_TRL1", "DET_TRL1");
  bool saved = false;
  win::DIALOG_BOX(
      "E_DTRL1", this,
      {[&](win::ModalDialog& d) {
         screens::LOAD_LISTA(d, {kRate}, "ENC_RACK", "ENC_RACK", NEGOCIO);
         screens::LOAD_LISTA(d, {kRoom}, "TIPO_ROM", "TIPO_ROM", NEGOCIO);
         if (recno) details->GoTo(recno);
         win::CCOMBOBOX rate(&d, kRate), room(&d, kRoom);
         if (recno) {
           screens::SEEK_CODIGO(rate, details->S("COD_RACK"));
           screens::SEEK_CODIGO(room, details->S("TIPO_ROM"));
         }
         const bool absolute = recno && details->N("TIPO") == 1;
         d.CheckDlgButton(kPercent, !absolute);
         d.CheckDlgButton(kAbsolute, absolute);
         d.SetDlgItemText(kAdult, lib::TRANSFORM_NUMBER(recno ? details->N("VALOR_A") : 0.0, kOffset));
         d.SetDlgItemText(kChild, lib::TRANSFORM_NUMBER(recno ? details->N("VALOR_N") : 0.0, kOffset));
         d.SetFocusTo(kRate);
       },
       [&](win::ModalDialog& d) {
         const std::string rate = lib::trim(win::CCOMBOBOX(&d, kRate).CurCargo());
         const std::string room = lib::trim(win::CCOMBOBOX(&d, kRoom).CurCargo());
         auto refuse = [&](const std::string& text, int focus) {
           screens::error(text);
           d.SetFocusTo(focus);
           return false;
         };
         if (rate.empty()) return refuse("Debe seleccionar el Tipo de Tarifa", kRate);
         if (room.empty()) return refuse("Debe seleccionar el Tipo de Room", kRoom);
         const std::string key = details->KeyPart("NEGOCIO", NEGOCIO) + details->KeyPart("CODIGO", code) +
                                 details->KeyPart("COD_RACK", rate) + details->KeyPart("TIPO_ROM", room);
         if (details->Seek(key) && details->RecNo() != recno) return refuse("Código Ya definido...", kRate);
         auto fill = [&] {
           details->FieldPut("COD_RACK", lib::Value::chars(rate));
           details->FieldPut("TIPO_ROM", lib::Value::chars(room));
           details->FieldPut("TIPO", lib::Value::num(d.IsDlgButtonChecked(kAbsolute) ? 1 : 0));
           for (auto [id, field] : {std::pair{kAdult, "VALOR_A"}, std::pair{kChild, "VALOR_N"}})
             details->FieldPut(field, lib::Money::parse(d.GetDlgItemText(id)).value_or(lib::Money()).rounded(2));
         };
         if (recno) {
           details->GoTo(recno);
           lib::MODIFY(*details, fill);
         } else {
           lib::ADD(*details, [&] {
             details->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
             details->FieldPut("CODIGO", lib::Value::chars(code));
             fill();
           });
         }
         recno = details->RecNo();
         saved = true;
         return true;
       }});
  if (saved) {
    MUESTRA_DETALLE();
    DETALLE->GoTo(recno);
    OB_DETALLE->SHOWDATA();
  }
  return saved;
}

void ENC_TREL::ADD_DET_TRL1() {
  CALL_LEVEL();
  if (hasRecord()) E_DTRL1(0);
}

void ENC_TREL::MOD_DET_TRL1() {
  CALL_LEVEL();
  if (hasRecord() && OB_DETALLE->nMaxRec > 0 && !DETALLE->Eof()) E_DTRL1(DETALLE->RecNo());
}

void ENC_TREL::DEL_DET_TRL1() {
  CALL_LEVEL();
  if (!hasRecord() || OB_DETALLE->nMaxRec == 0 || DETALLE->Eof()) return;
  if (!screens::confirm("Desea borrar el Detalle?")) return;
  lib::MODIFY(*DETALLE, [&] { DETALLE->Delete(); });
  MUESTRA_DETALLE();
}

E_TREL::E_TREL(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "E_TREL", negocio, mode) {}

void E_TREL::BIND() {
  FORM_.UPPER(500, REGISTRO, "CODIGO");
  FORM_.TRIMMED(501, REGISTRO, "DESCRIP");
}

bool E_TREL::MODIFICA(const std::string& code) {
  REGISTRO->GoTo(XRECNO);
  const std::string oldCode = lib::trim(REGISTRO->S("CODIGO"));
  screens::CascadeReport report;
  if (oldCode != code) report = screens::RECODIFICA(kSubTypeReferences, NEGOCIO, oldCode, code);
  EDITOR::MODIFICA(code);
  screens::AVISA_FALTANTES(report);
  if (auto* list = dynamic_cast<ENC_TREL*>(LISTA)) list->MUESTRA_DETALLE();
  return true;
}

}  // namespace rates
