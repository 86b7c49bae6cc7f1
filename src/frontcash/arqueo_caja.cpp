#include "frontcash/arqueo_caja.h"

#include <QKeyEvent>

#include <cctype>

#include "frontcash/folio_posting.h"
#include "frontcash/register_open_close.h"
#include "frontcash/station_register.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"

namespace frontcash {

namespace {

constexpr const char* kAmount = "999,999,999.99";
constexpr int kCounted = 700, kExpected = 701, kDifference = 702;
constexpr int kAmountColumn = 3;
constexpr int kFromDate = 502, kFromTime = 503, kToDate = 504, kToTime = 505;

using lib::Value;

// "HH:MM:SS" of a time of day.
bool horaValida(const std::string& text) {
  if (text.size() != 8 || text[2] != ':' || text[5] != ':') return false;
  for (int i : {0, 1, 3, 4, 6, 7})
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  auto part = [&](int at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); };
  return part(0) < 24 && part(3) < 60 && part(6) < 60;
}

void columns(win::WBLISTBOX& grid, lib::WDBTable* t, const char* amountField) {
  win::AGREGARCOL(grid, t, "M", "SIMBOLO", "XXXXX");
  win::AGREGARCOL(grid, t, " ", "DESCRIP", std::string(24, 'X'));
  win::AGREGARCOL(grid, t, "Monto", amountField, kAmount, {}, 2);
}

}  // namespace

ARQUEO_CAJA::ARQUEO_CAJA(const std::string& dialog, const std::string& negocio, std::string caja, Period start,
                         uint32_t periodRecno, win::WDIAG* owner)
    : SCREEN(dialog, negocio), caja_(std::move(caja)), start_(std::move(start)), period_(periodRecno), owner_(owner) {}

void ARQUEO_CAJA::INIT() {
  rows_ = SALDO_ESPERADO(NEGOCIO, caja_, start_);
  if (!PREPARA()) return;
  CONTADO = USE("TMP_VLTO.CNF", "TMP_1");
  SALDO = USE("TMP_VLTO.CNF", "TMP_1");
  FALTANTE = USE("TMP_VLTO.CNF", "TMP_1");
  LLENA();
  if (!Init(nullptr, DIALOG)) return;
  OB = std::make_unique<win::WBLISTBOX>(this, kCounted, CONTADO);
  OB2 = std::make_unique<win::WBLISTBOX>(this, kExpected, SALDO);
  OB3 = std::make_unique<win::WBLISTBOX>(this, kDifference, FALTANTE);
  for (win::WBLISTBOX* grid : {OB.get(), OB2.get(), OB3.get()}) ADD(grid);
  ADD_BUTTON(win::IDOK, [this] { PROCESAR(); });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE(DIALOG);
  columns(*OB, CONTADO, "MONTO");
  columns(*OB2, SALDO, "MONTO2");
  columns(*OB3, FALTANTE, "MONTO");
  win::BrowMarksOptions options;
  options.searchDisabled = true;
  for (auto [grid, table] : {std::pair{OB.get(), CONTADO}, {OB2.get(), SALDO}, {OB3.get(), FALTANTE}}) {
    lib::SELECT(table->Area);
    grid->useMaintenanceLook();
    BROWMARKS(*grid, {{1, "TMP_1"}}, 1, "", options);
  }
  lib::SELECT(CONTADO->Area);
  OB->keyBlock = [this](win::WBLISTBOX&, int key, const std::string& text) { return TECLA(key, text); };
  OB->doubleclick = [this](win::WBLISTBOX&) { TECLA(Qt::Key_Return, ""); };
  OB2->keyBlock = OB3->keyBlock = [this](win::WBLISTBOX&, int key, const std::string&) {
    if (key != Qt::Key_F12) return false;
    PROCESAR();
    return true;
  };
  CAMPOS();
  if (owner_) EDITOR_OF(owner_);
  OB->colPos = OB->DrawPosition(kAmountColumn);
  SetFocusTo(kCounted);
}

void ARQUEO_CAJA::CerrarBases() {
  for (auto* grid : {OB.get(), OB2.get(), OB3.get()})
    if (grid) CLOSEBROWSE(*grid);
  SCREEN::CerrarBases();
  CONTADO = SALDO = FALTANTE = nullptr;
}

// One row per currency in each of the three sets: nothing counted yet, the balance
// expected, and so a difference of minus the balance.
void ARQUEO_CAJA::LLENA() {
  for (const CountRow& row : rows_)
    for (lib::WDBTable* t : {CONTADO, SALDO, FALTANTE})
      lib::ADD(*t, [&] {
        t->FieldPut("SIMBOLO", Value::chars(row.simbolo));
        t->FieldPut("MONEDA", Value::chars(row.moneda));
        t->FieldPut("DESCRIP", Value::chars(row.descrip));
        if (t == SALDO) t->FieldPut("MONTO2", row.expected);
        if (t == FALTANTE) t->FieldPut("MONTO", row.difference());
      });
  for (lib::WDBTable* t : {CONTADO, SALDO, FALTANTE}) t->GoTop();
}

lib::Money ARQUEO_CAJA::CONTADO_DE(const std::string& moneda) const {
  lib::Money amount;
  if (CONTADO && CONTADO->Seek(lib::padded(moneda, 2))) amount = CONTADO->M("MONTO");
  return amount;
}

// A letter or digit, or Enter, edits the counted amount of the row in place; its
// difference follows and the cursor moves to the next currency. F12 processes.
bool ARQUEO_CAJA::TECLA(int qtKey, const std::string& text) {
  if (qtKey == Qt::Key_F12) {
    PROCESAR();
    return true;
  }
  const bool typed = !text.empty() && std::isalnum(static_cast<unsigned char>(text[0]));
  if (!typed && qtKey != Qt::Key_Return && qtKey != Qt::Key_Enter) return false;
  if (processed_ || !CONTADO || CONTADO->Eof() || OB->nMaxRec == 0) return false;
  OB->colPos = OB->DrawPosition(kAmountColumn);
  CONTADO->GoTo(OB->nCRecNo);
  const std::string moneda = CONTADO->S("MONEDA");
  const uint32_t row = OB->nCurRec;
  lib::MODIFY(*CONTADO, [&] { win::EDITCELL().Editar(*CONTADO, *OB, 0, qtKey, text, this); });
  DIFERENCIA(moneda);
  OB->REFRESHALL();
  if (row < OB->nMaxRec) OB->GoToRow(row + 1);
  OB->colPos = OB->DrawPosition(kAmountColumn);
  return true;
}

void ARQUEO_CAJA::DIFERENCIA(const std::string& moneda) {
  const std::string key = lib::padded(moneda, 2);
  if (!CONTADO->Seek(key) || !SALDO->Seek(key) || !FALTANTE->Seek(key)) return;
  const lib::Money difference = CONTADO->M("MONTO") - SALDO->M("MONTO2");
  lib::MODIFY(*FALTANTE, [&] { FALTANTE->FieldPut("MONTO", difference); });
  lib::SELECT(CONTADO->Area);
  OB3->REFRESHALL();
}

// The count is recorded once: a second OK (or F12) finds it done.
void ARQUEO_CAJA::PROCESAR() {
  CALL_LEVEL_AS(routine("PROCESAR"));
  if (processed_) return;
  std::vector<CountRow> rows = rows_;
  for (CountRow& row : rows) row.counted = CONTADO_DE(row.moneda);
  if (!PERIODO_SIGUE_ABIERTO(period_)) {
    processed_ = true;
    screens::error("Actualmente no se encuentra abierta esta caja.");
    ENDDIALOG();
    return;
  }
  // The differences go to the register folio, numbered from the hotel's folio series: with
  // no series nothing is written and the count can be taken again once it exists.
  if (!FOLIO_CAJA_POSIBLE(NEGOCIO, caja_, start_)) {
    screens::error("No existe el serial de folios de los parámetros del hotel: no se puede abrir el folio de la caja");
    return;
  }
  if (!GRABA(rows)) return;
  processed_ = true;
  ENDDIALOG();
}

HCAJAS4::HCAJAS4(const std::string& negocio, std::string caja, Period start, uint32_t registerRecno,
                 uint32_t periodRecno, win::WDIAG* owner)
    : ARQUEO_CAJA("HCAJAS4", negocio, std::move(caja), std::move(start), periodRecno, owner),
      register_(registerRecno) {}

// Without a count the register closes on the balances it should hold.
bool HCAJAS4::PREPARA() {
  if (screens::confirm("¿Desea realizar arqueo de caja?")) return true;
  if (!FOLIO_CAJA_POSIBLE(NEGOCIO, caja_, start_)) {
    screens::error("No existe el serial de folios de los parámetros del hotel: no se puede abrir el folio de la caja");
    return false;
  }
  CIERRE_CON_ARQUEO(NEGOCIO, caja_, period_, rows_, false);
  LIBERA_CAJA();
  screens::notice("Fin de Proceso");
  return false;
}

bool HCAJAS4::GRABA(const std::vector<CountRow>& rows) {
  CIERRE_CON_ARQUEO(NEGOCIO, caja_, period_, rows, true);
  LIBERA_CAJA();
  return true;
}

HCAJAS5::HCAJAS5(const std::string& negocio, std::string caja, Period start, uint32_t periodRecno, win::WDIAG* owner)
    : ARQUEO_CAJA("HCAJAS5", negocio, std::move(caja), std::move(start), periodRecno, owner) {}

void HCAJAS5::CAMPOS() {
  const std::string today = lib::DTOC(lib::XDATE()), now = lib::XTIME();
  SetDlgItemText(kFromDate, today);
  SetDlgItemText(kFromTime, now);
  SetDlgItemText(kToDate, today);
  SetDlgItemText(kToTime, now);
}

bool HCAJAS5::GRABA(const std::vector<CountRow>& rows) {
  Period span[2];
  const int fields[2][2] = {{kFromDate, kFromTime}, {kToDate, kToTime}};
  for (int i = 0; i < 2; ++i) {
    const lib::TypedDate date = lib::readDate(GetDlgItemText(fields[i][0]));
    if (date.unreadable || date.empty()) {
      screens::error("Fecha inválida");
      SetFocusTo(fields[i][0]);
      return false;
    }
    const std::string time = lib::trim(GetDlgItemText(fields[i][1]));
    if (!horaValida(time)) {
      screens::error("Hora inválida (hh:mm:ss)");
      SetFocusTo(fields[i][1]);
      return false;
    }
    span[i] = {date.julian, time};
  }
  const std::string refused = ARQUEO_ADICIONAL(NEGOCIO, caja_, period_, span[0], span[1], rows);
  if (!refused.empty()) {
    screens::error(refused);
    SetFocusTo(refused.find("fecha") != std::string::npos ? kFromDate : kFromTime);
    return false;
  }
  return true;
}

}  // namespace frontcash
