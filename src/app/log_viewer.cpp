#include "app/log_viewer.h"

#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "xbase/date.h"

namespace app {

namespace {

using lib::Value;

constexpr int kFrom = 501, kTo = 502, kUser = 503, kStation = 504, kCount = 505;
constexpr int kFilter = 101, kDetail = 102, kAction = 103;
constexpr int kDetailText = 500;
constexpr int32_t kDefaultDays = 30;
const std::string kWorkTable = "TMP_LOG.CNF";

bool contains(const std::string& text, const std::string& wanted) {
  return wanted.empty() || lib::upper(text).find(lib::upper(wanted)) != std::string::npos;
}

// CR LF, LF or CR line ends, as the edit shows them.
std::string asLines(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::string reportLine(const std::string& report, const std::string& label) {
  size_t at = report.find(label);
  if (at == std::string::npos) return "";
  at += label.size();
  size_t end = report.find_first_of("\r\n", at);
  return lib::trim(report.substr(at, end == std::string::npos ? std::string::npos : end - at));
}

LOG_VIEWER::LOG_VIEWER(LogDefinition definition, const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio, {kWorkTable, "TMP_LOG", 0, {}, true}), log_(std::move(definition)) {}

void LOG_VIEWER::INIT() {
  LIST_SCREEN::INIT();
  if (!window()) return;
  FIX_OBJ(kCount, 2);
  FIX_OBJ(kDetail, 3);
  if (HasControl(kAction)) FIX_OBJ(kAction, 3);
  // A month up to the newest record.
  LOG->GoBottom();
  if (!LOG->Eof()) SetDlgItemText(kFrom, lib::DTOC(LOG->D("FECHA") - kDefaultDays));
  FILTRAR();
}

void LOG_VIEWER::AbrirBases() {
  LIST_SCREEN::AbrirBases();
  LOG = USE(log_.table, log_.table);
}

void LOG_VIEWER::BOTONES() {
  for (int id : {kFrom, kTo, kUser, kStation}) ADD(std::make_unique<win::WEDIT>(this, id));
  ADD_BUTTON(kFilter, [this] { FILTRAR(); });
  ADD_BUTTON(kDetail, [this] { DETALLE(); });
  if (HasControl(kAction)) {
    if (log_.action)
      ADD_BUTTON(kAction, [this] { ACCION(); });
    else
      ShowItem(kAction, false);
  }
}

void LOG_VIEWER::MontarColumnas() {
  lib::WDBTable* t = TABLA;
  win::AGREGARCOL(*OB, t, "Fecha", "FECHA");
  win::AGREGARCOL(*OB, t, "Hora", "HORA");
  auto column = [&](const std::string& heading, const char* field, int width) {
    if (!heading.empty()) win::AGREGARCOL(*OB, t, heading, field, "@X " + std::string(size_t(width), 'X'));
  };
  column(log_.userHeading, "USUARIO", log_.userWidth);
  column(log_.workstationHeading, "ESTACION", log_.workstationWidth);
  column(log_.textHeading, "TEXTO", log_.textWidth);
  column(log_.otherHeading, "OTRO", log_.otherWidth);
  column(log_.stateHeading, "ESTADO", 10);
}

// The working table holds only what was asked for: no scope, newest first.
void LOG_VIEWER::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  win::BrowMarksOptions options;
  options.searchDisabled = true;
  BROWMARKS(*OB, {{1, "TMP_LOG"}}, 1, "", options);
}

bool LOG_VIEWER::FILTRAR() {
  CALL_LEVEL_AS(routine("FILTRAR"));
  const lib::TypedDate from = lib::readDate(GetDlgItemText(kFrom)), to = lib::readDate(GetDlgItemText(kTo));
  for (auto [date, id] : {std::pair{from, kFrom}, std::pair{to, kTo}})
    if (date.unreadable) {
      screens::error("Fecha inválida");
      SetFocusTo(id);
      return false;
    }
  if (from.julian && to.julian && from.julian > to.julian) {
    screens::error("La fecha inicial es posterior a la final");
    SetFocusTo(kFrom);
    return false;
  }
  const std::string user = lib::trim(GetDlgItemText(kUser)), station = lib::trim(GetDlgItemText(kStation));
  lib::WDBTable& work = *TABLA;
  lib::WDBTable& log = *LOG;
  SIN_GRID([&] {
    // The working table is this workstation's alone (opened exclusively).
    work.SetOrder("");
    for (work.GoTop(); !work.Eof(); work.Skip()) work.Delete();
    work.Pack();
    work.SetOrder("TMP_LOG");
    log.SetOrder(log_.table);
    if (from.julian)
      log.Seek(xbase::dtos(from.julian), true);
    else
      log.GoTop();
    for (; !log.Eof(); log.Skip()) {
      const int32_t date = log.D("FECHA");
      if (to.julian && date > to.julian) break;
      const LogRow row = log_.row(log);
      if (!contains(row.user, user) || !contains(row.workstation, station)) continue;
      lib::ADD(work, [&] {
        work.FieldPut("FECHA", Value::date(date));
        work.FieldPut("HORA", Value::chars(log.S("HORA")));
        work.FieldPut("USUARIO", Value::chars(row.user));
        work.FieldPut("ESTACION", Value::chars(row.workstation));
        work.FieldPut("TEXTO", Value::chars(row.text));
        work.FieldPut("OTRO", Value::chars(row.other));
        work.FieldPut("ESTADO", Value::chars(row.state));
        work.FieldPut("ORIGEN", Value::num(log.RecNo()));
      });
    }
  });
  OB->GOTOP();
  OB->REFRESHALL();
  showCount();
  return true;
}

void LOG_VIEWER::showCount() {
  const uint32_t n = OB->nMaxRec;
  SetDlgItemText(kCount, n == 1 ? "1 registro" : std::to_string(n) + " registros");
}

bool LOG_VIEWER::onOriginal(lib::WDBTable& log) const {
  if (!hasRecord()) return false;
  const uint32_t recno = uint32_t(TABLA->N("ORIGEN"));
  log.GoTo(recno);
  return !log.Eof() && log.RecNo() == recno;
}

void LOG_VIEWER::DETALLE() {
  CALL_LEVEL_AS(routine("DETALLE"));
  if (!onOriginal(*LOG)) return;
  const std::string text = asLines(log_.detail(*LOG));
  const std::string caption = Caption() + " - " + lib::DTOC(LOG->D("FECHA")) + " " + LOG->S("HORA");
  win::DIALOG_BOX("LOG_DETALLE", this,
                  {[&](win::ModalDialog& d) {
                     d.SetCaption(caption);
                     d.SetDlgItemText(kDetailText, text);
                     d.SetFocusTo(win::IDOK);
                   },
                   {}});
}

void LOG_VIEWER::ACCION() {
  CALL_LEVEL_AS(routine("ACCION"));
  if (!log_.action || !onOriginal(*LOG)) return;
  if (!log_.action(*LOG)) return;
  // The record changed: its row shows it.
  const uint32_t shown = TABLA->RecNo();
  const LogRow row = log_.row(*LOG);
  lib::MODIFY(*TABLA, [&] { TABLA->FieldPut("ESTADO", Value::chars(row.state)); });
  REFRESCA(false, shown);
}

}  // namespace app
