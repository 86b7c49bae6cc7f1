#include "rates/e_td_tem.h"

#include <QtCore/Qt>

#include "lib/program_time.h"
#include "lib/rate_calendar.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/tar_dina.h"
#include "screens/messages.h"

namespace rates {

namespace {

constexpr int kName = 500, kStart = 501, kEnd = 502;
constexpr const char* kAmount = "999,999,999.99";
// The drawing columns edited in place: "Valor", "Piso", "Techo".
constexpr int kValue = 3, kFloor = 5, kCeiling = 6;

}  // namespace

std::string TIPO_VALOR(int tipo) {
  return tipo == 0 ? "%" : tipo == 1 ? "N" : "?";
}

std::string REDONDEO_VALOR(int redondeo) {
  static const char* const names[] = {"Exacto", ".10", ".25", ".50", ".00"};
  return redondeo >= 0 && redondeo <= 4 ? names[redondeo] : "?";
}

E_TD_TEM::E_TD_TEM(TAR_DINA* tree, const std::string& negocio, const std::string& rack, uint32_t recno)
    : SCREEN("E_TD_TEM", negocio), tree_(tree), RACK(rack), XRECNO(recno) {}

void E_TD_TEM::INIT() {
  rows_ = lib::USE(this, "T_TDTEM.DBF", "T_TDTEM");
  if (!Init(tree_, DIALOG)) return;
  OB = std::make_unique<win::WBLISTBOX>(this, 700, rows_.get(), "E_TD_TEM");
  ADD(OB.get());
  ADD_BUTTON(win::IDOK, [this] { GRABAR(); });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE(DIALOG);
  lib::WDBTable* t = rows_.get();
  win::AGREGARCOL(*OB, t, "Código", "TIPO_ROM", "!!!!", {}, 0, false, 12);
  win::AGREGARCOL(*OB, t, "Descripción", "DESCRIP", std::string(18, 'X'));
  win::AGREGARCOL(*OB, t, "Valor", "VALOR", kAmount, {}, 2);
  win::AGREGARCOL(*OB, t, "Tipo", "TIPO", "", [t] { return lib::Value::chars(TIPO_VALOR(int(t->N("TIPO")))); }, 0, true,
                  16);
  win::AGREGARCOL(*OB, t, "Piso", "PISO", kAmount, {}, 2);
  win::AGREGARCOL(*OB, t, "Techo", "TECHO", kAmount, {}, 2);
  win::AGREGARCOL(*OB, t, "Round", "REDONDEO", "",
                  [t] { return lib::Value::chars(REDONDEO_VALOR(int(t->N("REDONDEO")))); }, 0, true, 24);
  win::AGREGARCOL(*OB, t, "Acción", "NUM_REC", "",
                  [t] { return lib::Value::chars(t->N("NUM_REC") == 0 ? "Agregar" : "Modificar"); }, 0, true, 30);
  lib::SELECT(t->Area);
  OB->useMaintenanceLook();
  win::BrowMarksOptions options;
  options.noRefresh = true;
  options.searchDisabled = true;  // typing on a value edits it
  BROWMARKS(*OB, {{1, "T_TDTEM"}}, 1, "", options);
  OB->keyBlock = [this](win::WBLISTBOX& grid, int key, const std::string& text) { return TECLA(grid, key, text); };
  CARGAR();
  EDITOR_OF(tree_);
  SetFocusTo(kName);
}

void E_TD_TEM::CerrarBases() {
  if (OB) CLOSEBROWSE(*OB);
  lib::KILLTABLA(rows_);
  SCREEN::CerrarBases();
}

// One row per room type, with the season's stored values (zeros when it has none).
void E_TD_TEM::CARGAR() {
  auto seasons = lib::USE(nullptr, "TD_E_TEM", "TD_E_TEM");
  if (XRECNO) {
    seasons->GoTo(XRECNO);
    codigo_ = lib::trim(seasons->S("CODIGO"));
    SetDlgItemText(kName, lib::trim(seasons->S("DESCRIP")));
    SetDlgItemText(kStart, lib::FECHA_LARGA(seasons->D("F_INICIO")));
    SetDlgItemText(kEnd, lib::FECHA_LARGA(seasons->D("F_FINAL")));
  }
  auto values = lib::USE(nullptr, "TD_D_TEM", "TD_D_TEM");
  const std::string head = values->KeyPart("NEGOCIO", NEGOCIO) + values->KeyPart("COD_RACK", RACK) +
                           values->KeyPart("CODIGO", codigo_);
  lib::WDBTable& rows = *rows_;
  lib::EACH_RECORD("TIPO_ROM", "TIPO_ROM", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& type) {
    const bool stored = !codigo_.empty() && values->Seek(head + values->KeyPart("TIPO_ROM", type.S("CODIGO")));
    lib::ADD(rows, [&] {
      rows.FieldPut("NUM_REC", lib::Value::num(stored ? values->RecNo() : 0));
      rows.FieldPut("TIPO_ROM", lib::Value::chars(type.S("CODIGO")));
      rows.FieldPut("DESCRIP", lib::Value::chars(type.S("DESCRIP")));
      for (const char* f : {"VALOR", "PISO", "TECHO"}) rows.FieldPut(f, stored ? values->M(f) : lib::Money());
      for (const char* f : {"TIPO", "REDONDEO"}) rows.FieldPut(f, lib::Value::num(stored ? values->N(f) : 0));
    });
  });
  OB->CountScope();
  OB->GOTOP();
  OB->colPos = kValue;
  OB->GoToRow(1);
  OB->REFRESHALL();
}

bool E_TD_TEM::TECLA(win::WBLISTBOX& grid, int key, const std::string& text) {
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  const bool typed = !text.empty() && std::isalnum(static_cast<unsigned char>(text[0]));
  if (key >= Qt::Key_F2 && key <= Qt::Key_F12) return true;
  if ((!enter && !typed) || grid.nMaxRec == 0) return false;
  if (grid.colPos != kValue && grid.colPos != kFloor && grid.colPos != kCeiling) return false;
  lib::MODIFY(*rows_, [&] { Editar(*rows_, grid, 0, key, text, this); });
  grid.GoToRow(std::min(grid.nCurRec + 1, grid.nMaxRec));
  return true;
}

void E_TD_TEM::GRABAR() {
  CALL_LEVEL_AS(routine("GRABAR"));
  const lib::TypedDate start = lib::readDate(GetDlgItemText(kStart));
  const lib::TypedDate end = lib::readDate(GetDlgItemText(kEnd));
  if (start.unreadable || !start.julian) {
    screens::error("Fecha inválida");
    SetFocusTo(kStart);
    return;
  }
  if (end.unreadable || !end.julian) {
    screens::error("Fecha inválida");
    SetFocusTo(kEnd);
    return;
  }
  const std::string code = CODIGO_TEMPORADA(start.julian, end.julian);
  auto seasons = lib::USE(nullptr, "TD_E_TEM", "TD_E_TEM");
  const std::string key = seasons->KeyPart("NEGOCIO", NEGOCIO) + seasons->KeyPart("COD_RACK", RACK);
  if (seasons->Seek(key + seasons->KeyPart("CODIGO", code)) && seasons->RecNo() != XRECNO) {
    screens::error("Código Ya definido...");
    SetFocusTo(kStart);
    return;
  }
  auto fill = [&] {
    seasons->FieldPut("CODIGO", lib::Value::chars(code));
    seasons->FieldPut("DESCRIP", lib::Value::chars(lib::trim(GetDlgItemText(kName))));
    seasons->FieldPut("F_INICIO", lib::Value::date(start.julian));
    seasons->FieldPut("F_FINAL", lib::Value::date(end.julian));
  };
  if (XRECNO) {
    seasons->GoTo(XRECNO);
    lib::MODIFY(*seasons, fill);
  } else {
    lib::ADD(*seasons, [&] {
      seasons->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
      seasons->FieldPut("COD_RACK", lib::Value::chars(RACK));
      fill();
    });
  }
  auto values = lib::USE(nullptr, "TD_D_TEM", "TD_D_TEM");
  lib::WDBTable& rows = *rows_;
  for (rows.GoTop(); !rows.Eof(); rows.Skip()) {
    auto put = [&] {
      values->FieldPut("CODIGO", lib::Value::chars(code));
      for (const char* f : {"VALOR", "PISO", "TECHO"}) values->FieldPut(f, rows.M(f));
      for (const char* f : {"TIPO", "REDONDEO"}) values->FieldPut(f, lib::Value::num(rows.N(f)));
    };
    if (const uint32_t stored = uint32_t(rows.N("NUM_REC"))) {
      values->GoTo(stored);
      lib::MODIFY(*values, put);
    } else {
      lib::ADD(*values, [&] {
        values->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
        values->FieldPut("COD_RACK", lib::Value::chars(RACK));
        values->FieldPut("TIPO_ROM", lib::Value::chars(rows.S("TIPO_ROM")));
        put();
      });
    }
  }
  tree_->LOAD_TREE("S:" + RACK + "|" + code);
  ENDDIALOG();
}

}  // namespace rates
